#include "search/scheme_run.h"

#include "calculation_fixtures.h"
#include "history/draw_history.h"
#include "run_to_end.h"
#include "search/search_category.h"
#include "store/formula_table.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

std::shared_ptr<const HistoryColumns> sampleHistory(int rows)
{
    return std::make_shared<const HistoryColumns>(test::sampleHistoryColumns(rows));
}

// Thresholds every candidate meets, so each category's target is found at once.
SchemeRequest openScheme()
{
    SchemeRequest r;
    for (int number = 1; number <= 10; ++number) {
        r.thresholds[size_t(number - 1)] = {0, 100, 0, 32768, 0, 32768, 0, 32768, 0, 32768};
        r.operandCounts[size_t(number - 1)] = 2 + number;
    }
    r.constant = TailConstant::randomDigit();
    r.window = {300, true};
    r.seed = 17;
    r.threads = 2;
    return r;
}

}  // namespace

TEST(SchemeRun, WithoutWantedCountsItVisitsTheNineCategoriesAndEvaluatesNothing)
{
    const auto history = sampleHistory(300);
    std::vector<int> reported;
    RunControl control;
    const SchemeOutcome outcome = runScheme(*history, openScheme(), control, [&](const SchemeProgress& p) {
        if (reported.empty() || reported.back() != p.category)
            reported.push_back(p.category);
    });
    ASSERT_EQ(outcome.visited.size(), 9u);
    std::vector<int> visited;
    for (const SchemeCategoryOutcome& c : outcome.visited) {
        visited.push_back(c.number);
        EXPECT_EQ(c.end, SchemeCategoryEnd::Skipped);
        EXPECT_EQ(c.verified, 0u);
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 5, 7, 8, 9, 10}));  // never 6
    EXPECT_EQ(reported, visited);
    EXPECT_TRUE(outcome.completed);
    EXPECT_TRUE(outcome.found.empty());
}

TEST(SchemeRun, FindsEachTargetInTurnAndSkipsWhatNeedsNothing)
{
    const auto history = sampleHistory(400);
    SchemeRequest r = openScheme();
    r.wanted[0] = 3;   // 1D
    r.wanted[2] = 5;   // 3D: holds 5 already
    r.wanted[3] = 0;   // 4D: 0 wanted
    r.wanted[5] = 9;   // 6: never searched
    r.wanted[6] = 2;   // 2G
    r.wanted[9] = 4;   // 5G: holds 1
    r.held[2] = 5;
    r.held[9] = 1;

    r.mode = CountMode::Hold;
    const SchemeOutcome hold = test::runToEnd(*history, r);
    std::vector<std::pair<int, long long>> found;
    for (const SchemeCategoryOutcome& c : hold.visited) {
        if (c.end != SchemeCategoryEnd::Skipped)
            found.emplace_back(c.number, c.found);
        else
            EXPECT_EQ(c.verified, 0u) << c.number;
    }
    EXPECT_EQ(found, (std::vector<std::pair<int, long long>>{{1, 3}, {7, 2}, {10, 3}}));
    ASSERT_EQ(hold.found.size(), 8u);
    EXPECT_EQ(hold.found[0].category, (Category{1, false}));
    EXPECT_EQ(hold.found[3].category, (Category{2, true}));
    EXPECT_EQ(hold.found[7].category, (Category{5, true}));
    // Each category with its own operand count.
    EXPECT_EQ(hold.found[7].code.count(u'+'), 10 + 2);

    r.mode = CountMode::Add;
    const SchemeOutcome add = test::runToEnd(*history, r);
    found.clear();
    for (const SchemeCategoryOutcome& c : add.visited) {
        if (c.end != SchemeCategoryEnd::Skipped)
            found.emplace_back(c.number, c.found);
    }
    EXPECT_EQ(found, (std::vector<std::pair<int, long long>>{{1, 3}, {3, 5}, {7, 2}, {10, 4}}));

    // The same seed gives the same formulas with one thread.
    r.threads = 1;
    const SchemeOutcome single = test::runToEnd(*history, r);
    ASSERT_EQ(single.found.size(), add.found.size());
    for (size_t i = 0; i < add.found.size(); ++i)
        EXPECT_EQ(single.found[i].code, add.found[i].code);
}

