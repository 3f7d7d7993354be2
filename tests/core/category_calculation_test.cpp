#include "backtest/category_calculation.h"
#include "backtest/detail_list_rows.h"
#include "calculation_fixtures.h"
#include "refusal_checks.h"
#include "store/schema.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::FormulaRow;

namespace {

std::vector<int> slotNumbers(const CalculationPlan& plan)
{
    std::vector<int> out;
    for (const auto& [slot, table] : plan.slotTables)
        out.push_back(slot);
    return out;
}

QStringList tableNames(const CalculationPlan& plan)
{
    QStringList out;
    for (const auto& [slot, table] : plan.slotTables)
        out << formulaTableName(table);
    return out;
}

// Counts as "digit:total/kill/keep" for the digits that have any.
std::string countsText(const ErrCounts& counts)
{
    std::string out;
    for (int d = 0; d < 10; ++d) {
        const ErrCount& c = counts[size_t(d)];
        if (c.total || c.kill || c.keep)
            out += (out.empty() ? "" : " ") + std::to_string(d) + ":" + std::to_string(c.total) + "/" +
                   std::to_string(c.kill) + "/" + std::to_string(c.keep);
    }
    return out;
}

CalculationRequest requestOf(Category category, bool kill, CalculationMethod method,
                             std::optional<QString> pastPeriod = std::nullopt)
{
    CalculationRequest request;
    request.category = category;
    request.kind = kindOfKillFlag(kill);
    request.method = method;
    request.pastPeriod = pastPeriod;
    return request;
}

std::vector<WalkedFormula> walked(std::initializer_list<int> digits)
{
    std::vector<WalkedFormula> out;
    for (int d : digits)
        out.push_back({true, d});
    return out;
}

}  // namespace

