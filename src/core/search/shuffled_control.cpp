#include "search/shuffled_control.h"

#include "domain/random_stream.h"
#include "history/history_shuffle.h"

#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>

namespace qeltaro {

std::uint64_t copyShare(std::uint64_t verified, size_t copy, size_t copies)
{
    if (copies == 0)
        return 0;
    return verified / copies + (copy < verified % copies ? 1 : 0);
}

ShuffledControl compareWithShuffled(std::uint64_t verified, std::uint64_t realPasses,
                                    const std::vector<std::uint64_t>& passesByCopy)
{
    std::vector<std::uint64_t> verifiedByCopy;
    for (size_t copy = 0; copy < passesByCopy.size(); ++copy)
        verifiedByCopy.push_back(copyShare(verified, copy, passesByCopy.size()));
    return compareWithShuffled(realPasses, verifiedByCopy, passesByCopy);
}

ShuffledControl compareWithShuffled(std::uint64_t realPasses, const std::vector<std::uint64_t>& verifiedByCopy,
                                    const std::vector<std::uint64_t>& passesByCopy)
{
    ShuffledControl control;
    control.realPasses = realPasses;
    control.verifiedByCopy = verifiedByCopy;
    control.passesByCopy = passesByCopy;
    std::vector<double> rates;
    for (size_t copy = 0; copy < verifiedByCopy.size() && copy < passesByCopy.size(); ++copy) {
        control.verified += verifiedByCopy[copy];
        control.shuffledPasses += passesByCopy[copy];
        if (verifiedByCopy[copy] > 0)
            rates.push_back(double(passesByCopy[copy]) / double(verifiedByCopy[copy]));
    }
    const double copies = double(rates.size());
    if (rates.size() < 2 || realPasses == 0)
        return control;

    double mean = 0;
    for (double r : rates)
        mean += r;
    mean /= copies;
    double squares = 0;
    for (double r : rates)
        squares += (r - mean) * (r - mean);
    // A history's pass rate varies for two reasons: which candidates it got (counting noise, p(1-p)
    // over its candidates) and the history itself (shared columns make candidates pass together).
    // The copies' spread holds both, each copy with a tenth of the candidates; the history part
    // is what is left after counting. The real rate and the copies' mean each carry both parts.
    const double pooled = std::clamp((double(realPasses + control.shuffledPasses) + 0.5) / (2.0 * double(control.verified)),
                                     0.0, 1.0);
    const double perCandidate = pooled * (1 - pooled);
    const double copyCounting = perCandidate * copies / double(control.verified);
    const double historyVariance = std::max(0.0, squares / (copies - 1) - copyCounting);
    const double variance = historyVariance * (1 + 1 / copies) + 2 * perCandidate / double(control.verified);
    const double excess = control.realRate() - mean;
    if (!(variance > 0)) {
        // Every candidate passed everywhere, or none did: no spread to judge by.
        control.pValue = excess > 0 ? 0.0 : 1.0;
        return control;
    }
    const double t = excess / std::sqrt(variance);
    const boost::math::students_t distribution(copies - 1);
    control.pValue = boost::math::cdf(boost::math::complement(distribution, t));
    return control;
}

HistoryColumns controlHistory(const HistoryColumns& history, std::uint64_t runSeed, int copy, int fromRow)
{
    return shuffledHistory(history, deriveSeed(runSeed, 0x434F4E54524F4Cull + std::uint64_t(copy)), fromRow);
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
