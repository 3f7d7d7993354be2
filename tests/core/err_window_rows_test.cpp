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

// The example counts as kill or keep formulas name them.
ErrWindowTable exampleTable(Kind kind)
{
    ErrWindowTable table;
    table.fill(countsOf(kExample, isKill(kind)), kind);
    return table;
}

}  // namespace

// Kill formulas keep the digits they do not name, keep formulas the digits they name: either
// way the kept digits come first, in black, and the rest are filtered out, in green.
TEST(ErrWindowRows, EachKindListsItsKeptDigitsFirst)
{
    struct Case {
        Kind kind;
        const char* order;
        size_t mostNamedRow;  // 7, named three times
        ErrCount mostNamed;
        const char* statistics;
    };
    const Case cases[] = {
        {Kind::Kill, "0135689427", 9, {3, 3, 0}, "0/7/0 1 3 5 6 8 9 |1/1/4 |2/1/2 |3/1/7 |"},
        {Kind::Keep, "7240135689", 0, {3, 0, 3}, "3/1/7 |2/1/2 |1/1/4 |0/7/0 1 3 5 6 8 9 |"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(isKill(c.kind) ? "kill" : "keep");
        const ErrWindowTable table = exampleTable(c.kind);
        EXPECT_EQ(digitOrder(table), c.order);
        for (const ErrWindowRow& row : table.rows()) {
            const bool kept = (row.count.total > 0) != isKill(c.kind);
            EXPECT_EQ(row.verdict, kept ? "保留" : "滤杀") << row.digit;
            EXPECT_EQ(row.textColour, kept ? kBlack : kGreen) << row.digit;
            EXPECT_EQ(row.order, &row - table.rows().data() + 1);
        }
        EXPECT_EQ(table.rows()[c.mostNamedRow].count, c.mostNamed);
        EXPECT_EQ(statisticsText(table), c.statistics);
    }

    const ErrWindowTable kill = exampleTable(Kind::Kill);
    EXPECT_EQ(kill.headers()[2], "杀留Err值");
    EXPECT_EQ(ErrWindowTable::statisticsHeaders(), (QStringList{"杀留次数", "个数", "号码"}));
    EXPECT_EQ(ErrWindowTable::cellText(kill.rows()[9], 5), "滤杀");
    EXPECT_EQ(ErrWindowTable::cellText(kill.rows()[9], 3), "3");
}

TEST(ErrWindowRows, DoubleClicksReverseKillListsButNeverMakeKeepListsAscending)
{
    ErrWindowTable kill = exampleTable(Kind::Kill);
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

    ErrWindowTable keep = exampleTable(Kind::Keep);
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