TEST(CategoryCalculation, DispatchCodesChoosePlayPeriodMethodAndSlots)
{
    struct Case {
        int code;
        bool direct;
        CalculationPeriod period;
        CalculationMethod method;
        std::vector<int> slotList;
        QStringList tables;
    };
    const QStringList direct3 = {"Gongshi1D", "Gongshi2D", "Gongshi3D"};
    const Case cases[] = {
        {0, false, CalculationPeriod::Next, CalculationMethod::Best, {0}, {"Gongshi3G"}},
        {1, true, CalculationPeriod::Next, CalculationMethod::Best, {1, 2, 3}, direct3},
        {2, false, CalculationPeriod::Next, CalculationMethod::Selected, {0}, {"Gongshi3G"}},
        {3, true, CalculationPeriod::Next, CalculationMethod::Selected, {1, 2, 3}, direct3},
        {4, false, CalculationPeriod::Past, CalculationMethod::Best, {0}, {"Gongshi3G"}},
        {5, true, CalculationPeriod::Past, CalculationMethod::Best, {1, 2, 3}, direct3},
        {6, false, CalculationPeriod::Past, CalculationMethod::Selected, {0}, {"Gongshi3G"}},
        {7, true, CalculationPeriod::Past, CalculationMethod::Selected, {1, 2, 3}, direct3},
    };
    for (const Case& c : cases) {
        const Category category{3, !c.direct};
        EXPECT_EQ(calculationCode(category, c.method, c.period), c.code);
        const CalculationPlan plan = planOfCode(c.code, category);
        EXPECT_EQ(plan.direct, c.direct) << c.code;
        EXPECT_EQ(plan.period, c.period) << c.code;
        EXPECT_EQ(plan.method, c.method) << c.code;
        EXPECT_EQ(slotNumbers(plan), c.slotList) << c.code;
        EXPECT_EQ(tableNames(plan), c.tables) << c.code;
        EXPECT_EQ(plan.detailListAvailable, c.method == CalculationMethod::Selected) << c.code;
    }
    EXPECT_EQ(slotNumbers(planOfCode(3, {5, false})), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(tableNames(planOfCode(2, {2, true})), QStringList{"Gongshi2G"});
}

TEST(CategoryCalculation, QuotaWalksStopAtMDistinctDigits)
{
    struct Case {
        const char* what;
        std::vector<WalkedFormula> formulas;
        bool kill;
        std::optional<int> stopAt;
        std::string counts;
        int walked;
    };
    std::vector<WalkedFormula> deselectedFirst = walked({0, 1, 2, 3});
    deselectedFirst[0].selected = false;
    const Case cases[] = {
        {"kill, quota 3: seven distinct digits killed", walked({1, 1, 2, 3, 4, 5, 6, 7, 8, 9}), true,
         quotaDistinctDigits(Kind::Kill, 3), "1:2/2/0 2:1/1/0 3:1/1/0 4:1/1/0 5:1/1/0 6:1/1/0 7:1/1/0", 8},
        {"kill: one digit over and over runs to the end of the table", walked({5, 5, 5, 5}), true,
         quotaDistinctDigits(Kind::Kill, 3), "5:4/4/0", 4},
        {"keep, quota 3: stops after the third kept digit", walked({4, 4, 2, 9, 1, 0}), false,
         quotaDistinctDigits(Kind::Keep, 3), "2:1/0/1 4:2/0/2 9:1/0/1", 4},
        {"a deselected formula first is skipped and marks nothing", deselectedFirst, false, 2,
         "1:1/0/1 2:1/0/1", 3},
        {"negative and missing digits count nowhere", walked({-3, kNoDigit, 2, -9}), true, std::nullopt,
         "2:1/1/0", 4},
        {"keep quota 0 takes nothing", walked({1, 2}), false, quotaDistinctDigits(Kind::Keep, 0), "", 0},
        {"kill quota 0 kills all ten digits", walked({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 9}), true,
         quotaDistinctDigits(Kind::Kill, 0), "0:1/1/0 1:1/1/0 2:1/1/0 3:1/1/0 4:1/1/0 5:1/1/0 6:1/1/0 7:1/1/0 8:1/1/0 9:1/1/0", 10},
        {"selected method: every selected formula", walked({3, 3, 7, 3}), true, std::nullopt, "3:3/3/0 7:1/1/0", 4},
    };
    for (const Case& c : cases) {
        const DigitWalk walk = walkDigits(c.formulas, kindOfKillFlag(c.kill), c.stopAt);
        EXPECT_EQ(countsText(walk.counts), c.counts) << c.what;
        EXPECT_EQ(walk.walked, c.walked) << c.what;
    }
}

TEST(CategoryCalculation, TheWalkEvaluatesOnlyTheFormulasItReaches)
{
    int asked = 0;
    const std::vector<bool> selected(100, true);
    walkDigits(100, [&asked](int i) { ++asked; return i % 10; }, selected, Kind::Keep, 2);
    EXPECT_EQ(asked, 2);
}

class CalculationStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        history = test::drawsOf({"12345", "67890", "24680", "13579"});  // 160121001 .. 004
        test::storeDraws(temp.store(), history);
        columns = HistoryColumns(history);
        test::storeFormulas(temp.store(), {1, false}, {{"L5A"}, {"L1A"}});
        test::storeFormulas(temp.store(), {2, false}, {{"L4A+1"}});
        test::storeFormulas(temp.store(), {3, false}, {{"L3A"}, {"L3A+L5A"}, {"L1A+XYZ"}, {"L1A/0"}, {"L2A", {}, false}});
        test::storeFormulas(temp.store(), {3, true}, {{"L1A", {}, false}, {"L2A+1", {}, false}, {"L2A+1", {}, false}});
    }

    Result<CategoryCalculation> calculate(CalculationRequest request)
    {
        return calculateCategory(temp.store(), columns, request);
    }

    test::TempStore temp;
    std::vector<DrawRecord> history;
    HistoryColumns columns;
};

