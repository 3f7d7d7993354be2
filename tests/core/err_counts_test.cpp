#include "aggregate/err_counts.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

ErrCounts sampleCounts()
{
    ErrCounts counts{};
    for (int d = 0; d < 10; ++d)
        counts[size_t(d)] = {d * 3 % 7, d % 4, d % 3};
    return counts;
}

}  // namespace

TEST(ErrCounts, RankingIsAscendingByTotalThenByDigit)
{
    ErrCounts counts{};
    const int totals[10] = {2, 0, 5, 0, 2, 1, 0, 9, 1, 0};
    for (int d = 0; d < 10; ++d)
        counts[size_t(d)].total = totals[d];
    EXPECT_EQ(digitsByTotalAscending(counts), (std::array<int, 10>{1, 3, 6, 9, 5, 8, 0, 4, 2, 7}));

    moveKillCountsToKeep(counts);  // totals stay; kill columns move over
    counts[4].kill = 3;
    moveKillCountsToKeep(counts);
    EXPECT_EQ(counts[4], (ErrCount{2, 0, 3}));
}

TEST(ErrCounts, TablesRoundTripThroughTheStore)
{
    test::TempStore temp;
    const ErrCounts counts = sampleCounts();
    ASSERT_TRUE(storeReplayTallies(temp.store(), counts));
    ASSERT_TRUE(storeShownCounts(temp.store(), counts));
    temp.reopen();
    EXPECT_EQ(*readErrCounts(temp.store(), ErrCountTable::ReplayTallies), counts);
    EXPECT_EQ(*readErrCounts(temp.store(), ErrCountTable::ShownCounts), counts);
    // Errarr is edited in place: still the ten delivered rows. ErrarrLei is refilled: ten rows.
    for (const char* table : {"Errarr", "ErrarrLei"})
        EXPECT_EQ(temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table))->value_or(0), 10);
    ASSERT_TRUE(storeShownCounts(temp.store(), ErrCounts{}));
    EXPECT_EQ(temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM ErrarrLei"))->value_or(0), 10);
}

TEST(ErrCounts, AMissingErrarrRowIsAddedBack)
{
    test::TempStore temp;
    ASSERT_TRUE(temp.store().database().exec(QStringLiteral("DELETE FROM Errarr WHERE num IN (3, 7)")));
    ASSERT_TRUE(storeReplayTallies(temp.store(), sampleCounts()));
    EXPECT_EQ(*readErrCounts(temp.store(), ErrCountTable::ReplayTallies), sampleCounts());
    EXPECT_EQ(temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM Errarr"))->value_or(0), 10);
}

TEST(ErrCounts, AFailedWriteLeavesTheTableAsItWas)
{
    test::TempStore temp;
    ASSERT_TRUE(storeShownCounts(temp.store(), sampleCounts()));
    // A trigger that refuses the seventh row makes the refill fail half way.
    ASSERT_TRUE(temp.store().database().exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON ErrarrLei WHEN NEW.num = 6 BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    EXPECT_FALSE(storeShownCounts(temp.store(), ErrCounts{}));
    EXPECT_EQ(*readErrCounts(temp.store(), ErrCountTable::ShownCounts), sampleCounts());
}
