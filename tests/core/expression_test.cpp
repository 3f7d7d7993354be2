#include "history/draw_history.h"
#include "io/text_codec.h"
#include "language/column_evaluator.h"
#include "language/expression.h"
#include "random_formula.h"
#include "refusal_checks.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace qeltaro;

namespace {

const DrawRecord& row12345()
{
    static const DrawRecord r = deriveDrawRecord(*PeriodNumber::parse(QStringLiteral("160121119"), Game{}), {1, 2, 3, 4, 5}, std::nullopt, Game{});
    return r;
}

double valueOf(const char* code)
{
    auto compiled = compileFormula(QString::fromUtf8(code));
    EXPECT_TRUE(compiled) << code << ": " << (compiled ? "" : compiled.error().message.toStdString());
    return compiled ? compiled->evaluate(row12345().values.data()) : -999999;
}

}  // namespace

TEST(Expression, PrecedenceAndAssociativity)
{
    const std::pair<const char*, double> cases[] = {
        {"2+3*4", 14}, {"10 MOD 4*2", 2}, {"1+7 MOD 4", 4}, {"8/4/2", 1}, {"7-2-1", 4},
        {"-3*2", -6}, {"2*-3", -6}, {"-(2+3)", -5}, {"2-(-3)", 5}, {"+4", 4}, {"1.5*2", 3},
        {".5+1", 1.5}, {"(((7)))", 7}, {"7 mod 4", 3}, {"9 MOD 4 MOD 3", 1}, {"2*3 MOD 4+1", 3},
    };
    for (const auto& [code, expected] : cases)
        EXPECT_DOUBLE_EQ(valueOf(code), expected) << code;
}

TEST(Expression, ColumnsAndFusedOperands)
{
    // Draw 12345 in issue 119: L1A=1 .. L5A=5, LH=15, QH=120.
    const std::pair<const char*, double> cases[] = {
        {"L1A+L2A+L3A+L4A+L5A", 15}, {"LH", 15}, {"l1a", 1}, {"L1A-(L2A-L3A)", 2}, {"L1A-L2A-L3A", -4},
        {"L1A/(L2A*2)", 0.25}, {"(L1A+L2A) MOD (L3A+1)", 3}, {"L1A*(L2A+3)", 5}, {"-(L1A+L2A)", -3},
        {"2-(-L1A)", 3}, {"QH+L5J", 152}, {"L5A MOD L2A", 1}, {"L4A/L2A+L1A*3", 5}, {"10-L5A*L2A", 0},
        {"(10-L5A)*L2A", 10}, {"L5A-L1A MOD 3", 4},
    };
    for (const auto& [code, expected] : cases)
        EXPECT_DOUBLE_EQ(valueOf(code), expected) << code;
}

TEST(Expression, ModRoundsHalfToEvenAndKeepsTheDividendsSign)
{
    EXPECT_DOUBLE_EQ(valueOf("-13 MOD 10"), -3);
    EXPECT_DOUBLE_EQ(valueOf("13 MOD -10"), 3);
    EXPECT_DOUBLE_EQ(valueOf("2.5 MOD 10"), 2);
    EXPECT_DOUBLE_EQ(valueOf("3.5 MOD 10"), 4);
    EXPECT_DOUBLE_EQ(valueOf("7 MOD 2.5"), 1);  // 2.5 rounds to 2
    EXPECT_TRUE(std::isnan(valueOf("7 MOD 0")));
    EXPECT_TRUE(std::isnan(valueOf("7 MOD 0.4")));
    EXPECT_TRUE(std::isnan(valueOf("L1A/(L2A-2)")));
    EXPECT_TRUE(std::isnan(valueOf("1/0+5")));
    EXPECT_TRUE(std::isnan(valueOf("(1/0) MOD 3")));
}

TEST(Expression, ModEqualsTheFloatingRemainderOfTheRoundedOperandsEverywhere)
{
    // Whole-number shortcut and floating remainder must agree bit for bit, the sign of a zero
    // included, at the edge of exact whole numbers and beyond it.
    const double big = 9007199254740992.0;  // 2^53
    const double values[] = {0.0, -0.0, 1, -1, 2.5, -2.5, 7, -7, 10, -10, 12, -12, 123456789, -987654321,
                             2147483647, -2147483647, 2147483648.0, -2147483648.0, 2147483646.5, 0.5, -0.5,
                             big - 1, -(big - 1), big, -big, big * 4, -big * 4, 1e300, -1e300,
                             std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (double a : values) {
        for (double b : values) {
            const double divisor = std::nearbyint(b);
            if (divisor == 0)
                continue;
            const double expected = std::fmod(std::nearbyint(a), divisor);
            const double got = formulaMod(a, b);
            SCOPED_TRACE(testing::Message() << a << " MOD " << b);
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(got));
            } else {
                EXPECT_EQ(got, expected);
                EXPECT_EQ(std::signbit(got), std::signbit(expected));
            }
        }
    }
}

TEST(Expression, PredictedDigit)
{
    EXPECT_EQ(predictedDigit(-13), -3);
    EXPECT_EQ(predictedDigit(17), 7);
    EXPECT_EQ(predictedDigit(12.5), 2);
    EXPECT_EQ(predictedDigit(13.5), 4);
    EXPECT_EQ(predictedDigit(-0.4), 0);
    EXPECT_EQ(predictedDigit(0.25), 0);
    EXPECT_EQ(predictedDigit(1e17 + 3), 0);  // beyond 64-bit fast path, still a digit
    EXPECT_EQ(predictedDigit(std::nan("")), kNoDigit);
    EXPECT_EQ(predictedDigit(INFINITY), kNoDigit);
}

