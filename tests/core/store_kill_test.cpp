// The program killed (SIGKILL) at random points of the operations that rewrite the store: a
// child process performs one operation and is killed part way through it, many times. After
// every kill the store opens, PRAGMA integrity_check says "ok", and it holds either what it held
// before or what the finished operation leaves. Backups left behind are complete copies.
// The kill points are measured in the operation's own steps, the calls that change a file (a
// write, a truncation, a file created or deleted): between two of them the files on disk stay
// as they are, so a kill before step k stands for every kill between steps k-1 and k. A finished
// run counts the steps, and each round kills the worker before a step drawn from them, so every
// round ends the operation midway whatever the build and the machine's load.
// QELTARO_KILL_ROUNDS sets the kills per operation (default 8) for longer soak runs;
// QELTARO_KILL_SEED repeats a run exactly.

#include "library/formula_entry.h"
#include "library_fixture.h"
#include "store_checks.h"
#include "test_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>

using namespace qeltaro;

namespace {

struct KillScenario {
    const char* name;
    int draws;
    int formulasPerCategory;
    // The worker's operation and its arguments; input files go to `work`.
    std::function<QStringList(const QString& work)> operation;
    std::function<void(Store&)> setup = {};
    bool changesContent = true;
};

int envNumber(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariable(name).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

QString writeInput(const QString& work, const QString& name, const QString& text)
{
    const QString path = work + u'/' + name;
    test::writeFile(path, text.toUtf8());
    return path;
}

const KillScenario kScenarios[] = {
    {"history import", 300, 0,
     [](const QString& work) {
         return QStringList{QStringLiteral("import-history"),
                            writeInput(work, QStringLiteral("history.txt"), test::sampleHistoryLines(2000))};
     }},
    {"formula import and rebuild", 50, 100,
     [](const QString& work) {
         return QStringList{QStringLiteral("import-formulas"),
                            writeInput(work, QStringLiteral("formulas.txt"), test::formulaFileText(700, 50))};
     }},
    {"back-test write-back", 600, 700, [](const QString&) { return QStringList{QStringLiteral("backtest"), QStringLiteral("3D")}; }},
    {"compaction", 2000, 300, [](const QString&) { return QStringList{QStringLiteral("compact")}; },
     [](Store& s) { ASSERT_TRUE(s.database().exec(QStringLiteral("DELETE FROM Lishi WHERE rowid % 3 = 0"))); }, false},
    {"formula delete and compaction", 1500, 300,
     [](const QString&) { return QStringList{QStringLiteral("delete-formula"), QStringLiteral("3D"), QStringLiteral("7")}; }},
    {"backup and clearing every formula", 1500, 300, [](const QString&) { return QStringList{QStringLiteral("clear-formulas")}; }},
};

struct WorkerRun {
    bool killed = false;   // ended by SIGKILL without saying "done"
    long long steps = 0;   // the operation's steps, when it finished
    QString problem;       // set when the worker could not run as planned
};

// Runs the worker on `dataDir` to the end, or with `killAtStep` killed just before that step.
WorkerRun runWorker(const QString& dataDir, const QStringList& operation, std::optional<long long> killAtStep)
{
    WorkerRun run;
    QProcess worker;
    worker.setProcessChannelMode(QProcess::SeparateChannels);
    QStringList arguments{dataDir};
    if (killAtStep)
        arguments = QStringList{QStringLiteral("--kill-at-step"), QString::number(*killAtStep)} + arguments;
    worker.start(qeltaro::test::storeWorkerPath(), arguments + operation);
    if (!worker.waitForStarted(30000) || !worker.waitForFinished(300000)) {
        run.problem = QStringLiteral("worker did not run to its end: ") + worker.errorString();
        worker.kill();
        worker.waitForFinished();
        return run;
    }
    const QString out = QString::fromUtf8(worker.readAllStandardOutput());
    const QString err = QString::fromUtf8(worker.readAllStandardError());
    const qsizetype done = out.indexOf(QStringLiteral("done "));
    if (worker.exitStatus() == QProcess::CrashExit) {
        run.killed = done < 0 && out.contains(QStringLiteral("ready\nkilled before step "));
        if (!run.killed || !killAtStep)
            run.problem = QStringLiteral("worker crashed: ") + err;
        return run;
    }
    if (worker.exitCode() != 0 || done < 0) {
        run.problem = QStringLiteral("worker failed: ") + err;
        return run;
    }
    run.steps = QStringView(out).mid(done + 5).trimmed().toLongLong();
    return run;
}

// Every complete backup in the folder holds the store as it was before the operation.
void expectCompleteBackups(const QString& dataDir, const QString& before)
{
    const QString folder = dataDir + QStringLiteral("/backups");
    for (const QString& name : QDir(folder).entryList({QStringLiteral("formula-*.db")}, QDir::Files)) {
        QTemporaryDir copy;
        ASSERT_TRUE(QFile::copy(folder + u'/' + name, copy.filePath(QStringLiteral("formula.db"))));
        const test::StoreState backup = test::inspectStore(copy.path());
        EXPECT_EQ(backup.integrity, QStringLiteral("ok")) << name.toStdString();
        EXPECT_TRUE(backup.snapshot == before) << "incomplete backup " << name.toStdString();
    }
}

class KillTest : public ::testing::TestWithParam<KillScenario> {};

}  // namespace

TEST_P(KillTest, StoreHoldsTheOldOrTheNewContent)
{
    const KillScenario& scenario = GetParam();
    QTemporaryDir root;
    const QString base = root.filePath(QStringLiteral("base"));
    ASSERT_NO_FATAL_FAILURE(test::createLibraryStore(base, scenario.draws, scenario.formulasPerCategory, scenario.setup));
    const QStringList operation = scenario.operation(root.path());
    const test::StoreState before = test::inspectStore(base);
    ASSERT_EQ(before.integrity, QStringLiteral("ok"));

    const QString finished = root.filePath(QStringLiteral("finished"));
    test::copyStoreFile(base, finished);
    const WorkerRun reference = runWorker(finished, operation, std::nullopt);
    ASSERT_TRUE(reference.problem.isEmpty()) << reference.problem.toStdString();
    ASSERT_GT(reference.steps, 0);
    const test::StoreState after = test::inspectStore(finished);
    ASSERT_EQ(after.integrity, QStringLiteral("ok"));
    ASSERT_EQ(after.snapshot != before.snapshot, scenario.changesContent);

    const int rounds = envNumber("QELTARO_KILL_ROUNDS", 8);
    const unsigned seed = unsigned(envNumber("QELTARO_KILL_SEED", int(std::random_device{}() & 0x7fffffff)));
    std::mt19937 random(seed);
    // Before any step of the operation, up to after its last one (but before it says it is done).
    std::uniform_int_distribution<long long> killStep(1, reference.steps + 1);
    int oldContent = 0;
    for (int round = 0; round < rounds; ++round) {
        const long long step = killStep(random);
        SCOPED_TRACE(testing::Message() << scenario.name << ", seed " << seed << ", round " << round << ", killed before step "
                                        << step << " of " << reference.steps);
        const QString folder = root.filePath(QStringLiteral("run%1").arg(round));
        test::copyStoreFile(base, folder);
        const WorkerRun run = runWorker(folder, operation, step);
        ASSERT_TRUE(run.problem.isEmpty()) << run.problem.toStdString();
        ASSERT_TRUE(run.killed);

        const test::StoreState state = test::inspectStore(folder);
        ASSERT_TRUE(state.problem.isEmpty()) << state.problem.toStdString();
        EXPECT_EQ(state.integrity, QStringLiteral("ok"));
        const bool isOld = state.snapshot == before.snapshot;
        const bool isNew = state.snapshot == after.snapshot;
        EXPECT_TRUE(isOld || isNew) << "the store holds neither the old nor the new content";
        oldContent += isOld && scenario.changesContent ? 1 : 0;
        expectCompleteBackups(folder, before.snapshot);
        QDir(folder).removeRecursively();
    }
    RecordProperty("steps", int(reference.steps));
    RecordProperty("old_content", oldContent);
}

INSTANTIATE_TEST_SUITE_P(StoreOperations, KillTest, ::testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<KillScenario>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });
