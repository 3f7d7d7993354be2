#include "history/history_shuffle.h"

#include "draw_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using namespace qeltaro;

namespace {

int valueOf(const HistoryColumns& history, int row, const char* code)
{
    return history.rowValues(row)[derivedIndex(QString::fromLatin1(code))];
}

}  // namespace

TEST(HistoryShuffle, EveryDrawStaysExactlyOnceAndPeriodsKeepTheirPlace)
{
    const HistoryColumns history(test::randomDraws(500, 7));
    const HistoryColumns shuffled = shuffledHistory(history, 42);
    ASSERT_EQ(shuffled.rowCount(), history.rowCount());

    const std::vector<int> order = shuffledOrder(history.rowCount(), 42);
    std::vector<int> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    for (int i = 0; i < int(sorted.size()); ++i)
        ASSERT_EQ(sorted[size_t(i)], i);
    EXPECT_FALSE(std::is_sorted(order.begin(), order.end()));

    std::map<std::array<int, 5>, int> before, after;
    for (int row = 0; row < history.rowCount(); ++row) {
        ++before[history.digits(row)];
        ++after[shuffled.digits(row)];
        EXPECT_EQ(shuffled.digits(row), history.digits(order[size_t(row)]));
        EXPECT_EQ(shuffled.period(row), history.period(row));
        for (int c = kFirstPeriodColumn; c < kParameterCount; ++c)
            ASSERT_EQ(shuffled.rowValues(row)[c], history.rowValues(row)[c]) << "period column " << c;
    }
    EXPECT_EQ(before, after);
}

TEST(HistoryShuffle, DigitColumnsMoveWithTheirDrawAndRepeatsCompareWithTheNewNeighbour)
{
    const HistoryColumns history(test::randomDraws(300, 3));
    const HistoryColumns shuffled = shuffledHistory(history, 5);
    const std::vector<int> order = shuffledOrder(history.rowCount(), 5);
    const int lx = derivedIndex(u"LX");
    const int ly = derivedIndex(u"LY");
    for (int row = 0; row < shuffled.rowCount(); ++row) {
        const int from = order[size_t(row)];
        for (int c = 0; c < kFirstPeriodColumn; ++c) {
            if (c == lx || c == ly)
                continue;
            ASSERT_EQ(shuffled.rowValues(row)[c], history.rowValues(from)[c]) << "row " << row << " column " << c;
        }
        const int expectedLx = row == 0 ? 0 : sameDigitAtSamePosition(shuffled.digits(row), shuffled.digits(row - 1));
        const int expectedLy = row == 0 ? 0 : digitsFoundInPrevious(shuffled.digits(row), shuffled.digits(row - 1));
        EXPECT_EQ(valueOf(shuffled, row, "LX"), expectedLx);
        EXPECT_EQ(valueOf(shuffled, row, "LY"), expectedLy);
    }
}

TEST(HistoryShuffle, OnlyTheNewestRowsCanBeShuffledAmongThemselves)
{
    const std::vector<int> order = shuffledOrder(500, 3, 400);
    for (int row = 0; row < 400; ++row)
        ASSERT_EQ(order[size_t(row)], row);
    std::vector<int> newest(order.begin() + 400, order.end());
    EXPECT_FALSE(std::is_sorted(newest.begin(), newest.end()));
    std::sort(newest.begin(), newest.end());
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(newest[size_t(i)], 400 + i);
    EXPECT_EQ(shuffledOrder(10, 3, 10), shuffledOrder(10, 3, 99));  // nothing left to shuffle
}

TEST(HistoryShuffle, TheSeedFixesTheOrder)
{
    EXPECT_EQ(shuffledOrder(1000, 11), shuffledOrder(1000, 11));
    EXPECT_NE(shuffledOrder(1000, 11), shuffledOrder(1000, 12));
    EXPECT_TRUE(shuffledOrder(0, 1).empty());
    EXPECT_EQ(shuffledOrder(1, 1), std::vector<int>{0});
}

TEST(HistoryColumns, FirstRowsKeepsTheOldestRowsAsTheyWere)
{
    const HistoryColumns history(test::randomDraws(50, 9));
    const HistoryColumns first = history.firstRows(20);
    ASSERT_EQ(first.rowCount(), 20);
    for (int row = 0; row < 20; ++row) {
        EXPECT_EQ(first.period(row), history.period(row));
        for (int c = 0; c < kParameterCount; ++c)
            ASSERT_EQ(first.rowValues(row)[c], history.rowValues(row)[c]);
        EXPECT_EQ(first.column(7)[row], history.column(7)[row]);
    }
    EXPECT_EQ(history.firstRows(80).rowCount(), 50);
    EXPECT_EQ(history.firstRows(-1).rowCount(), 0);
}