TEST_F(CalculationStore, SelectedFormulasOfThreeStarDirectPlayFillSlotsOneToThree)
{
    auto result = calculate(requestOf(Category{3, false}, true, CalculationMethod::Selected));
    ASSERT_TRUE(result) << result.error().message.toStdString();
    EXPECT_EQ(result->period, "160121005");
    EXPECT_FALSE(result->drawn);
    ASSERT_EQ(result->slotResults.size(), 3u);
    // The last draw 13579 gives L5A 9 and L1A 1; L4A+1 = 8; L3A 5 and L3A+L5A 14 -> 4.
    EXPECT_EQ(countsText(result->slotResults[0].counts), "1:1/1/0 9:1/1/0");
    EXPECT_EQ(countsText(result->slotResults[1].counts), "8:1/1/0");
    EXPECT_EQ(countsText(result->slotResults[2].counts), "4:1/1/0 5:1/1/0");
    EXPECT_EQ(result->slotResults[2].countedFormulas, 2);
    // The unparseable code text is reported and left out; the one without a value just counts nowhere.
    ASSERT_EQ(result->problems().size(), 1);
    EXPECT_TRUE(result->problems()[0].contains("L1A+XYZ")) << result->problems()[0].toStdString();
    // Only formulas of the chosen kind take part: the keep formula L2A of Gongshi3D does not.
    EXPECT_EQ(result->slotResults[2].formulas.size(), 4u);

    NextPeriodCounts tables;
    tables.set(0, result->slotResults[0].counts);  // left over from an earlier group calculation
    result->storeInto(tables);
    EXPECT_EQ(countsText(tables.slot(3)), "4:1/1/0 5:1/1/0");
    EXPECT_EQ(countsText(tables.slot(0)), "1:1/1/0 9:1/1/0");
}

TEST_F(CalculationStore, APastPeriodTakesTheValuesOfTheRowBeforeIt)
{
    CalculationRequest request = requestOf(Category{3, false}, true, CalculationMethod::Selected, QStringLiteral("160121003"));
    auto result = calculate(request);
    ASSERT_TRUE(result) << result.error().message.toStdString();
    EXPECT_EQ(result->plan.code, 7);
    EXPECT_EQ(result->period, "160121003");
    EXPECT_EQ(result->drawn, (Digits{2, 4, 6, 8, 0}));
    // Row before: 67890.
    EXPECT_EQ(countsText(result->slotResults[0].counts), "0:1/1/0 6:1/1/0");
    EXPECT_EQ(countsText(result->slotResults[1].counts), "0:1/1/0");
    EXPECT_EQ(countsText(result->slotResults[2].counts), "8:2/2/0");
    // The formula list still shows each selected formula's digit for the next period.
    EXPECT_EQ(result->slotResults[0].formulas[0].nextDigit, 9);
    EXPECT_EQ(result->slotResults[0].formulas[0].digit, 0);
}

TEST_F(CalculationStore, KeepFormulasCountAsKeepInGroupPlaySlotZero)
{
    auto result = calculate(requestOf(Category{3, true}, false, CalculationMethod::Selected));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->plan.code, 2);
    ASSERT_EQ(result->slotResults.size(), 1u);
    EXPECT_EQ(result->slotResults[0].slot, 0);
    // 13579: L1A 1, L2A+1 = 4 twice.
    EXPECT_EQ(countsText(result->slotResults[0].counts), "1:1/0/1 4:2/0/2");
}

TEST_F(CalculationStore, TheSelectionBelongsToTheCategorysOwnTable)
{
    FormulaSelection selection;
    selection.set(2, true);  // L3A+L5A of Gongshi3D
    CalculationRequest request = requestOf(Category{3, false}, true, CalculationMethod::Selected);
    request.selection = selection;
    auto result = calculate(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(countsText(result->slotResults[2].counts), "4:1/1/0");
    EXPECT_EQ(countsText(result->slotResults[0].counts), "1:1/1/0 9:1/1/0");  // Gongshi1D: all
    EXPECT_EQ(result->slotResults[2].formulas[0].nextDigit, kNoDigit);  // unselected: no 计算值
    EXPECT_TRUE(result->problems().isEmpty());  // the bad formula was not selected

    // The detail list: the selected formulas of the table calculated last, in list order.
    const auto rows = detailListRows(*result, true, [](int idx) { return QStringLiteral("rate%1").arg(idx); });
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].number, 1);
    EXPECT_EQ(rows[0].formula, "公式L3A+L5A");
    EXPECT_EQ(rows[0].starWord, "三星");
    EXPECT_EQ(rows[0].killWord, "杀");
    EXPECT_EQ(rows[0].result, "4");
    EXPECT_EQ(rows[0].rateText, "rate2");
    EXPECT_EQ(detailListHeaders(), (QStringList{"序号", "公式", "类型", "生杀", "结果", "号码"}));
}

