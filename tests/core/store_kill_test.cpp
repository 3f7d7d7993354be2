// The program killed (SIGKILL) at random points of the operations that rewrite the store: a
// child process performs one operation and is killed after a random delay, many times. After
// every kill the store opens, PRAGMA integrity_check says "ok", and it holds either what it held
// before or what the finished operation leaves. Backups left behind are complete copies.
// QELTARO_KILL_ROUNDS sets the kills per operation (default 8) for longer soak runs;
// QELTARO_KILL_SEED repeats a run.

#include "library/formula_entry.h"
#include "library_fixture.h"
#include "store_checks.h"
#include "test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
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
    bool killed = false;      // the kill came before the worker finished
    qint64 operationMs = 0;   // from "ready" to "done", when not killed
    QString problem;          // set when the worker could not run as planned
};

// Starts the worker on `dataDir`; once it has opened the store, waits `killAfterUs`
// microseconds and kills it (a negative delay lets it finish).
WorkerRun runWorker(const QString& dataDir, const QStringList& operation, qint64 killAfterUs)
{
    WorkerRun run;
    QProcess worker;
    worker.setProcessChannelMode(QProcess::SeparateChannels);
    worker.start(QStringLiteral(QELTARO_STORE_WORKER_PATH), QStringList{dataDir} + operation);
    if (!worker.waitForStarted(30000)) {
        run.problem = QStringLiteral("worker did not start");
        return run;
    }
    QByteArray out;
    while (!out.contains("ready\n")) {
        if (!worker.waitForReadyRead(60000)) {
            run.problem = QStringLiteral("worker never got ready: ") + QString::fromUtf8(worker.readAllStandardError());
            worker.kill();
            worker.waitForFinished();
            return run;
        }
        out += worker.readAllStandardOutput();
    }
    QElapsedTimer clock;
    clock.start();
    if (killAfterUs >= 0) {
        QThread::usleep(static_cast<unsigned long>(killAfterUs));
        run.killed = worker.state() != QProcess::NotRunning && !worker.waitForFinished(0);
        worker.kill();
    } else {
        // The operation's own time, without the process's exit (the leak check takes a while).
        while (!out.contains("done\n") && worker.waitForReadyRead(120000))
            out += worker.readAllStandardOutput();
        run.operationMs = clock.elapsed();
    }
    worker.waitForFinished(120000);
    out += worker.readAllStandardOutput();
    if (worker.exitStatus() == QProcess::NormalExit && (worker.exitCode() != 0 || !out.contains("done")))
        run.problem = QStringLiteral("worker failed: ") + QString::fromUtf8(worker.readAllStandardError());
    if (worker.exitStatus() == QProcess::CrashExit && !run.killed && killAfterUs < 0)
        run.problem = QStringLiteral("worker crashed: ") + QString::fromUtf8(worker.readAllStandardError());
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
    const WorkerRun reference = runWorker(finished, operation, -1);
    ASSERT_TRUE(reference.problem.isEmpty()) << reference.problem.toStdString();
    const test::StoreState after = test::inspectStore(finished);
    ASSERT_EQ(after.integrity, QStringLiteral("ok"));
    ASSERT_EQ(after.snapshot != before.snapshot, scenario.changesContent);

    const int rounds = envNumber("QELTARO_KILL_ROUNDS", 8);
    const unsigned seed = unsigned(envNumber("QELTARO_KILL_SEED", int(std::random_device{}() & 0x7fffffff)));
    std::mt19937 random(seed);
    // Kills spread over the whole operation, a few after its end.
    std::uniform_int_distribution<qint64> delay(0, std::max<qint64>(1, reference.operationMs) * 1100);
    int killedMidway = 0;
    int oldContent = 0;
    for (int round = 0; round < rounds; ++round) {
        const qint64 killAfterUs = delay(random);
        SCOPED_TRACE(testing::Message() << scenario.name << ", seed " << seed << ", round " << round << ", killed after "
                                        << killAfterUs << " us of about " << reference.operationMs << " ms");
        const QString folder = root.filePath(QStringLiteral("run%1").arg(round));
        test::copyStoreFile(base, folder);
        const WorkerRun run = runWorker(folder, operation, killAfterUs);
        ASSERT_TRUE(run.problem.isEmpty()) << run.problem.toStdString();
        killedMidway += run.killed ? 1 : 0;

        const test::StoreState state = test::inspectStore(folder);
        ASSERT_TRUE(state.problem.isEmpty()) << state.problem.toStdString();
        EXPECT_EQ(state.integrity, QStringLiteral("ok"));
        const bool isOld = state.snapshot == before.snapshot;
        const bool isNew = state.snapshot == after.snapshot;
        EXPECT_TRUE(isOld || isNew) << "the store holds neither the old nor the new content";
        if (!run.killed) {
            EXPECT_TRUE(isNew);
        }
        oldContent += isOld && scenario.changesContent ? 1 : 0;
        expectCompleteBackups(folder, before.snapshot);
        QDir(folder).removeRecursively();
    }
    // Most delays fall inside the operation.
    EXPECT_GT(killedMidway, 0);
    RecordProperty("kills", killedMidway);
    RecordProperty("old_content", oldContent);
}

INSTANTIATE_TEST_SUITE_P(StoreOperations, KillTest, ::testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<KillScenario>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });
