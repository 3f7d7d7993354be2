// qeltaro-cli: the command-line program on the same core as the desktop program.

#include "cli_context.h"
#include "large_page_heap.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // The version alone needs none of the commands: answered before their parsers are built, in
    // the words the parser's version flag prints.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("qeltaro-cli " QELTARO_VERSION);
        return 0;
    }

    qeltaro::cli::useLargePageHeap();
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Qeltaro"));

    using namespace qeltaro::cli;
    Context context;
    CLI::App app{"Qeltaro: draw history, formulas and their back-tests for the five-digit lottery", "qeltaro-cli"};
    app.require_subcommand(1);
    app.set_version_flag("--version", "qeltaro-cli " QELTARO_VERSION);
    app.add_option("--data-dir", context.dataDirOption, "data folder (default: $QELTARO_DATA_DIR or ~/.local/share/Qeltaro)");
    app.add_flag("--json", context.json, "print one JSON document on stdout");

    addHistoryCommands(app, context);
    addFormulaCommands(app, context);
    addSettingsCommands(app, context);
    addGameCommands(app, context);
    addBacktestCommands(app, context);
    addCalcCommand(app, context);
    addReplayCommand(app, context);
    addBreakdownCommand(app, context);
    addExportCommands(app, context);
    addSearchCommand(app, context);
    addSmartSetCommand(app, context);
    addSearchSettingsCommands(app, context);
    addWalkForwardCommand(app, context);
    addJournalCommands(app, context);
    addBackupCommands(app, context);
    addPayoutCommands(app, context);
    addPlanCommand(app, context);
    addTrendCommands(app, context);
    addWatchCommand(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kUsage;
    }
    return runChosenAction(app);
}
