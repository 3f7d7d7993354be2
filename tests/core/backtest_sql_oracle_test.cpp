// The engine against SQLite evaluating the same formulas: random expressions of sums, products,
// MOD and division are written once in the program's language and once as SQLite's SQL, and
// both back-tests must agree on every value and every statistic.

#include "backtest/backtest_engine.h"
#include "draw_builder.h"
#include "language/column_evaluator.h"
#include "score_checks.h"
#include "sql_statement_backtest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

using namespace qeltaro;

namespace {

enum class Op { Leaf, Add, Sub, Mul, Div, Mod };

struct Node {
    Op op = Op::Leaf;
    std::string leaf;  // a column code or a number
    std::unique_ptr<Node> left, right;
};

int precedence(Op op)
{
    switch (op) {
    case Op::Mul: case Op::Div: return 3;
    case Op::Mod: return 2;
    case Op::Add: case Op::Sub: return 1;
    case Op::Leaf: break;
    }
    return 4;
}

const char* symbol(Op op)
{
    switch (op) {
    case Op::Add: return "+";
    case Op::Sub: return "-";
    case Op::Mul: return "*";
    case Op::Div: return "/";
    case Op::Mod: return " MOD ";
    case Op::Leaf: break;
    }
    return "";
}

class Generator {
public:
    explicit Generator(std::uint32_t seed) : random_(seed) {}

    std::unique_ptr<Node> make(int depth)
    {
        auto node = std::make_unique<Node>();
        if (depth == 0 || pick(4) == 0) {
            switch (pick(6)) {
            case 0: node->leaf = std::to_string(pick(13)); break;             // 0..12, zero included
            case 1: node->leaf = std::to_string(pick(20)) + ".5"; break;      // halves test the rounding
            default: node->leaf = parameterCode(1 + pick(kParameterCount)).toStdString(); break;
            }
            return node;
        }
        static const Op ops[] = {Op::Add, Op::Add, Op::Sub, Op::Mul, Op::Div, Op::Mod, Op::Mod};
        node->op = ops[pick(7)];
        node->left = make(depth - 1);
        node->right = make(depth - 1);
        return node;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    std::mt19937 random_;
};

// The program's text: parentheses only where precedence and left-to-right order need them.
std::string programText(const Node& n)
{
    if (n.op == Op::Leaf)
        return n.leaf;
    std::string left = programText(*n.left);
    std::string right = programText(*n.right);
    if (n.left->op != Op::Leaf && precedence(n.left->op) < precedence(n.op))
        left = "(" + left + ")";
    if (n.right->op != Op::Leaf && precedence(n.right->op) <= precedence(n.op))
        right = "(" + right + ")";
    return left + symbol(n.op) + right;
}

// SQLite's text: real arithmetic throughout, so / is real division and no product overflows an
// integer; MOD through qmod().
std::string sqlText(const Node& n)
{
    if (n.op == Op::Leaf)
        return "CAST(" + n.leaf + " AS REAL)";
    const std::string left = sqlText(*n.left);
    const std::string right = sqlText(*n.right);
    if (n.op == Op::Mod)
        return "qmod(" + left + ", " + right + ")";
    return "(" + left + " " + symbol(n.op) + " " + right + ")";
}

bool sameValue(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

}  // namespace

TEST(BacktestSqlOracle, EngineAgreesWithSqliteOnRandomFormulas)
{
    const std::vector<DrawRecord> rows = test::randomDraws(400, 2024);
    const HistoryColumns history(rows);
    test::SqlStatementBacktest sql(rows);
    Generator generator(99);
    const BacktestEngine engine(1);
    ColumnEvaluator evaluator;
    const Category categories[] = {{1, false}, {3, false}, {5, false}, {2, true}, {3, true}, {5, true}};
    const BacktestSettings settings[] = {{0, true, true}, {0, true, false}, {150, true, true}, {150, false, false}};

    int withoutValue = 0;
    int withMod = 0;
    int withDivision = 0;
    for (int i = 0; i < 240; ++i) {
        const auto tree = generator.make(1 + i % 4);
        const QString code = QString::fromStdString(programText(*tree));
        const std::string expression = sqlText(*tree);
        withMod += code.contains(QStringLiteral("MOD"));
        withDivision += code.contains(u'/');
        SCOPED_TRACE(code.toStdString() + "  ==  " + expression);

        auto compiled = compileFormula(code);
        ASSERT_TRUE(compiled) << compiled.error().message.toStdString();
        std::vector<double> values;
        evaluator.evaluate(*compiled, history, values);
        const std::vector<double> expected = sql.evaluate(expression);
        ASSERT_EQ(values.size(), expected.size());
        for (size_t r = 0; r < values.size(); ++r)
            ASSERT_TRUE(sameValue(values[r], expected[r])) << "row " << r << ": " << values[r] << " vs " << expected[r];
        withoutValue += std::isnan(values.back());

        const Category category = categories[i % 6];
        const BacktestSettings setting = settings[(i / 6) % 4];
        const bool kill = i % 2 == 0;
        FormulaList list(category, kindOfKillFlag(kill));
        list.append(1, code, QString(), kindOfKillFlag(kill));
        const FormulaStats mine = engine.backtest(list, history, setting).at(0);
        const FormulaStats theirs = sql.backtest(expression, kill, category, setting);
        test::expectSameScores(mine, theirs, "the engine ~ SQLite");
        EXPECT_EQ(mine.next, theirs.next);
    }
    // The mix covered what it is meant to cover.
    EXPECT_GT(withMod, 40);
    EXPECT_GT(withDivision, 40);
    EXPECT_GT(withoutValue, 0);
}
