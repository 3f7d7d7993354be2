#pragma once
// What the Err value windows show for one slot of the next-period counts: the ten digits in
// order with their three counts and the verdict "保留" or "滤杀", and the statistics table that
// groups the digits by their total count. A window keeps one ErrWindowTable per table (one per
// tab in the direct-play window) and shows its rows as they are.

#include "aggregate/err_counts.h"
#include "common/display_colour.h"
#include "domain/kind.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qeltaro {

inline constexpr const char16_t* kErrWindowCaption = u"杀留值排序(鼠标双击列表反向排序)";
inline constexpr const char16_t* kErrDigitFrameCaption = u"该类公式计算综合结果";
inline constexpr const char16_t* kErrStatisticsFrameCaption = u"公式总计算结果情况统计";

// "滤杀" when (no formula named the digit) differs from the kind: with kill formulas every named
// digit is killed, with keep formulas every digit no formula kept is.
QString errVerdict(int total, Kind kind);
bool isKilledVerdict(int total, Kind kind);

// The caption of the direct-play window's tab for slot t: "t星".
QString errWindowTabCaption(int slot);

struct ErrWindowRow {
    int order = 0;  // 排序序号, 1..10
    int digit = 0;  // 号码
    ErrCount count;
    QString verdict;
    Rgb textColour;  // of all six cells: green for "滤杀", black for "保留"
};

struct ErrStatisticsRow {
    int count = 0;        // 杀留次数
    int digitCount = 0;   // 个数
    QString digits;       // 号码: the digits in table order, each followed by a blank
};

class ErrWindowTable {
public:
    static constexpr int kColumnCount = 6;
    // Columns a double-click re-sorts by: 号码, 杀留Err值, 杀码Err值, 留码Err值.
    enum Column { Order = 0, Digit = 1, Total = 2, Kill = 3, Keep = 4, Verdict = 5 };

    // Fills the rows by total (ascending for kill formulas unless reversed; keep formulas always
    // descending) and rebuilds the statistics. The reverse flag lives as long as the table.
    void fill(const ErrCounts& counts, Kind kind);
    // A double-click while `column` is current: toggles the reverse flag; on columns 1-4 reorders
    // by that column (descending when reversed or for keep formulas), on 0 and 5 keeps the order.
    // The rows then carry the longer headers; the statistics stay as filled.
    void doubleClick(int column);

    bool reversed() const { return reverse_; }
    QStringList headers() const;
    const std::vector<ErrWindowRow>& rows() const { return rows_; }
    static QString cellText(const ErrWindowRow& row, int column);

    static QStringList statisticsHeaders();  // "杀留次数", "个数", "号码"
    const std::vector<ErrStatisticsRow>& statistics() const { return statistics_; }

private:
    void order(Column column, bool descending);

    ErrCounts counts_{};
    Kind kind_ = Kind::Kill;
    bool reverse_ = false;
    bool longHeaders_ = false;
    std::vector<ErrWindowRow> rows_;
    std::vector<ErrStatisticsRow> statistics_;
};

}  // namespace qeltaro
