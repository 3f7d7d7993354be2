#include "holdout_output.h"

#include <cmath>

namespace qeltaro::cli {

QJsonObject holdoutJson(const HoldoutResult& h)
{
    return {{QStringLiteral("hits"), h.hits},
            {QStringLiteral("trials"), h.trials},
            {QStringLiteral("rate"), std::round(h.rate() * 1e6) / 1e6},
            {QStringLiteral("chance"), std::round(h.chance * 1e6) / 1e6},
            {QStringLiteral("p_value"), h.pValue},
            {QStringLiteral("beats_chance"), h.beatsChance}};
}

QString holdoutHeader()
{
    return QStringLiteral("留出期命中率\t随机命中率\tp值\t高于随机");
}

QString holdoutColumns(const HoldoutResult& h)
{
    return QStringLiteral("%1%（%2/%3）\t%4%\t%5\t%6")
        .arg(h.rate() * 100, 0, 'f', 2)
        .arg(h.hits)
        .arg(h.trials)
        .arg(h.chance * 100, 0, 'f', 2)
        .arg(h.pValue, 0, 'g', 3)
        .arg(h.beatsChance ? QStringLiteral("是") : QStringLiteral("否"));
}

}  // namespace qeltaro::cli