TEST_F(CalculationStore, PeriodsWithoutARowBeforeThemGetAMessageAndNoCounts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"160121009", "历史号码中没有第160121009期"},
        {"160121001", "第160121001期是历史号码的第一期"},
        {"16012100", "验算期号无效"},
        {"abc", "验算期号无效"},
    };
    for (const auto& [period, message] : cases) {
        CalculationRequest request = requestOf(Category{3, true}, false, CalculationMethod::Selected, QString::fromLatin1(period));
        EXPECT_TRUE(test::refusedWith(calculate(request), QString::fromUtf8(message))) << period;
    }
    auto empty = calculateCategory(temp.store(), HistoryColumns(), requestOf(Category{3, true}, false, CalculationMethod::Selected));
    ASSERT_FALSE(empty);
    EXPECT_TRUE(empty.error().message.contains("历史号码为空"));
}

TEST(CategoryCalculationBest, WalksTheStoredStatisticsOrderUntilTheQuota)
{
    test::TempStore temp;
    const auto history = test::drawsOf({"12345", "67890"});
    test::storeDraws(temp.store(), history);
    // Constant formulas name the same digit on every row; statistics: rate, max miss, max hit, last miss, last hit.
    test::storeFormulas(temp.store(), {2, true},
                        {{"1", StoredStatistics{60, 1, 5, 0, 1}},
                         {"2", StoredStatistics{90, 1, 5, 0, 1}},  // best, but deselected below
                         {"3", StoredStatistics{80, 1, 7, 0, 1}},
                         {"4", StoredStatistics{80, 1, 7, 0, 3}},
                         {"4", StoredStatistics{70, 1, 5, 0, 1}},
                         {"5"},  // never back-tested: last
                         {"6", StoredStatistics{75, 1, 5, 0, 1}}});
    FormulaSelection selection;
    selection.selectAll({1, 2, 3, 4, 5, 6, 7});
    selection.set(2, false);
    CalculationRequest request = requestOf(Category{2, true}, true, CalculationMethod::Best);
    request.selection = selection;
    request.sort.keepLimit = 6;  // kill 4 distinct digits
    auto result = calculateCategory(temp.store(), HistoryColumns(history), request);
    ASSERT_TRUE(result) << result.error().message.toStdString();
    EXPECT_EQ(result->plan.code, 0);
    EXPECT_FALSE(result->plan.detailListAvailable);
    // Order: 2 (skipped), 4 (rate 80, hit 7, last 3), 3, 7 (75), 5 (70, digit 4 again), 1 (60) -> four digits.
    EXPECT_EQ(countsText(result->slotResults[0].counts), "1:1/1/0 3:1/1/0 4:2/2/0 6:1/1/0");
    EXPECT_EQ(result->slotResults[0].countedFormulas, 5);
    EXPECT_FALSE(result->slotResults[0].formulas[5].counted);  // "5" was never reached

    // Keep formulas with the same order keep C = 2 digits; ascending rate puts the untested one last still.
    request.kind = Kind::Keep;
    request.sort.keepLimit = 2;
    request.sort.setChoices(*parseSortKeys(u"sglGsRate:asc,intGsTrueCon,intGsTrueLst"));
    auto kept = calculateCategory(temp.store(), HistoryColumns(history), request);
    ASSERT_TRUE(kept);
    EXPECT_EQ(countsText(kept->slotResults[0].counts), "");  // the table holds no keep formulas
    test::storeFormulas(temp.store(), {2, true}, {{"8", StoredStatistics{10, 0, 0, 0, 0}, false},
                                                  {"9", StoredStatistics{20, 0, 0, 0, 0}, false},
                                                  {"8", StoredStatistics{30, 0, 0, 0, 0}, false},
                                                  {"0", StoredStatistics{40, 0, 0, 0, 0}, false}});
    request.selection.reset();
    kept = calculateCategory(temp.store(), HistoryColumns(history), request);
    ASSERT_TRUE(kept);
    EXPECT_EQ(countsText(kept->slotResults[0].counts), "8:1/0/1 9:1/0/1");

    request.sort.keepLimit = 11;
    EXPECT_FALSE(calculateCategory(temp.store(), HistoryColumns(history), request));
}
