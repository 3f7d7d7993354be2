#include "search/best_rates.h"

#include <cmath>

namespace qeltaro {

QString bestRealRateLabel()
{
    return QStringLiteral("最优公式正确率");
}

QString bestShuffledRateLabel()
{
    return QStringLiteral("打乱历史中最优正确率");
}

QString bestRateText(const std::optional<float>& rate)
{
    if (!rate)
        return QStringLiteral("—");
    return QString::number(double(*rate), 'f', 4) + QLatin1Char('%');
}

double roundedRate(float rate)
{
    return std::round(double(rate) * 10000.0) / 10000.0;
}

void insertBestRates(QJsonObject& object, const BestRates& best)
{
    const auto json = [](const std::optional<float>& rate) { return rate ? QJsonValue(roundedRate(*rate)) : QJsonValue(); };
    object.insert(QStringLiteral("best_real_rate"), json(best.real));
    object.insert(QStringLiteral("best_shuffled_rate"), json(best.shuffled));
}

}  // namespace qeltaro
