#include "domain/backtest_window.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(BacktestWindow, FirstScoredRowCountsBackFromTheNewestRow)
{
    struct Case {
        int rows;
        int window;
        bool excludesCurrent;
        int firstRow;  // 1-based, as the rows are numbered on screen; rows + 1 when none is scored
    };
    const Case cases[] = {
        {1000, 300, true, 701},  {1000, 300, false, 700}, {200, 300, true, 2},  {200, 300, false, 2},
        {1000, 0, true, 2},      {1000, 0, false, 2},     {300, 300, true, 2},  {301, 300, true, 2},
        {302, 300, true, 3},     {301, 300, false, 2},    {302, 300, false, 2}, {303, 300, false, 3},
        {1, 0, true, 2},         {1, 100, false, 2},      {0, 0, true, 1},      {2, 1, true, 2},
        {5, 1, true, 5},         {5, 1, false, 4},
    };
    for (const Case& c : cases) {
        const BacktestSettings settings{c.window, c.excludesCurrent, false};
        EXPECT_EQ(firstScoredRow(c.rows, settings) + 1, c.firstRow)
            << c.rows << " rows, window " << c.window << (c.excludesCurrent ? " excluding" : " including");
    }
}

TEST(BacktestWindow, TotalWeightIsTheSumOfTheRowWeights)
{
    for (bool weighted : {true, false}) {
        long long sum = 0;
        for (long long m = 0; m <= 3000; ++m) {
            if (m > 0)
                sum += rowWeight(m, weighted);
            ASSERT_EQ(totalWeight(m, weighted), sum) << m << (weighted ? " weighted" : " unweighted");
        }
    }
    EXPECT_EQ(rowWeight(7, true), 49);
    EXPECT_EQ(rowWeight(7, false), 1);
}
