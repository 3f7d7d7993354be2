#include "aggregate/err_window_rows.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

ErrCounts countsOf(std::array<int, 10> totals, bool kill)
{
    ErrCounts counts{};
    for (size_t d = 0; d < 10; ++d)
        counts[d] = {totals[d], kill ? totals[d] : 0, kill ? 0 : totals[d]};
    return counts;
}

std::string digitOrder(const ErrWindowTable& table)
{
    std::string out;
    for (const ErrWindowRow& row : table.rows())
        out += char('0' + row.digit);
    return out;
}

std::string statisticsText(const ErrWindowTable& table)
{
    std::string out;
    for (const ErrStatisticsRow& row : table.statistics())
        out += std::to_string(row.count) + "/" + std::to_string(row.digitCount) + "/" + row.digits.toStdString() + "|";
    return out;
}

const std::array<int, 10> kExample = {0, 0, 2, 0, 1, 0, 0, 3, 0, 0};

}  // namespace

TEST(ErrWindowRows, KillFormulasListTheUnnamedDigitsFirstAsKept)
{
    ErrWindowTable table;
    table.fill(countsOf(kExample, true), Kind::Kill);
    EXPECT_EQ(digitOrder(table), "0135689427");
    for (const ErrWindowRow& row : table.rows()) {
        const bool named = row.count.total > 0;
        EXPECT_EQ(row.verdict, named ? "滤杀" : "保留") << row.digit;
        EXPECT_EQ(row.textColour, named ? kGreen : kBlack) << row.digit;
        EXPECT_EQ(row.order, &row - table.rows().data() + 1);
    }
    EXPECT_EQ(table.rows()[9].count, (ErrCount{3, 3, 0}));
    EXPECT_EQ(statisticsText(table), "0/7/0 1 3 5 6 8 9 |1/1/4 |2/1/2 |3/1/7 |");
    EXPECT_EQ(table.headers()[2], "杀留Err值");
    EXPECT_EQ(ErrWindowTable::statisticsHeaders(), (QStringList{"杀留次数", "个数", "号码"}));
    EXPECT_EQ(ErrWindowTable::cellText(table.rows()[9], 5), "滤杀");
    EXPECT_EQ(ErrWindowTable::cellText(table.rows()[9], 3), "3");
}

TEST(ErrWindowRows, KeepFormulasListTheNamedDigitsFirstAsKept)
{
    ErrWindowTable table;
    table.fill(countsOf(kExample, false), Kind::Keep);
    EXPECT_EQ(digitOrder(table), "7240135689");
    for (const ErrWindowRow& row : table.rows()) {
        const bool named = row.count.total > 0;
        EXPECT_EQ(row.verdict, named ? "保留" : "滤杀") << row.digit;
        EXPECT_EQ(row.textColour, named ? kBlack : kGreen) << row.digit;
    }
    EXPECT_EQ(table.rows()[0].count, (ErrCount{3, 0, 3}));
    EXPECT_EQ(statisticsText(table), "3/1/7 |2/1/2 |1/1/4 |0/7/0 1 3 5 6 8 9 |");
}

TEST(ErrWindowRows, DoubleClicksReverseKillListsButNeverMakeKeepListsAscending)
{
    ErrWindowTable kill;
    kill.fill(countsOf(kExample, true), Kind::Kill);
    kill.doubleClick(ErrWindowTable::Total);
    EXPECT_TRUE(kill.reversed());
    EXPECT_EQ(digitOrder(kill), "7240135689");
    EXPECT_EQ(kill.headers()[2], "杀留Err值（公式错误值）");
    EXPECT_EQ(statisticsText(kill), "0/7/0 1 3 5 6 8 9 |1/1/4 |2/1/2 |3/1/7 |");  // statistics untouched
    kill.doubleClick(ErrWindowTable::Total);
    EXPECT_EQ(digitOrder(kill), "0135689427");
    kill.doubleClick(ErrWindowTable::Digit);  // reversed again: by digit, descending
    EXPECT_EQ(digitOrder(kill), "9876543210");
    kill.doubleClick(ErrWindowTable::Verdict);  // column 5 keeps the order, flips the flag
    EXPECT_EQ(digitOrder(kill), "9876543210");
    EXPECT_FALSE(kill.reversed());
    kill.doubleClick(ErrWindowTable::Order);
    EXPECT_EQ(digitOrder(kill), "9876543210");
    // A later fill takes the reverse flag along.
    kill.fill(countsOf(kExample, true), Kind::Kill);
    EXPECT_EQ(digitOrder(kill), "7240135689");
    EXPECT_EQ(kill.headers()[2], "杀留Err值");

    ErrWindowTable keep;
    keep.fill(countsOf(kExample, false), Kind::Keep);
    for (int click = 0; click < 3; ++click) {
        keep.doubleClick(ErrWindowTable::Total);
        EXPECT_EQ(digitOrder(keep), "7240135689") << click;
    }
    keep.doubleClick(ErrWindowTable::Kill);  // all kill counts 0: digit order
    EXPECT_EQ(digitOrder(keep), "0123456789");
}

TEST(ErrWindowRows, TabCaptionsAndVerdicts)
{
    EXPECT_EQ(errWindowTabCaption(3), "3星");
    EXPECT_EQ(errVerdict(0, Kind::Kill), "保留");
    EXPECT_EQ(errVerdict(2, Kind::Kill), "滤杀");
    EXPECT_EQ(errVerdict(0, Kind::Keep), "滤杀");
    EXPECT_EQ(errVerdict(2, Kind::Keep), "保留");
}