TEST(SchemeRun, TheFeedGivesTheFoundFormulasCategoryByCategory)
{
    const auto history = sampleHistory(300);
    SchemeRequest r = openScheme();
    r.wanted[1] = 4;  // 2D
    r.wanted[7] = 3;  // 3G
    SchemeRun run(history, r);
    run.setReportInterval(std::chrono::milliseconds(1));
    run.start();
    run.wait();
    const std::vector<FoundFormula>& found = run.outcome().found;
    const std::vector<FoundFormula> fed = run.feed().since(0);
    ASSERT_EQ(fed.size(), 7u);
    ASSERT_EQ(found.size(), fed.size());
    for (size_t i = 0; i < fed.size(); ++i) {
        EXPECT_EQ(fed[i].code, found[i].code);
        EXPECT_EQ(fed[i].category, found[i].category);
    }
    EXPECT_EQ(fed.front().category, (Category{2, false}));
    EXPECT_EQ(fed.back().category, (Category{3, true}));
}

TEST(SchemeRun, ACategoryLimitEndsItWithoutItsTargetAndTheSchemeGoesOn)
{
    const auto history = sampleHistory(300);
    SchemeRequest r = openScheme();
    r.thresholds[0][0] = 101;  // 1D finds nothing
    r.wanted[0] = 1;
    r.wanted[1] = 1;
    r.maxCandidatesPerCategory = 500;
    const SchemeOutcome outcome = test::runToEnd(*history, r);
    EXPECT_EQ(outcome.visited[0].end, SchemeCategoryEnd::LimitReached);
    EXPECT_EQ(outcome.visited[0].verified, 500u);
    EXPECT_EQ(outcome.visited[1].end, SchemeCategoryEnd::TargetReached);
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.found.size(), 1u);
}

TEST(SchemeCounts, TargetsAndTheExpectedTotal)
{
    WantedCounts wanted;
    HeldCounts held{};
    wanted[0] = 60;
    wanted[1] = 10;
    wanted[6] = 30;
    held[0] = 20;
    held[1] = 15;
    held[6] = 0;
    held[8] = 7;  // held without a wanted count
    EXPECT_EQ(schemeTarget(wanted, held, CountMode::Add, 1), 60);
    EXPECT_EQ(schemeTarget(wanted, held, CountMode::Hold, 1), 40);
    EXPECT_EQ(schemeTarget(wanted, held, CountMode::Hold, 2), std::nullopt);  // holds more than wanted
    EXPECT_EQ(schemeTarget(wanted, held, CountMode::Add, 3), std::nullopt);   // no wanted count
    EXPECT_EQ(expectedTotal(wanted, held, CountMode::Add, false), 100);
    EXPECT_EQ(expectedTotal(wanted, held, CountMode::Hold, false), 40 + 30);
    EXPECT_EQ(expectedTotal(wanted, held, CountMode::Add, true), 100 + 20 + 15 + 7);
}

TEST(SchemeCounts, HeldCountsCountEveryFormulaOfATable)
{
    test::TempStore temp;
    FormulaTable table3D(temp.store(), {3, false});
    ASSERT_TRUE(table3D.append(Kind::Kill, QStringLiteral("L1A"), QStringLiteral("万位码"), 1));
    ASSERT_TRUE(table3D.append(Kind::Keep, QStringLiteral("L2A"), QStringLiteral("千位码"), 2));
    ASSERT_TRUE(FormulaTable(temp.store(), {4, true}).append(Kind::Kill, QStringLiteral("L1A"), QStringLiteral("万位码"), 1));
    auto all = heldFormulaCounts(temp.store());
    ASSERT_TRUE(all);
    EXPECT_EQ((*all)[2], 2);
    EXPECT_EQ((*all)[8], 1);
    WantedCounts wanted;
    wanted[8] = 5;
    auto recount = heldFormulaCounts(temp.store(), wanted);
    ASSERT_TRUE(recount);
    EXPECT_EQ((*recount)[2], 0);  // no wanted count: not counted
    EXPECT_EQ((*recount)[8], 1);
}
