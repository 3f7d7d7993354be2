#include "holdout_output.h"

#include <cmath>

namespace qeltaro::cli {

QJsonObject holdoutJson(const HoldoutResult& h)
{
    QJsonObject json{{QStringLiteral("hits"), h.hits},
                     {QStringLiteral("trials"), h.trials},
                     {QStringLiteral("rate"), std::round(h.rate() * 1e6) / 1e6},
                     {QStringLiteral("chance"), std::round(h.chance * 1e6) / 1e6},
                     {QStringLiteral("beats_chance"), h.beatsChance}};
    // No trial (no digit named on a held-out period): nothing was tested, so no p-value.
    if (h.trials > 0)
        json.insert(QStringLiteral("p_value"), h.pValue);
    return json;
}

QString holdoutHeader()
{
    return QStringLiteral("留出期命中率\t随机命中率\tp值\t高于随机");
}

QString holdoutColumns(const HoldoutResult& h)
{
    if (h.trials == 0)
        return QStringLiteral("—（0/0）\t%1%\t—\t否").arg(h.chance * 100, 0, 'f', 2);
    return QStringLiteral("%1%（%2/%3）\t%4%\t%5\t%6")
        .arg(h.rate() * 100, 0, 'f', 2)
        .arg(h.hits)
        .arg(h.trials)
        .arg(h.chance * 100, 0, 'f', 2)
        .arg(h.pValue, 0, 'g', 3)
        .arg(h.beatsChance ? QStringLiteral("是") : QStringLiteral("否"));
}

}  // namespace qeltaro::cli
