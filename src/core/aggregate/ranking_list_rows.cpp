#include "aggregate/ranking_list_rows.h"

#include <algorithm>
#include <map>

namespace qeltaro {
namespace {

constexpr int kFixedColumns = 7;
constexpr int kFirstDigitColumn = 7;   // 排列1..排列10
constexpr int kFirstCountColumn = 17;  // Err值1..Err值10
constexpr int kFirstListColumn = 27;   // 0次, 1次, ...

}  // namespace

QString RankingListRow::digitsWithCount(int count) const
{
    for (const auto& [c, digits] : digitsByCount) {
        if (c == count)
            return digits;
    }
    return {};
}

Result<RankingList> RankingList::build(const std::vector<PeriodRanking>& periods, int position, bool group)
{
    if (position < 1 || position > 5)
        return badInput(QStringLiteral("码位%1无效：须为1（万位）到5（个位）").arg(position));
    RankingList list;
    const size_t p = size_t(position - 1);
    bool first = true;
    for (size_t i = 0; i + 1 < periods.size(); ++i) {
        const DigitRanking& ranking = periods[i].ranking;
        const Digits& draw = periods[i + 1].draw;
        const int positionDigit = draw[p];
        auto matches = [&](int digit) {
            if (!group)
                return digit == positionDigit;
            return std::find(draw.begin() + ptrdiff_t(p), draw.end(), digit) != draw.end();
        };

        RankingListRow row;
        row.period = periods[i + 1].period;
        row.ranking = ranking;
        if (group) {
            for (size_t q = p; q < 5; ++q)
                row.drawn += QString::number(draw[q]) + u' ';
        } else {
            row.drawn = QString::number(positionDigit);
        }

        // Levels: equal counts along the ranking share a level, the smallest count being level 1.
        int level = ranking[0].count == 0 ? 1 : 0;
        std::map<int, int> levelSizes;
        std::map<int, QString> byCount;
        for (size_t j = 0; j < 10; ++j) {
            const auto [digit, count] = ranking[j];
            if (matches(digit)) {
                row.digitMarked[j] = true;
                if (group)
                    row.ranks += QString::number(j + 1) + u' ';
                else
                    row.ranks = QString::number(j + 1);
                row.errValue = count;
            }
            if (first) {
                list.smallest_ = list.largest_ = count;
                first = false;
            }
            list.smallest_ = std::min(list.smallest_, count);
            list.largest_ = std::max(list.largest_, count);
            const bool sameLevel = j == 0 ? count == 0 : count == ranking[j - 1].count;
            if (sameLevel) {
                ++levelSizes[level];
            } else {
                ++level;
                levelSizes[level] = 1;
            }
            if (digit == positionDigit) {
                row.level = level;
                row.countMarked[j] = true;
            }
            byCount[count] += QString::number(digit) + u' ';
        }
        row.levelCount = level;
        row.levelSize = levelSizes[row.level];
        row.digitsByCount.assign(byCount.begin(), byCount.end());
        list.rows_.push_back(std::move(row));
    }
    return list;
}

int RankingList::columnCount() const
{
    return kFirstListColumn + (hasCountColumns() ? largest_ - smallest_ + 1 : 0);
}

QString RankingList::headerText(int column) const
{
    static const QStringList fixed = {QStringLiteral("期号"), QStringLiteral("开奖结果"), QStringLiteral("排位名次"),
                                      QStringLiteral("Err值"), QStringLiteral("总位次"), QStringLiteral("位次"),
                                      QStringLiteral("位码数")};
    if (column < 0 || column >= columnCount())
        return {};
    if (column < kFixedColumns)
        return fixed[column];
    if (column < kFirstCountColumn)
        return QStringLiteral("排列%1").arg(column - kFirstDigitColumn + 1);
    if (column < kFirstListColumn)
        return QStringLiteral("Err值%1").arg(column - kFirstCountColumn + 1);
    return QStringLiteral("%1次").arg(smallest_ + column - kFirstListColumn);
}

QString RankingList::cellText(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()) || column < 0 || column >= columnCount())
        return {};
    const RankingListRow& r = rows_[size_t(row)];
    switch (column) {
    case 0: return r.period;
    case 1: return r.drawn;
    case 2: return r.ranks;
    case 3: return QString::number(r.errValue);
    case 4: return QString::number(r.levelCount);
    case 5: return QString::number(r.level);
    case 6: return QString::number(r.levelSize);
    default: break;
    }
    if (column < kFirstCountColumn)
        return QString::number(r.ranking[size_t(column - kFirstDigitColumn)].digit);
    if (column < kFirstListColumn)
        return QString::number(r.ranking[size_t(column - kFirstCountColumn)].count);
    return r.digitsWithCount(smallest_ + column - kFirstListColumn);
}

Rgb RankingList::cellBackground(int row, int column) const
{
    if (row < 0 || row >= int(rows_.size()))
        return kWhite;
    const RankingListRow& r = rows_[size_t(row)];
    if (column >= kFirstDigitColumn && column < kFirstCountColumn)
        return r.digitMarked[size_t(column - kFirstDigitColumn)] ? kBlue : kWhite;
    if (column >= kFirstCountColumn && column < kFirstListColumn)
        return r.countMarked[size_t(column - kFirstCountColumn)] ? kBlue : kWhite;
    return kWhite;
}

}  // namespace qeltaro
