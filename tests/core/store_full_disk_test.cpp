// Every store operation on a disk that fills up after its k-th write, for k from 0 to the number
// of writes the operation needs: the operation reports the failure in plain words (or succeeds),
// and the store then opens, is sound, and holds what it held before or what the finished
// operation leaves, never a mix.

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "backtest/full_backtest.h"
#include "domain/formula_selection.h"
#include "domain/history_columns.h"
#include "full_disk_vfs.h"
#include "history/draw_history.h"
#include "history/history_maintenance.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "library/formula_update.h"
#include "library_fixture.h"
#include "store/history_table.h"
#include "store_checks.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <functional>

using namespace qeltaro;
using qeltaro::test::FullDisk;

namespace {

const QString kFullDiskWords = QStringLiteral("磁盘已满");

struct Operation {
    const char* name;
    int draws = 0;                  // the store before: sample draws
    int formulasPerCategory = 0;    // and formulas
    std::function<Status(Store&)> run;
    // The operation commits and then compacts: a failed compaction leaves the committed change.
    bool compactsAfterCommit = false;
    std::function<void(Store&)> setup = {};  // more preparation of the store before
    bool changesContent = true;
};

template <typename T>
Status statusOf(const Result<T>& result)
{
    return result ? success() : Status(result.error());
}

Status backtestThreeStar(Store& store)
{
    auto list = FormulaList::load(store, Category{3, false}, Kind::Kill);
    if (!list)
        return list.error();
    auto rows = HistoryTable(store).all();
    if (!rows)
        return rows.error();
    const HistoryColumns history(*rows);
    return statusOf(runFullBacktest(store, *list, history, BacktestSettings{}, BacktestEngine(1)));
}

const Operation kOperations[] = {
    {"history import", 60, 0, [](Store& s) { return statusOf(DrawHistory(s).importText(test::sampleHistoryLines(150))); }},
    {"typed draw", 60, 0, [](Store& s) { return statusOf(DrawHistory(s).add(QStringLiteral("991231001"), QStringLiteral("12345"))); }},
    {"formula import and rebuild", 10, 8,
     [](Store& s) { return statusOf(importFormulaText(s, test::formulaFileText(30, 5), {Category{3, false}, Kind::Kill})); }},
    {"typed formula", 10, 8,
     [](Store& s) { return statusOf(addTypedFormula(s, QStringLiteral("个位码*7=下期杀三星直选"), {Category{3, false}, Kind::Kill})); }},
    {"back-test write-back", 80, 20, backtestThreeStar},
    {"formula download replaces the library", 10, 8,
     [](Store& s) { return statusOf(applyFormulaDownload(s, test::formulaFileText(20, 40).toUtf8(), {Category{3, false}, Kind::Kill})); }},
    {"clearing every formula", 10, 8, [](Store& s) { return statusOf(clearAllFormulas(s)); }},
    {"compaction", 120, 8, [](Store& s) { return s.compact(); }, false,
     // Rows deleted in an earlier session leave free pages for the compaction to drop.
     [](Store& s) { ASSERT_TRUE(s.database().exec(QStringLiteral("DELETE FROM Lishi WHERE rowid % 2 = 0"))); }, false},
    {"formula delete and compaction", 10, 8,
     [](Store& s) {
         FormulaSelection selection;
         return statusOf(deleteFormula(s, {Category{3, false}, Kind::Kill}, 2, FlagsAfterDelete::FollowFormulas, selection));
     },
     true},
    {"history delete and compaction", 120, 0,
     [](Store& s) -> Status {
         auto report = deleteLastDraws(s, QStringLiteral("40"));
         if (!report)
             return report.error();
         // The rows are gone; a compaction that failed is reported beside the result.
         if (!report->compactionProblem.isEmpty())
             return storageError(report->compactionProblem);
         return success();
     },
     true},
};

// Budgets to try: every one up to a dozen writes, then about twenty spread up to the total.
std::vector<int> budgetsUpTo(int total)
{
    std::vector<int> budgets;
    const int dense = std::min(total, 12);
    for (int k = 0; k < dense; ++k)
        budgets.push_back(k);
    const int step = std::max(1, (total - dense) / 20);
    for (int k = dense; k < total; k += step)
        budgets.push_back(k);
    budgets.push_back(total - 1);
    return budgets;
}

QStringList leftoverPartialBackups(const QString& dataDir)
{
    return QDir(dataDir + QStringLiteral("/backups")).entryList({QStringLiteral("*.partial")}, QDir::Files);
}

class FullDiskTest : public ::testing::TestWithParam<Operation> {};

}  // namespace

