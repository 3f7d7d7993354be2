#include "search/search_run.h"

#include "calculation_fixtures.h"
#include "history/draw_history.h"
#include "run_to_end.h"
#include "search/scheme_settings.h"
#include "search_reference.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace qeltaro;

namespace {

std::shared_ptr<const HistoryColumns> sampleHistory(int rows)
{
    return std::make_shared<const HistoryColumns>(test::sampleHistoryColumns(rows));
}

// Kill thresholds of 三星直选 loose enough that about one candidate in a few hundred passes.
SearchRequest request3D(std::uint64_t seed, int threads)
{
    SearchRequest r;
    r.shape = {{3, false}, Kind::Kill, 8, TailConstant::randomDigit(), FormulaForm::Prefix};
    r.thresholds = {92, 100, 0, 3, 20, 32768, 0, 32768, 0, 32768};
    r.window = {300, true};
    r.seed = seed;
    r.threads = threads;
    return r;
}

std::vector<QString> codesOf(const SearchOutcome& outcome)
{
    std::vector<QString> codes;
    for (const FoundFormula& f : outcome.found)
        codes.push_back(f.code);
    return codes;
}

}  // namespace

TEST(SearchRun, TheSameSeedFindsTheSameFormulasWithOneOrMoreThreads)
{
    const auto history = sampleHistory(800);
    for (std::uint64_t seed : {1ull, 99ull}) {
        SearchRequest one = request3D(seed, 1);
        one.stopCount = 12;
        SearchRequest two = one;
        two.threads = 2;
        SearchRequest three = one;
        three.threads = 3;
        const SearchOutcome a = test::runToEnd(*history, one);
        const SearchOutcome b = test::runToEnd(*history, two);
        const SearchOutcome c = test::runToEnd(*history, three);
        ASSERT_TRUE(a.targetReached);
        ASSERT_EQ(a.found.size(), 12u);
        EXPECT_EQ(a.verified, a.found.back().ordinal + 1);  // the run ends at its 12th find
        EXPECT_EQ(codesOf(a), codesOf(b));
        EXPECT_EQ(codesOf(a), codesOf(c));
        EXPECT_EQ(a.verified, b.verified);
        EXPECT_EQ(a.verified, c.verified);
        for (size_t i = 1; i < a.found.size(); ++i)
            EXPECT_LT(a.found[i - 1].ordinal, a.found[i].ordinal);  // candidate order

        // Limited by a candidate count that ends inside a block.
        SearchRequest limitedOne = request3D(seed, 1);
        limitedOne.maxCandidates = CandidateSearch::kBlock * 2 + 77;
        SearchRequest limitedTwo = limitedOne;
        limitedTwo.threads = 2;
        const SearchOutcome d = test::runToEnd(*history, limitedOne);
        const SearchOutcome e = test::runToEnd(*history, limitedTwo);
        EXPECT_TRUE(d.limitReached);
        EXPECT_EQ(d.verified, *limitedOne.maxCandidates);
        EXPECT_EQ(codesOf(d), codesOf(e));
    }
}

