// The search use case: what it fills in from the settings and the store, what it refuses before a
// run starts, and the record it writes after one.

#include "search/formula_search.h"
#include "search/search_job.h"

#include "draw_builder.h"
#include "search/run_record.h"
#include "settings/settings.h"
#include "store/formula_table.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

const Category k1D{1, false};
const Category k3D{3, false};

// A store whose settings file was edited by hand: the lowest rate of 一星直选杀 is no number.
struct Fixture {
    test::TempStore temp;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<SchemeSettings> scheme;

    Fixture()
    {
        QDir().mkpath(QFileInfo(temp.settingsFile()).path());
        test::writeFile(temp.settingsFile(), "[0]\n0=abc\n");
        settings = std::make_unique<Settings>(temp.settingsFile());
        scheme = std::make_unique<SchemeSettings>(*settings);
    }
    FormulaSearch search() { return FormulaSearch(temp.store(), *scheme); }
};

ManualSearchOrder killOrder(const Category& category)
{
    ManualSearchOrder order;
    order.request.shape = {category, Kind::Kill, 0, TailConstant{}, FormulaForm::Prefix};
    order.request.window = {100, false};
    order.request.seed = 7;
    return order;
}

template <typename Request>
SearchRefusalReason refusalOf(const PreparedSearch<Request>& prepared)
{
    EXPECT_TRUE(std::holds_alternative<SearchRefusal>(prepared));
    return std::holds_alternative<SearchRefusal>(prepared) ? std::get<SearchRefusal>(prepared).reason
                                                           : SearchRefusalReason::Store;
}

template <typename Request>
Request requestOf(const PreparedSearch<Request>& prepared)
{
    if (const auto* refusal = std::get_if<SearchRefusal>(&prepared))
        ADD_FAILURE() << refusal->error.message.toStdString();
    return std::holds_alternative<Request>(prepared) ? std::get<Request>(prepared) : Request{};
}

}  // namespace

TEST(FormulaSearch, AManualSearchTakesWhatTheOrderLeavesOpenFromTheCategorysSettings)
{
    Fixture f;
    ASSERT_TRUE(f.scheme->setOperandCount(3, 12));
    const HistoryColumns history(test::randomDraws(50, 1));

    const SearchRequest stored = requestOf(f.search().prepare(killOrder(k3D), history));
    EXPECT_EQ(stored.shape.operandCount, 12);
    EXPECT_EQ(stored.thresholds, f.scheme->thresholds(Kind::Kill, 3));
    EXPECT_EQ(stored.seed, 7u);

    ManualSearchOrder given = killOrder(k3D);
    given.operandCount = 4;
    given.thresholds = SearchThresholds{1, 100, 0, 9, 0, 9, 0, 9, 0, 9};
    const SearchRequest asked = requestOf(f.search().prepare(given, history));
    EXPECT_EQ(asked.shape.operandCount, 4);
    EXPECT_EQ(asked.thresholds, *given.thresholds);
}

TEST(FormulaSearch, RefusesStoredThresholdsThatAreNoNumberTooFewDrawsAndTooLongAHoldout)
{
    Fixture f;
    const HistoryColumns history(test::randomDraws(50, 1));

    // A search held to the broken threshold could find nothing and would never end.
    const auto broken = f.search().prepare(killOrder(k1D), history);
    EXPECT_EQ(refusalOf(broken), SearchRefusalReason::StoredThresholds);
    if (const auto* refusal = std::get_if<SearchRefusal>(&broken)) {
        EXPECT_TRUE(refusal->error.message.contains(QStringLiteral("一星直选杀的正确率下限不是数字")));
    }
    ManualSearchOrder given = killOrder(k1D);
    given.thresholds = defaultThresholds(Kind::Kill, 1);
    requestOf(f.search().prepare(given, history));

    EXPECT_EQ(refusalOf(f.search().prepare(killOrder(k3D), HistoryColumns(test::randomDraws(1, 1)))),
              SearchRefusalReason::TooFewDraws);

    ManualSearchOrder holdout = killOrder(k3D);
    holdout.request.holdoutPeriods = 49;
    EXPECT_EQ(refusalOf(f.search().prepare(holdout, history)), SearchRefusalReason::Holdout);
    holdout.request.holdoutPeriods = 48;
    requestOf(f.search().prepare(holdout, history));

    SchemeSearchOrder scheme;
    scheme.request.holdoutPeriods = 49;
    EXPECT_EQ(refusalOf(f.search().prepare(scheme, history)), SearchRefusalReason::Holdout);
    scheme.request.holdoutPeriods = 0;
    EXPECT_EQ(refusalOf(f.search().prepare(scheme, HistoryColumns(test::randomDraws(1, 1)))),
              SearchRefusalReason::TooFewDraws);
}

