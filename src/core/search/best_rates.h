#pragma once
// The best statistic a search saw: the highest 正确率 among all the candidates it verified on the
// real history, passing or not, and among those it verified on the shuffled copies (together as
// many). Among a million random formulas the best always looks good; the best on histories
// where no draw follows from the one before says how good luck alone gets. The same seed gives
// the same candidates whatever the thresholds, so neither depends on them.

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

struct BestRates {
    std::optional<float> real;      // percent; none before the first candidate
    std::optional<float> shuffled;  // none without the shuffled control

    friend bool operator==(const BestRates&, const BestRates&) = default;
};

// Where a stretch of candidates' best rate rose, in candidate order: from these the best over
// any prefix of the stretch is known without keeping every rate.
struct RateRecord {
    std::uint64_t ordinal = 0;
    float rate = 0;
};
using RateRecords = std::vector<RateRecord>;

inline void noteRate(RateRecords& records, std::uint64_t ordinal, float rate)
{
    if (records.empty() || rate > records.back().rate)
        records.push_back({ordinal, rate});
}

// Raises `best` to the highest of `records` before candidate `end`.
inline void raiseBest(std::optional<float>& best, const RateRecords& records, std::uint64_t end)
{
    for (const RateRecord& r : records) {
        if (r.ordinal >= end)
            break;
        if (!best || r.rate > *best)
            best = r.rate;
    }
}

// "最优公式正确率" and "打乱历史中最优正确率" as the window and the command line show them.
QString bestRealRateLabel();
QString bestShuffledRateLabel();
// "95.1234%", or "—" when there is none.
QString bestRateText(const std::optional<float>& rate);
// The rate rounded to four decimals, as the JSON answers give rates.
double roundedRate(float rate);
// "best_real_rate" and "best_shuffled_rate" into `object`, null where there is none.
void insertBestRates(QJsonObject& object, const BestRates& best);

}  // namespace qeltaro
