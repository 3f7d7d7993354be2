#pragma once
// The history position ranking list ("历史开奖列表"): for every period, where the digit then
// drawn at the chosen position stood in the ranking the formulas had produced from the period
// before: its rank, its Err value, its level among equal counts, the whole ranking, and the
// digits grouped by count. Row i sets the ranking of period i against the draw of period i + 1,
// so the last ranking (the forecast for the undrawn period) has no row.

#include "aggregate/history_replay.h"
#include "common/display_colour.h"
#include "common/result.h"

#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

namespace qeltaro {

inline constexpr const char16_t* kRankingListCaption = u"历史开奖列表";

struct RankingListRow {
    QString period;   // 期号: the period drawn
    QString drawn;    // 开奖结果: the digit at the position, or in group play the digits of the
                      // position to 个位, each followed by a blank
    QString ranks;    // 排位名次: the rank; in group play every matching rank, each followed by a blank
    int errValue = 0; // Err值: the count at the (last) matching rank
    int levelCount = 0;  // 总位次: levels of the ranking (equal counts share a level)
    int level = 0;       // 位次: the level of the digit at the position
    int levelSize = 0;   // 位码数: digits on that level
    DigitRanking ranking{};
    std::array<bool, 10> digitMarked{};  // rank columns of a matching digit: blue
    std::array<bool, 10> countMarked{};  // the count column of the position's digit: blue
    // The row's digits per count, in rank order, each followed by a blank; only counts present.
    std::vector<std::pair<int, QString>> digitsByCount;

    QString digitsWithCount(int count) const;
};

class RankingList {
public:
    // The list of a replay for position 1 (万位) .. 5 (个位), in direct play (that position only)
    // or group play (that position to 个位).
    static Result<RankingList> build(const std::vector<PeriodRanking>& periods, int position, bool group);

    static int defaultPosition(int categoryPositions) { return 6 - categoryPositions; }

    const std::vector<RankingListRow>& rows() const { return rows_; }
    // The count columns run from the smallest to the largest count seen in the rows; with no
    // rows there are none.
    bool hasCountColumns() const { return !rows_.empty(); }
    int smallestCount() const { return smallest_; }
    int largestCount() const { return largest_; }

    // The grid as a window shows it: 27 fixed columns, then one per count.
    int columnCount() const;
    QString headerText(int column) const;
    QString cellText(int row, int column) const;
    Rgb cellBackground(int row, int column) const;  // white unless marked blue

private:
    RankingList() = default;

    std::vector<RankingListRow> rows_;
    int smallest_ = 0;
    int largest_ = 0;
};

}  // namespace qeltaro
