#include "backtest/backtest_engine.h"
#include "domain/history_columns.h"
#include "draw_builder.h"
#include "language/formula_line.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

// Draws whose 个位 runs through `units`, the other positions 0.
HistoryColumns unitsHistory(const std::vector<int>& units)
{
    QStringList texts;
    for (int digit : units)
        texts << QStringLiteral("0000%1").arg(digit);
    return HistoryColumns(test::drawsOf(texts));
}

std::vector<int> columnValues(const HistoryColumns& history, int index)
{
    const double* column = history.column(index - 1);
    return std::vector<int>(column, column + history.rowCount());
}

}  // namespace

TEST(ColdHotDigits, FollowTheirDefinitionsRowByRow)
{
    // Until a digit has been drawn it misses since before the first row, so the smallest digit
    // not yet drawn is cold; once all are drawn (row 10), the one drawn longest ago: 5, at row 0.
    const HistoryColumns h = unitsHistory({5, 0, 1, 0, 2, 3, 4, 6, 7, 8, 9, 9, 9});
    EXPECT_EQ(columnValues(h, coldDigitIndex(5)), (std::vector<int>{0, 1, 2, 2, 3, 4, 6, 7, 8, 9, 5, 5, 5}));
    // Hot: 0 and 5 tie at row 1, the smaller wins; 0 leads with two until row 11, whose ten rows
    // (2-11) hold one 0 and two 9s.
    EXPECT_EQ(columnValues(h, hotDigitIndex(5)), (std::vector<int>{5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 9}));
    // The other positions drew only 0.
    EXPECT_EQ(columnValues(h, coldDigitIndex(1))[12], 1);
    EXPECT_EQ(columnValues(h, hotDigitIndex(1))[12], 0);
}

TEST(ColdHotDigits, AgreeWithAScanBackOverRandomDraws)
{
    const HistoryColumns h(test::randomDraws(400, 29));
    for (int position = 1; position <= 5; ++position) {
        const std::vector<int> cold = columnValues(h, coldDigitIndex(position));
        const std::vector<int> hot = columnValues(h, hotDigitIndex(position));
        for (int t = 0; t < h.rowCount(); ++t) {
            int coldest = -1, largest = -1, hottest = -1, most = -1;
            for (int d = 0; d < 10; ++d) {
                int s = t;
                while (s >= 0 && h.digit(s, position) != d)
                    --s;
                if (t - s > largest) {
                    largest = t - s;
                    coldest = d;
                }
                int count = 0;
                for (int r = std::max(0, t - 9); r <= t; ++r)
                    count += h.digit(r, position) == d;
                if (count > most) {
                    most = count;
                    hottest = d;
                }
            }
            ASSERT_EQ(cold[size_t(t)], coldest) << position << " row " << t;
            ASSERT_EQ(hot[size_t(t)], hottest) << position << " row " << t;
        }
    }
    // Growing the history by a row gives the row the whole history would give it.
    HistoryColumns grown = h.firstRows(399);
    grown.append(h.record(399));
    EXPECT_EQ(std::vector<int>(grown.rowValues(399), grown.rowValues(399) + kFormulaParameterCount),
              std::vector<int>(h.rowValues(399), h.rowValues(399) + kFormulaParameterCount));
}

TEST(ColdHotDigits, KillingTheColdDigitBacktestsAsCountedByHand)
{
    const ParsedLine line = parseFormulaLine(u"个位冷码=下期杀一星直选", LineSource::Typed, Kind::Kill);
    ASSERT_TRUE(checkLine(line, LineSource::Typed).ok());
    EXPECT_EQ(line.code, QStringLiteral("L5LA"));

    // 个位 runs 0..9, then 9 twice. Until every digit has been drawn, the cold digit of a row is
    // the smallest not yet drawn, t + 1, and it is drawn next: rows 1-9 miss. At row 9 the cold
    // digit becomes 0 (missing since row 0), and rows 10 and 11 draw 9: two hits. Next: 0.
    FormulaList list(Category{1, false}, Kind::Kill);
    list.append(1, line.code, line.text, Kind::Kill);
    const FormulaStats stats = BacktestEngine(1).backtest(list, unitsHistory({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9, 9}),
                                                          BacktestSettings{0, true, false}).at(0);
    EXPECT_EQ(stats.scoredRows, 11);
    EXPECT_EQ(stats.hits, 2);
    EXPECT_EQ(stats.maxMissRun, 9);
    EXPECT_EQ(stats.lastHitRun, 2);
    EXPECT_EQ(stats.next, QStringLiteral("0"));
}
