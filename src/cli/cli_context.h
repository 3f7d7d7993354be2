#pragma once
// What every command of qeltaro-cli shares: the global options, the store, and the way results
// and errors are printed and turned into exit codes.

#include "common/result.h"
#include "domain/category.h"
#include "domain/kind.h"
#include "settings/settings.h"
#include "store/store.h"

#include <CLI/CLI.hpp>

#include <QJsonDocument>
#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace qeltaro::cli {

enum ExitCode { kSuccess = 0, kBadInput = 1, kUsage = 2, kStorage = 3 };

class Context {
public:
    std::string dataDirOption;
    bool json = false;

    // Opens the store on first use.
    Result<Store*> store();
    Settings& settings();

    // Prints an error on stderr and returns its exit code.
    int fail(const Error& error);
    void print(const QString& text);          // one line on stdout
    void printJson(const QJsonDocument& doc);  // the whole --json answer

private:
    std::unique_ptr<Store> store_;
    std::unique_ptr<Settings> settings_;
};

// A subcommand's action returns an exit code; the dispatcher runs the one that was chosen.
using Action = std::function<int()>;
void setAction(CLI::App* command, Action action);
int runChosenAction(const CLI::App& app);

QString fromStd(const std::string& text);

// Parses a category suffix (1D..5G) or a kind (kill/keep) given on the command line.
Result<Category> parseCategory(const std::string& text);
Result<Kind> parseKind(const std::string& text);

void addHistoryCommands(CLI::App& app, Context& context);
void addHistoryUpdateCommand(CLI::App& app, Context& context);       // called by addHistoryCommands
void addHistoryMaintenanceCommands(CLI::App& app, Context& context);  // called by addHistoryCommands
void addFormulaCommands(CLI::App& app, Context& context);
void addSettingsCommands(CLI::App& app, Context& context);
void addBacktestCommands(CLI::App& app, Context& context);
void addCalcCommand(CLI::App& app, Context& context);
void addReplayCommand(CLI::App& app, Context& context);
void addBreakdownCommand(CLI::App& app, Context& context);
void addExportCommands(CLI::App& app, Context& context);
void addSearchCommand(CLI::App& app, Context& context);
void addSmartSetCommand(CLI::App& app, Context& context);
void addSearchSettingsCommands(CLI::App& app, Context& context);
void addWalkForwardCommand(CLI::App& app, Context& context);
void addJournalCommands(CLI::App& app, Context& context);

}  // namespace qeltaro::cli
