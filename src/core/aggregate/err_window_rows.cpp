#include "aggregate/err_window_rows.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace qeltaro {

bool isKilledVerdict(int total, Kind kind)
{
    return (total == 0) != isKill(kind);
}

QString errVerdict(int total, Kind kind)
{
    return isKilledVerdict(total, kind) ? QStringLiteral("滤杀") : QStringLiteral("保留");
}

QString errWindowTabCaption(int slot)
{
    return QString::number(slot) + QStringLiteral("星");
}

void ErrWindowTable::fill(const ErrCounts& counts, Kind kind)
{
    counts_ = counts;
    kind_ = kind;
    longHeaders_ = false;
    order(Total, reverse_ || !isKill(kind_));

    // Count values in the order the statistics table walks them.
    std::map<int, ErrStatisticsRow> byCount;
    for (const ErrWindowRow& row : rows_) {
        ErrStatisticsRow& s = byCount[row.count.total];
        s.count = row.count.total;
        ++s.digitCount;
        s.digits += QString::number(row.digit) + u' ';
    }
    statistics_.clear();
    for (const auto& [count, row] : byCount)
        statistics_.push_back(row);
    if (!isKill(kind_))
        std::reverse(statistics_.begin(), statistics_.end());
}

void ErrWindowTable::doubleClick(int column)
{
    reverse_ = !reverse_;
    longHeaders_ = true;
    if (column >= Digit && column <= Keep)
        order(Column(column), reverse_ || !isKill(kind_));
}

void ErrWindowTable::order(Column column, bool descending)
{
    auto key = [this, column](int digit) {
        const ErrCount& c = counts_[size_t(digit)];
        switch (column) {
        case Total: return c.total;
        case Kill: return c.kill;
        case Keep: return c.keep;
        default: return digit;
        }
    };
    std::array<int, 10> digits;
    std::iota(digits.begin(), digits.end(), 0);
    // Equal values stay in digit order whichever the direction.
    std::stable_sort(digits.begin(), digits.end(), [&](int a, int b) {
        return descending ? key(a) > key(b) : key(a) < key(b);
    });
    rows_.clear();
    for (size_t r = 0; r < digits.size(); ++r) {
        const ErrCount& c = counts_[size_t(digits[r])];
        rows_.push_back({int(r) + 1, digits[r], c, errVerdict(c.total, kind_),
                         isKilledVerdict(c.total, kind_) ? kGreen : kBlack});
    }
}

QStringList ErrWindowTable::headers() const
{
    if (longHeaders_)
        return {QStringLiteral("排序序号"), QStringLiteral("号码"), QStringLiteral("杀留Err值（公式错误值）"),
                QStringLiteral("杀码Err值（公式错误值）"), QStringLiteral("留码Err值（公式错误值）"),
                QStringLiteral("保留/滤杀")};
    return {QStringLiteral("排序序号"), QStringLiteral("号码"), QStringLiteral("杀留Err值"),
            QStringLiteral("杀码Err值"), QStringLiteral("留码Err值"), QStringLiteral("保留/滤杀")};
}

QString ErrWindowTable::cellText(const ErrWindowRow& row, int column)
{
    switch (column) {
    case Order: return QString::number(row.order);
    case Digit: return QString::number(row.digit);
    case Total: return QString::number(row.count.total);
    case Kill: return QString::number(row.count.kill);
    case Keep: return QString::number(row.count.keep);
    case Verdict: return row.verdict;
    default: return {};
    }
}

QStringList ErrWindowTable::statisticsHeaders()
{
    return {QStringLiteral("杀留次数"), QStringLiteral("个数"), QStringLiteral("号码")};
}

}  // namespace qeltaro
