#include "backtest/formula_breakdown.h"
#include "calculation_fixtures.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(FormulaBreakdown, SumsShowEachTermAndTheirSum)
{
    const HistoryColumns history = test::columnsOf({"12345", "38146"}, "160121119");
    const struct {
        const char* code;
        const char* expression;
        const char* value;
    } cases[] = {
        {"L1A+L2A", "3+8", "11"},
        {"(L5A MOD 3)+L2A+7", "0+8+7", "15"},
        {"l5a + ( L2A mod 5 ) + 0", "6+3+0", "9"},
        {"LH", "22", "22"},
        {"L1A*2-L3A", "3*2-1", "5"},          // not a sum: the values put into the code text
        {"(L1A+L2A)*L5A", "(3+8)*6", "66"},
        {"L1A/L2A", "3/8", "0.375"},
        {"L1A/(L4A-4)", "3/(4-4)", "无值"},
        {"7+L1A", "7+3", "10"},               // a number before the last term
    };
    for (const auto& c : cases) {
        auto breakdown = breakDownFormula(history, QString::fromLatin1(c.code), QStringLiteral("公式"));
        ASSERT_TRUE(breakdown) << c.code;
        ASSERT_EQ(breakdown->rows.size(), 2u);
        const BreakdownRow& row = breakdown->rows[1];
        EXPECT_EQ(row.period, "160121120");  // the last row: the value for the next period
        EXPECT_EQ(row.digits, "38146");
        EXPECT_EQ(row.expression, c.expression) << c.code;
        EXPECT_EQ(row.value, c.value) << c.code;
    }
}

TEST(FormulaBreakdown, HeadersTermRuleAndRefusals)
{
    const HistoryColumns history = test::columnsOf({"38146"});
    auto breakdown = breakDownFormula(history, QStringLiteral("L1A+L2A"), QStringLiteral("万位码+千位码"));
    ASSERT_TRUE(breakdown);
    EXPECT_TRUE(breakdown->termwise);
    EXPECT_EQ(breakdown->headers, (QStringList{"期号", "当期号码", "万位码+千位码", "计算值(算下期)"}));
    EXPECT_EQ(breakDownFormula(history, QStringLiteral("L1A*2"), {})->headers[2], "L1A*2");

    const std::pair<const char*, int> terms[] = {
        {"L1A+L2A", 2}, {"(L5A MOD 3)+L2A+7", 3}, {"L1A", 1}, {"7+L1A", -1}, {"L1A+(L2A+L3A)", -1},
        {"(L1A MOD 0)+1", -1}, {"L1A-L2A", -1}, {"L1A+", -1}, {"(L1A MOD 3", -1}, {"L1A+2.5", -1},
    };
    for (const auto& [code, count] : terms) {
        const auto parsed = sumTerms(QString::fromLatin1(code));
        EXPECT_EQ(parsed ? int(parsed->size()) : -1, count) << code;
    }

    auto refused = breakDownFormula(history, QStringLiteral("L1A+XYZ"), {});
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.error().message.contains("XYZ")) << refused.error().message.toStdString();
    EXPECT_TRUE(breakDownFormula(HistoryColumns(), QStringLiteral("L1A"), {})->rows.empty());
}
