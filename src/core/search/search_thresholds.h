#pragma once
// The ten thresholds a candidate must meet: lowest and highest of the hit rate, the longest miss
// run, the longest hit run, the final miss run and the final hit run, in this order. Bounds are
// inclusive with a margin of 0.0001; the rate bounds are taken in single precision first. A
// threshold that is not a number (NaN) makes its check fail.

#include "common/result.h"

#include <QString>
#include <QStringList>

#include <array>

namespace qeltaro {

inline constexpr int kThresholdCount = 10;
using SearchThresholds = std::array<double, kThresholdCount>;

// What a candidate's back-test gives: the hit rate and the four runs, with the sums behind the rate.
struct CandidateStatistics {
    float rate = 0;      // percent; 0 when no row was scored
    int maxMissRun = 0;
    int maxHitRun = 0;
    int lastMissRun = 0;
    int lastHitRun = 0;
    long long hitSum = 0;
    long long totalSum = 0;
    int scoredRows = 0;
};

// The bounds in the form the checks compare against, computed once per run.
struct ScreeningBounds {
    std::array<double, kThresholdCount> bound{};

    explicit ScreeningBounds(const SearchThresholds& thresholds);
    bool rateInside(float rate) const { return bound[0] <= rate && rate <= bound[1]; }
    bool maxMissInside(int run) const { return bound[2] <= run && run <= bound[3]; }
    bool maxHitInside(int run) const { return bound[4] <= run && run <= bound[5]; }
    bool lastMissInside(int run) const { return bound[6] <= run && run <= bound[7]; }
    bool lastHitInside(int run) const { return bound[8] <= run && run <= bound[9]; }
    bool passes(const CandidateStatistics& s) const
    {
        return rateInside(s.rate) && maxMissInside(s.maxMissRun) && maxHitInside(s.maxHitRun) &&
               lastMissInside(s.lastMissRun) && lastHitInside(s.lastHitRun);
    }
};

// Captions of the ten thresholds, "正确率下限" .. "最后连对上限".
QString thresholdName(int index);

// A threshold's text: its number, or NaN when the text is not one (the check then fails).
double thresholdFromText(const QString& text);
// Ten texts, each read as above.
SearchThresholds thresholdsFromTexts(const QStringList& texts);
// Ten numbers given by the user, separated by commas; refused, naming the threshold, when one
// is not a number.
Result<SearchThresholds> parseThresholdList(const QString& text);
// Ten texts, as the window's threshold boxes hold them; refused, naming the first threshold that
// is not a number, so a run never starts with a check that can only fail.
Result<SearchThresholds> parseThresholdTexts(const QStringList& texts);

// The shortest text of the value in single precision ("94.6", "32768"); "不是数字" for NaN.
QString thresholdText(double value);

}  // namespace qeltaro
