// A child process for the failure-injection tests: opens the store of a data folder, says
// "ready" on stdout, performs one operation and says "done N", N being the steps that changed
// a file (a write, a truncation, a file created or deleted). With --kill-at-step K it kills
// itself (SIGKILL) just before step K of the operation, or before saying "done" when the
// operation takes fewer steps. The tests also keep it holding a lock while another program uses
// the store.
//
//   store_worker [--kill-at-step K] DATA_DIR OPERATION [ARGUMENTS]
//
//   store_worker DATA_DIR import-history FILE
//   store_worker DATA_DIR import-formulas FILE
//   store_worker DATA_DIR backtest CATEGORY        kill formulas of CATEGORY (e.g. 3D), written back
//   store_worker DATA_DIR compact
//   store_worker DATA_DIR delete-formula CATEGORY IDX
//   store_worker DATA_DIR clear-formulas          backup, then every formula table emptied
//   store_worker DATA_DIR hold-lock immediate|exclusive   holds the lock until stdin closes

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "backtest/full_backtest.h"
#include "domain/formula_selection.h"
#include "history/draw_history.h"
#include "file_steps_vfs.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "store/store.h"

#include <QCoreApplication>
#include <QStringList>

#include <sqlite3.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

using namespace qeltaro;

namespace {

int failed(const Error& error)
{
    std::fprintf(stderr, "%s\n", error.message.toUtf8().constData());
    return 3;
}

int usage()
{
    std::fprintf(stderr, "usage: store_worker [--kill-at-step K] DATA_DIR OPERATION [ARGUMENTS]\n");
    return 2;
}

// The operation's steps so far; opening the store is not counted.
struct StepCount {
    bool counting = false;
    long long steps = 0;
    long long killAt = 0;  // 0: never

    // Said first, so the test tells this kill from a crash.
    void killHere() const
    {
        std::printf("killed before step %lld\n", killAt);
        std::fflush(stdout);
        std::raise(SIGKILL);
    }
    int before()
    {
        if (counting && ++steps == killAt)
            killHere();
        return SQLITE_OK;
    }
};

Status holdLock(Store& store, const QString& mode)
{
    if (mode != u"immediate" && mode != u"exclusive")
        return badInput(QStringLiteral("unknown lock mode %1").arg(mode));
    if (Status s = store.database().exec(QStringLiteral("BEGIN ") + mode.toUpper()); !s)
        return s;
    std::puts("locked");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return store.database().exec(QStringLiteral("ROLLBACK"));
}

Status perform(Store& store, const QStringList& args)
{
    const QString& operation = args[0];
    if (operation == u"import-history" && args.size() == 2) {
        auto report = DrawHistory(store).importFile(args[1]);
        return report ? success() : Status(report.error());
    }
    if (operation == u"import-formulas" && args.size() == 2) {
        auto report = importFormulaFile(store, args[1], {Category{3, false}, Kind::Kill});
        return report ? success() : Status(report.error());
    }
    if (operation == u"backtest" && args.size() == 2) {
        const auto category = Category::fromSuffix(args[1]);
        if (!category)
            return badInput(QStringLiteral("unknown category %1").arg(args[1]));
        auto list = FormulaList::load(store, *category, Kind::Kill);
        if (!list)
            return list.error();
        auto history = loadHistoryColumns(store);
        if (!history)
            return history.error();
        const BacktestEngine engine(1);
        auto table = runFullBacktest(store, *list, *history, BacktestSettings{}, engine);
        return table ? success() : Status(table.error());
    }
    if (operation == u"compact" && args.size() == 1)
        return store.compact();
    if (operation == u"delete-formula" && args.size() == 3) {
        const auto category = Category::fromSuffix(args[1]);
        if (!category)
            return badInput(QStringLiteral("unknown category %1").arg(args[1]));
        FormulaSelection selection;
        auto report = deleteFormula(store, {*category, Kind::Kill}, args[2].toInt(), FlagsAfterDelete::FollowFormulas, selection);
        return report ? success() : Status(report.error());
    }
    if (operation == u"clear-formulas" && args.size() == 1) {
        auto backup = clearAllFormulas(store);
        return backup ? success() : Status(backup.error());
    }
    if (operation == u"hold-lock" && args.size() == 2)
        return holdLock(store, args[1]);
    return badInput(QStringLiteral("unknown operation %1").arg(args.join(u' ')));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    StepCount count;
    if (args.size() >= 2 && args[0] == u"--kill-at-step") {
        bool ok = false;
        count.killAt = args[1].toLongLong(&ok);
        if (!ok || count.killAt < 1)
            return usage();
        args = args.mid(2);
    }
    if (args.size() < 2)
        return usage();
    const test::FileSteps steps([&count](test::FileStep) { return count.before(); });
    const QString dataDir = args.takeFirst();
    auto store = Store::open(dataDir);
    if (!store)
        return failed(store.error());
    std::puts("ready");
    std::fflush(stdout);
    count.counting = true;
    if (const Status done = perform(**store, args); !done)
        return failed(done.error());
    if (count.killAt > 0)
        count.killHere();
    std::printf("done %lld\n", count.steps);
    std::fflush(stdout);
    return 0;
}