// Every formula a search reports meets its thresholds when recomputed on the general road.
TEST(SearchRun, EveryFoundFormulaPassesWhenRecomputedIndependently)
{
    const auto history = sampleHistory(900);
    int checked = 0;
    for (std::uint64_t seed = 1; seed <= 12; ++seed) {
        for (int number : {1, 3, 5, 7, 10}) {
            const Category category{(number - 1) % 5 + 1, number > 5};
            const Kind kind = seed % 2 == 1 ? Kind::Kill : Kind::Keep;
            SearchRequest r;
            r.shape = {category, kind, 2 + int(seed % 8), seed % 3 == 0 ? TailConstant{false, -4} : TailConstant::randomDigit(),
                       FormulaForm::Suffix};
            // The defaults loosened so that a few thousand candidates find something.
            r.thresholds = defaultThresholds(kind, number);
            r.thresholds[0] -= isKill(kind) ? 4 : 6;
            r.thresholds[3] += 3;
            r.thresholds[4] = 1;
            r.thresholds[8] = 0;
            r.window = {seed % 4 == 0 ? 0 : 300, seed % 5 != 0};
            r.seed = seed * 1000 + std::uint64_t(number);
            r.maxCandidates = 3000;
            r.threads = 2;
            const SearchOutcome outcome = test::runToEnd(*history, r);
            const ScreeningBounds bounds(r.thresholds);
            for (const FoundFormula& f : outcome.found) {
                const FormulaStats s = test::referenceStatistics(*history, category, r.window, kind, f.code);
                CandidateStatistics recomputed;
                recomputed.rate = s.rate;
                recomputed.maxMissRun = s.maxMissRun;
                recomputed.maxHitRun = s.maxHitRun;
                recomputed.lastMissRun = s.lastMissRun;
                recomputed.lastHitRun = s.lastHitRun;
                EXPECT_TRUE(bounds.passes(recomputed)) << f.code.toStdString();
                EXPECT_EQ(recomputed.rate, f.stats.rate);
                EXPECT_EQ(f.category, category);
                EXPECT_TRUE(f.text.endsWith(candidateSuffix(category, kind)));
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 50);
}

TEST(SearchRun, TheStopCountCountsFormulasFoundEarlier)
{
    const auto history = sampleHistory(600);
    FoundFormulaList list;
    SearchRequest first = request3D(5, 2);
    first.stopCount = 4;
    list.beginManualRun();
    list.add(test::runToEnd(*history, first).found);
    ASSERT_EQ(list.unsavedCount(), 4);

    // The second run stops once the unsaved formulas reach 6: two more.
    SearchRequest second = request3D(6, 2);
    second.stopCount = 6;
    second.alreadyFound = list.unsavedCount();
    list.beginManualRun();
    list.add(test::runToEnd(*history, second).found);
    EXPECT_EQ(list.unsavedCount(), 6);

    // Already at the stop count: one candidate is still tried, as a search step always is.
    SearchRequest third = second;
    third.alreadyFound = 6;
    EXPECT_EQ(test::runToEnd(*history, third).verified, 1u);

    list.markSaved();
    EXPECT_EQ(list.unsavedCount(), 0);
    EXPECT_EQ(list.shownTexts().size(), 6);  // the shown list keeps them
    list.beginSchemeRun();
    EXPECT_TRUE(list.fromScheme());
}

TEST(SearchRun, TheFeedShowsWhatWasFoundWhileTheRunGoesOnAndEndsAsTheOutcome)
{
    const auto history = sampleHistory(600);
    SearchRequest r = request3D(8, 2);
    r.stopCount = 7;
    SearchRun run(history, r);
    run.setReportInterval(std::chrono::milliseconds(1));
    run.start();
    run.wait();
    const SearchOutcome& outcome = run.outcome();
    ASSERT_EQ(outcome.found.size(), 7u);
    std::vector<QString> fed;
    for (const FoundFormula& f : run.feed().since(0))
        fed.push_back(f.code);
    EXPECT_EQ(fed, codesOf(outcome));
    const std::vector<FoundFormula> tail = run.feed().since(5);
    ASSERT_EQ(tail.size(), 2u);
    EXPECT_EQ(tail[0].text, outcome.found[5].text);
    EXPECT_TRUE(run.feed().since(7).empty());
}

TEST(SearchRun, RunsInTheBackgroundAndCanBePausedContinuedAndStopped)
{
    const auto history = sampleHistory(400);
    SearchRequest r = request3D(3, 2);
    r.thresholds[0] = 101;  // nothing passes: the run goes on until stopped
    std::atomic<int> reports{0};
    SearchRun run(history, r);
    run.setReportInterval(std::chrono::milliseconds(20));
    run.setProgressHandler([&](const SearchProgress& p) {
        if (p.verified > 0 && !p.currentText.isEmpty() && p.currentStats.scoredRows == 301)
            ++reports;
    });
    run.start();  // returns at once
    EXPECT_FALSE(run.finished());
    auto waitUntil = [](const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return done();
    };
    ASSERT_TRUE(waitUntil([&] { return run.progress().verified > 0; }));
    run.pause();
    EXPECT_TRUE(run.paused());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::uint64_t whilePaused = run.progress().verified;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(run.progress().verified, whilePaused);
    run.resume();
    ASSERT_TRUE(waitUntil([&] { return run.progress().verified > whilePaused; }));
    run.stop();
    run.wait();
    ASSERT_TRUE(run.finished());
    const SearchOutcome& outcome = run.outcome();
    EXPECT_TRUE(outcome.stopped);
    EXPECT_GT(outcome.verified, whilePaused);
    EXPECT_EQ(outcome.verified % CandidateSearch::kBlock, 0u);  // the unbroken prefix of whole blocks
    EXPECT_TRUE(outcome.found.empty());
    EXPECT_GT(reports.load(), 0);
    EXPECT_GT(outcome.candidatesPerSecond(), 0);
}
