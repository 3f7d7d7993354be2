// The command-line back-test as a user runs it: `qeltaro-cli [--json] backtest --category 3D
// --kind kill --window all` over 5,000 formulas x 1,920 sample draws, as a whole process, with
// the output read through a pipe. The core steps the command takes are timed in this process
// too, so the rest of the process's time (start, printing, exit) shows as what is left.
//
//   cli_backtest_bench [--runs N] [--formulas N] [--draws N] [--cli PATH] [--keep DIR]
//
// --keep fills DIR instead of a temporary folder and leaves it, so a profiler can run the
// command on the same data (QELTARO_DATA_DIR=DIR qeltaro-cli ...).

#include "latency_support.h"

#include "backtest/backtest_engine.h"
#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "backtest/statistics_write_back.h"
#include "domain/history_columns.h"
#include "settings/settings.h"
#include "store/history_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstring>

using namespace qeltaro;
using namespace qeltaro::bench;

namespace {

struct ProcessRun {
    double ms = 0;
    qsizetype outputBytes = 0;
};

ProcessRun runCli(const QString& cli, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    ProcessRun run;
    const auto start = Clock::now();
    process.start(cli, arguments);
    failIf(!process.waitForStarted(), QStringLiteral("cannot start ") + cli);
    QByteArray output;
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(-1);
        output += process.readAllStandardOutput();
    }
    output += process.readAllStandardOutput();
    run.ms = millisecondsSince(start);
    failIf(process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0,
           QStringLiteral("%1 failed: %2").arg(arguments.join(u' '), QString::fromUtf8(process.readAllStandardError())));
    run.outputBytes = output.size();
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int runs = intOption(argc, argv, "--runs", 5);
    const int formulas = intOption(argc, argv, "--formulas", 5000);
    const int draws = intOption(argc, argv, "--draws", 1920, 2);
    QString cli = QStringLiteral(QELTARO_BINARY_DIR "/src/cli/qeltaro-cli");
    QString kept;
    for (int i = 1; i + 1 < argc; ++i) {
        if (!std::strcmp(argv[i], "--cli"))
            cli = QString::fromLocal8Bit(argv[i + 1]);
        if (!std::strcmp(argv[i], "--keep"))
            kept = QString::fromLocal8Bit(argv[i + 1]);
    }

    QTemporaryDir temporary;
    failIf(!temporary.isValid(), QStringLiteral("no temporary folder"));
    failIf(!kept.isEmpty() && !QDir().mkpath(kept), QStringLiteral("cannot make ") + kept);
    const QDir dir(kept.isEmpty() ? temporary.path() : kept);
    const FormulaListKey key{{3, false}, Kind::Kill};
    fillDataFolder(dir.path(), draws, formulas, key, QStringLiteral("三星直选"));
    std::printf("== qeltaro-cli backtest --category 3D --kind kill --window all: %d formulas x %d draws\n", formulas, draws);

    // The child's settings go to the temporary folder, not the user's.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("QELTARO_DATA_DIR"), dir.path());
    const QStringList command = {QStringLiteral("backtest"), QStringLiteral("--category"), QStringLiteral("3D"),
                                 QStringLiteral("--kind"), QStringLiteral("kill"), QStringLiteral("--window"),
                                 QStringLiteral("all")};

    StepTimes steps;
    qsizetype jsonBytes = 0, textBytes = 0;
    for (int run = 0; run < runs; ++run) {
        steps.add("process: qeltaro-cli --version (start and exit alone)",
                  runCli(cli, {QStringLiteral("--version")}, environment).ms);
        const ProcessRun json = runCli(cli, QStringList{QStringLiteral("--json")} + command, environment);
        steps.add("process: --json backtest", json.ms);
        jsonBytes = json.outputBytes;
        const ProcessRun text = runCli(cli, command, environment);
        steps.add("process: backtest (text)", text.ms);
        textBytes = text.outputBytes;

        // The core steps of the command, in this process.
        std::unique_ptr<Store> store;
        steps.time("  in process: store opened", [&] { store = std::move(*Store::open(dir.path())); });
        Result<FormulaList> list = FormulaList(key.category, key.kind);
        steps.time("  in process: formulas loaded and compiled", [&] { list = FormulaList::load(*store, key.category, key.kind); });
        failIf(!list, QStringLiteral("cannot load the formulas"));
        HistoryColumns history;
        steps.time("  in process: history loaded", [&] { history = HistoryColumns(*HistoryTable(*store).all()); });
        const BacktestEngine engine;
        FormulaStatsTable table;
        steps.time("  in process: engine back-test", [&] { table = engine.backtest(*list, history, {0, true, true}); });
        steps.time("  in process: statistics write-back", [&] {
            failIf(!writeBackStatistics(*store, *list, table), QStringLiteral("write-back failed"));
        });
        steps.time("  in process: chance columns (assessStatistics)",
                   [&] { (void)assessStatistics(key.category, key.kind, table); });
    }
    steps.print();
    std::printf("  output: %lld bytes of JSON, %lld bytes of text\n", (long long)jsonBytes, (long long)textBytes);
    return 0;
}
