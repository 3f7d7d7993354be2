#include "search/shuffled_control.h"

#include "history/history_shuffle.h"
#include "search/random_stream.h"

#include <boost/math/distributions/binomial.hpp>

namespace qeltaro {

ShuffledControl compareWithShuffled(std::uint64_t verified, std::uint64_t realPasses, std::uint64_t shuffledPasses)
{
    ShuffledControl control{verified, realPasses, shuffledPasses, 1.0};
    const std::uint64_t total = realPasses + shuffledPasses;
    if (total > 0 && realPasses > 0) {
        const boost::math::binomial_distribution<double> even(double(total), 0.5);
        control.pValue = boost::math::cdf(boost::math::complement(even, double(realPasses - 1)));
    }
    return control;
}

HistoryColumns controlHistory(const HistoryColumns& history, std::uint64_t runSeed, int fromRow)
{
    return shuffledHistory(history, deriveSeed(runSeed, 0x434F4E54524F4Cull), fromRow);
}

QString realPassRateLabel()
{
    return QStringLiteral("真实历史通过率");
}

QString shuffledPassRateLabel()
{
    return QStringLiteral("打乱历史通过率");
}

QString passRateText(double rate)
{
    return QString::number(rate * 100.0, 'g', 4) + QLatin1Char('%');
}

QString shuffledControlVerdict(const ShuffledControl& control)
{
    if (control.realPasses == 0 && control.shuffledPasses == 0)
        return {};
    if (control.informative())
        return QStringLiteral("真实历史的通过率明显高于打乱历史，找到的公式可能含有关于下期的信息（仍请用留出期数检验）。");
    return QStringLiteral("真实历史与打乱历史的通过率相近：找到的公式并不比随机公式更能预测下期。");
}

}  // namespace qeltaro