TEST(FormulaSearch, ASchemeCountsTheTablesAndChecksOnlyTheCategoriesItWillSearch)
{
    Fixture f;
    ASSERT_TRUE(f.scheme->setOperandCount(5, 3));
    for (int idx : {1, 2})
        ASSERT_TRUE(FormulaTable(f.temp.store(), k1D).append(Kind::Kill, QStringLiteral("[A]+[B]"), QStringLiteral("a"), idx));
    const HistoryColumns history(test::randomDraws(50, 1));

    SchemeSearchOrder order;
    order.request.kind = Kind::Kill;
    order.request.mode = CountMode::Hold;
    WantedCounts wanted;
    wanted[0] = 2;  // 一星直选 already holds its two: nothing to search there
    wanted[2] = 5;
    order.wanted = wanted;
    const SchemeRequest request = requestOf(f.search().prepare(order, history));
    EXPECT_EQ(request.held[0], 2);
    EXPECT_EQ(request.held[2], 0);
    EXPECT_EQ(request.wanted, wanted);
    EXPECT_EQ(request.thresholds[2], f.scheme->thresholds(Kind::Kill, 3));
    EXPECT_EQ(request.operandCounts[4], 3);
    EXPECT_EQ(request.operandCounts[0], 8);

    wanted[0] = 3;
    order.wanted = wanted;
    EXPECT_EQ(refusalOf(f.search().prepare(order, history)), SearchRefusalReason::StoredThresholds);
    // Without wanted counts the stored ones apply: 60 of each, 一星直选 among them.
    order.wanted.reset();
    EXPECT_EQ(refusalOf(f.search().prepare(order, history)), SearchRefusalReason::StoredThresholds);
    order.request.kind = Kind::Keep;
    EXPECT_EQ(requestOf(f.search().prepare(order, history)).wanted[0], kDefaultWantedCount);
}

TEST(SearchJob, WritesTheRecordOfItsRunOnceItEndsFinishedOrStopped)
{
    Fixture f;
    auto history = std::make_shared<const HistoryColumns>(test::randomDraws(60, 3));
    ManualSearchOrder order = killOrder(k3D);
    order.thresholds = SearchThresholds{0, 100, 0, 32768, 0, 32768, 0, 32768, 0, 32768};
    order.request.maxCandidates = 20;
    order.request.threads = 1;
    order.request.shuffledControl = false;
    ManualSearchJob job(f.temp.dataDir(), history, requestOf(f.search().prepare(order, *history)));
    job.start();
    const auto& path = job.finish();
    ASSERT_TRUE(path) << path.error().message.toStdString();
    EXPECT_TRUE(path->startsWith(f.temp.dataDir() + QStringLiteral("/search-runs/")));
    const auto replay = readRunRecord(*path);
    ASSERT_TRUE(replay) << replay.error().message.toStdString();
    EXPECT_EQ(replay->verified, 20u);
    EXPECT_EQ(replay->found.size(), 20u);
    EXPECT_EQ(replay->history, fingerprintOf(*history));
    EXPECT_EQ(std::get<SearchRequest>(replay->request).seed, 7u);
    EXPECT_EQ(*job.finish(), *path);  // written once

    // A scheme stopped as soon as it started still leaves the record of what it did.
    SchemeSearchOrder scheme;
    scheme.request.kind = Kind::Keep;
    WantedCounts wanted;
    wanted[2] = 2;
    scheme.wanted = wanted;
    scheme.request.threads = 1;
    scheme.request.shuffledControl = false;
    SchemeSearchJob schemeJob(f.temp.dataDir(), history, requestOf(f.search().prepare(scheme, *history)));
    schemeJob.start();
    schemeJob.stop();
    const auto& schemePath = schemeJob.finish();
    ASSERT_TRUE(schemePath);
    EXPECT_FALSE(schemeJob.outcome().completed);
    const auto schemeReplay = readRunRecord(*schemePath);
    ASSERT_TRUE(schemeReplay) << schemeReplay.error().message.toStdString();
    EXPECT_TRUE(std::holds_alternative<SchemeRequest>(schemeReplay->request));
    EXPECT_EQ(schemeReplay->verified, schemeJob.outcome().verified());
    EXPECT_EQ(QDir(f.temp.dataDir() + QStringLiteral("/search-runs")).entryList({QStringLiteral("*.json")}).size(), 2);
}
