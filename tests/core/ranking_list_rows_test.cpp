#include "aggregate/ranking_list_rows.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

PeriodRanking period(const char* number, Digits draw, std::array<int, 10> digits, std::array<int, 10> counts)
{
    PeriodRanking p{QString::fromLatin1(number), draw, {}};
    for (size_t r = 0; r < 10; ++r)
        p.ranking[r] = {digits[r], counts[r]};
    return p;
}

const std::array<int, 10> kDigits = {3, 8, 1, 0, 6, 2, 4, 5, 9, 7};
const std::array<int, 10> kCounts = {0, 0, 0, 1, 1, 2, 2, 2, 2, 5};

std::vector<PeriodRanking> levelsExample(Digits nextDraw)
{
    return {period("160121001", {1, 2, 3, 4, 5}, kDigits, kCounts),
            period("160121002", nextDraw, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1})};
}

}  // namespace

TEST(RankingListRows, LevelsGroupEqualCountsAlongTheRanking)
{
    auto list = RankingList::build(levelsExample({9, 9, 9, 9, 6}), 5, false);  // 个位 6 stands at rank 5
    ASSERT_TRUE(list);
    ASSERT_EQ(list->rows().size(), 1u);  // the last ranking is a forecast: no row
    const RankingListRow& row = list->rows()[0];
    EXPECT_EQ(row.period, "160121002");
    EXPECT_EQ(row.drawn, "6");
    EXPECT_EQ(row.ranks, "5");
    EXPECT_EQ(row.errValue, 1);
    EXPECT_EQ(row.levelCount, 4);
    EXPECT_EQ(row.level, 2);
    EXPECT_EQ(row.levelSize, 2);
    // Count columns 0次..5次 with empty cells for 3 and 4.
    EXPECT_EQ(list->smallestCount(), 0);
    EXPECT_EQ(list->largestCount(), 5);
    EXPECT_EQ(list->columnCount(), 33);
    EXPECT_EQ(list->headerText(27), "0次");
    EXPECT_EQ(list->headerText(32), "5次");
    const std::pair<int, const char*> countCells[] = {{27, "3 8 1 "}, {28, "0 6 "}, {29, "2 4 5 9 "}, {30, ""}, {31, ""}, {32, "7 "}};
    for (const auto& [column, text] : countCells)
        EXPECT_EQ(list->cellText(0, column), text) << column;
    // One blue digit and one blue count, in the same rank; every other cell white.
    for (int j = 0; j < 10; ++j) {
        EXPECT_EQ(list->cellBackground(0, 7 + j), j == 4 ? kBlue : kWhite) << j;
        EXPECT_EQ(list->cellBackground(0, 17 + j), j == 4 ? kBlue : kWhite) << j;
    }
    const std::pair<int, const char*> cells[] = {{0, "160121002"}, {2, "5"}, {3, "1"}, {4, "4"}, {5, "2"},
                                                 {6, "2"}, {7, "3"}, {16, "7"}, {17, "0"}, {26, "5"}};
    for (const auto& [column, text] : cells)
        EXPECT_EQ(list->cellText(0, column), text) << column;
    EXPECT_EQ(list->headerText(0), "期号");
    EXPECT_EQ(list->headerText(6), "位码数");
    EXPECT_EQ(list->headerText(7), "排列1");
    EXPECT_EQ(list->headerText(26), "Err值10");

    // A ranking whose smallest count is not 0 starts at level 1 all the same.
    std::vector<PeriodRanking> shifted = levelsExample({9, 9, 9, 9, 7});
    for (RankedDigit& r : shifted[0].ranking)
        r.count += 2;
    auto other = RankingList::build(shifted, 5, false);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->rows()[0].levelCount, 4);
    EXPECT_EQ(other->rows()[0].level, 4);
    EXPECT_EQ(other->rows()[0].levelSize, 1);
    EXPECT_EQ(other->headerText(27), "2次");
}

TEST(RankingListRows, GroupPlayMarksEveryDrawnDigitOnce)
{
    // 百位 to 个位 drawn 6, 6, 7: ranks 5 and 10; the level is that of the 百位 digit.
    auto list = RankingList::build(levelsExample({1, 2, 6, 6, 7}), 3, true);
    ASSERT_TRUE(list);
    const RankingListRow& row = list->rows()[0];
    EXPECT_EQ(row.drawn, "6 6 7 ");
    EXPECT_EQ(row.ranks, "5 10 ");
    EXPECT_EQ(row.errValue, 5);  // the last matching rank
    EXPECT_EQ(row.level, 2);
    EXPECT_EQ(std::count(row.digitMarked.begin(), row.digitMarked.end(), true), 2);
    EXPECT_TRUE(row.digitMarked[4] && row.digitMarked[9]);
    EXPECT_EQ(std::count(row.countMarked.begin(), row.countMarked.end(), true), 1);
    EXPECT_TRUE(row.countMarked[4]);
}

TEST(RankingListRows, ShortReplaysGiveHeadersOnlyAndBadPositionsAreRefused)
{
    for (size_t n : {0u, 1u}) {
        std::vector<PeriodRanking> periods = levelsExample({0, 0, 0, 0, 0});
        periods.resize(n);
        auto list = RankingList::build(periods, 5, false);
        ASSERT_TRUE(list);
        EXPECT_TRUE(list->rows().empty());
        EXPECT_EQ(list->columnCount(), 27);
    }
    for (int position : {0, 6, -1}) {
        auto list = RankingList::build(levelsExample({0, 0, 0, 0, 0}), position, false);
        ASSERT_FALSE(list);
        EXPECT_TRUE(list.error().message.contains("码位"));
    }
    EXPECT_EQ(RankingList::defaultPosition(1), 5);
    EXPECT_EQ(RankingList::defaultPosition(5), 1);
}