TEST(Expression, RefusesEverythingElseWithPositionAndText)
{
    const std::pair<const char*, const char*> cases[] = {
        {"L1A); DROP TABLE Lishi; --", "无法识别“;”"},
        {"L1A+'x'", "无法识别“'”"},
        {"L1A+[Lishi]", "“[”"},
        {"L1A+XYZ", "未知参数“XYZ”"},
        {"L1A+canshu", "未知参数“canshu”"},
        {"L1A+某某", "无法识别“某某”"},
        {"(L1A+2", "缺少右括号"},
        {"L1A+2)", "多余的“)”"},
        {"L1A L2A", "多余的“L2A”"},
        {"L1A+", "不完整"},
        {"", "公式为空"},
        {"   ", "公式为空"},
        {"L1A++", "不完整"},
        {"*L1A", "而不是“*”"},
        {"1..2", "多余的“.2”"},
        {"L1A＋1", "无法识别“＋”"},
        {"L1A;", "无法识别“;”"},
        {"L1A--1e5", "未知参数“e5”"},
    };
    for (const auto& [code, fragment] : cases)
        EXPECT_TRUE(test::refusedWith(compileFormula(QString::fromUtf8(code)), QString::fromUtf8(fragment))) << code;
    auto error = compileFormula(u"L1A+XYZ");
    EXPECT_NE(error.error().message.toStdString().find("第5个字符"), std::string::npos);
}

TEST(Expression, HostileSizesAreRefusedOrHandledWithoutCrashing)
{
    EXPECT_FALSE(compileFormula(QString(100000, u'(')));
    EXPECT_FALSE(compileFormula(QString(100000, u'-') + QStringLiteral("1")));
    EXPECT_FALSE(compileFormula(QString(300, u'(') + QStringLiteral("1") + QString(300, u')')));
    EXPECT_TRUE(compileFormula(QString(200, u'(') + QStringLiteral("1") + QString(200, u')')));
    // A long flat sum needs no depth at all.
    QString sum = QStringLiteral("L1A");
    for (int i = 0; i < 20000; ++i)
        sum += QStringLiteral("+L2A");
    auto compiled = compileFormula(sum);
    ASSERT_TRUE(compiled);
    EXPECT_DOUBLE_EQ(compiled->evaluate(row12345().values.data()), 40001);
    // Deep right-nested operands at every precedence level stay within the evaluation stack.
    QString nested = QStringLiteral("1");
    for (int i = 0; i < 250; ++i)
        nested = QStringLiteral("1+2 MOD 3*(%1)").arg(nested);
    auto deep = compileFormula(nested);
    if (deep) {
        EXPECT_FALSE(std::isnan(deep->evaluate(row12345().values.data())));
    }
}

TEST(Expression, ColumnEvaluationMatchesRowEvaluationOnTheSampleHistory)
{
    qeltaro::test::TempStore temp;
    ASSERT_TRUE(DrawHistory(temp.store()).importText(qeltaro::test::sampleHistoryLines(600)));
    const HistoryColumns history(*HistoryTable(temp.store()).all());
    ASSERT_EQ(history.rowCount(), 600);

    std::mt19937 random(20261208);
    ColumnEvaluator evaluator;
    std::vector<double> values;
    for (int f = 0; f < 300; ++f) {
        const QString code = test::randomFormula(random, 6);
        auto compiled = compileFormula(code);
        ASSERT_TRUE(compiled) << code.toStdString();
        evaluator.evaluate(*compiled, history, values);
        ASSERT_EQ(values.size(), 600u);
        for (int r = 0; r < history.rowCount(); ++r) {
            const double expected = compiled->evaluate(history.rowValues(r));
            if (std::isnan(expected))
                ASSERT_TRUE(std::isnan(values[size_t(r)])) << code.toStdString() << " row " << r;
            else
                ASSERT_DOUBLE_EQ(values[size_t(r)], expected) << code.toStdString() << " row " << r;
        }
    }
}

TEST(Expression, ColumnModAgreesWithRowModBitForBitOnEveryRoad)
{
    // The column evaluator takes a shortcut when a whole column is whole and in int range; each
    // formula below either takes it (signed zeros, negative divisors) or must fall back for some
    // rows (fractions, a zero divisor, dividends beyond int range).
    qeltaro::test::TempStore temp;
    ASSERT_TRUE(DrawHistory(temp.store()).importText(qeltaro::test::sampleHistoryLines(300)));
    const HistoryColumns history(*HistoryTable(temp.store()).all());
    const char* formulas[] = {"(L1A-5) MOD 3",       "(0-L1A) MOD (L2A-4)",        "L1A MOD (L2A-5)",
                              "(L1A/2) MOD 3",       "(L1A*1000000000) MOD 7",     "L1A MOD 0.4",
                              "(L1A*L2A-40) MOD L3A", "(L1A-4.5) MOD (0-2)",       "(L1A-L2A) MOD 1"};
    ColumnEvaluator evaluator;
    std::vector<double> values;
    for (const char* code : formulas) {
        auto compiled = compileFormula(QString::fromLatin1(code));
        ASSERT_TRUE(compiled) << code;
        evaluator.evaluate(*compiled, history, values);
        for (int r = 0; r < history.rowCount(); ++r) {
            const double expected = compiled->evaluate(history.rowValues(r));
            SCOPED_TRACE(testing::Message() << code << " row " << r);
            if (std::isnan(expected)) {
                ASSERT_TRUE(std::isnan(values[size_t(r)]));
            } else {
                ASSERT_EQ(values[size_t(r)], expected);
                ASSERT_EQ(std::signbit(values[size_t(r)]), std::signbit(expected));
            }
        }
    }
}