TEST_P(FullDiskTest, FailsCleanlyAtEveryWrite)
{
    const Operation& op = GetParam();
    QTemporaryDir root;
    const QString base = root.filePath(QStringLiteral("base"));
    ASSERT_NO_FATAL_FAILURE(test::createLibraryStore(base, op.draws, op.formulasPerCategory, op.setup));
    const test::StoreState before = test::inspectStore(base);
    ASSERT_EQ(before.integrity, QStringLiteral("ok"));

    // The operation on a disk with room, counting its writes.
    const QString finished = root.filePath(QStringLiteral("finished"));
    test::copyStoreFile(base, finished);
    int writesNeeded = 0;
    {
        FullDisk roomy(INT_MAX);
        auto store = Store::open(finished);
        ASSERT_TRUE(store) << store.error().message.toStdString();
        const Status done = op.run(**store);
        ASSERT_TRUE(done) << done.error().message.toStdString();
        writesNeeded = roomy.writesTried();
    }
    const test::StoreState after = test::inspectStore(finished);
    ASSERT_EQ(after.integrity, QStringLiteral("ok"));
    ASSERT_EQ(after.snapshot != before.snapshot, op.changesContent);
    ASSERT_GT(writesNeeded, 0);

    int refusals = 0;
    for (int budget : budgetsUpTo(writesNeeded)) {
        SCOPED_TRACE(testing::Message() << op.name << ", disk full after " << budget << " of " << writesNeeded << " writes");
        const QString folder = root.filePath(QStringLiteral("run%1").arg(budget));
        test::copyStoreFile(base, folder);
        Status done = success();
        {
            FullDisk disk(budget);
            auto store = Store::open(folder);
            ASSERT_TRUE(store) << store.error().message.toStdString();  // opening a current store writes nothing
            done = op.run(**store);
            EXPECT_EQ(done.ok(), !disk.refusedAny());
            refusals += disk.refusedAny() ? 1 : 0;
        }
        const test::StoreState state = test::inspectStore(folder);
        ASSERT_TRUE(state.problem.isEmpty()) << state.problem.toStdString();
        EXPECT_EQ(state.integrity, QStringLiteral("ok"));
        if (done) {
            EXPECT_TRUE(state.snapshot == after.snapshot);
        } else {
            EXPECT_EQ(done.error().kind, ErrorKind::Storage);
            EXPECT_TRUE(done.error().message.contains(kFullDiskWords)) << done.error().message.toStdString();
            const bool unchanged = state.snapshot == before.snapshot;
            const bool committed = op.compactsAfterCommit && state.snapshot == after.snapshot;
            EXPECT_TRUE(unchanged || committed) << "the store holds neither the old nor the new content";
        }
        EXPECT_TRUE(leftoverPartialBackups(folder).isEmpty());
        QDir(folder).removeRecursively();
    }
    EXPECT_GE(refusals, std::min(writesNeeded, 12));
}

INSTANTIATE_TEST_SUITE_P(StoreOperations, FullDiskTest, ::testing::ValuesIn(kOperations),
                         [](const testing::TestParamInfo<Operation>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

TEST(FullDisk, ANewStoreIsCreatedWholeOrNotAtAll)
{
    QTemporaryDir root;
    int writesNeeded = 0;
    {
        FullDisk roomy(INT_MAX);
        ASSERT_TRUE(Store::open(root.filePath(QStringLiteral("roomy"))));
        writesNeeded = roomy.writesTried();
    }
    const QString expected = test::inspectStore(root.filePath(QStringLiteral("roomy"))).snapshot;
    for (int budget = 0; budget < writesNeeded; ++budget) {
        SCOPED_TRACE(budget);
        const QString folder = root.filePath(QStringLiteral("new%1").arg(budget));
        {
            FullDisk disk(budget);
            auto store = Store::open(folder);
            ASSERT_FALSE(store);
            EXPECT_TRUE(store.error().message.contains(kFullDiskWords)) << store.error().message.toStdString();
        }
        const test::StoreState state = test::inspectStore(folder);
        ASSERT_TRUE(state.problem.isEmpty()) << state.problem.toStdString();
        EXPECT_EQ(state.integrity, QStringLiteral("ok"));
        EXPECT_EQ(state.snapshot, expected);
    }
}
