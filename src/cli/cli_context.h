#pragma once
// What every command of qeltaro-cli shares: the global options, the store, the dispatcher that
// runs the chosen subcommand and prints its report, and the options several subcommands take.

#include "report.h"

#include "common/result.h"
#include "domain/category.h"
#include "domain/kind.h"
#include "language/formula_line.h"
#include "settings/settings.h"
#include "store/store.h"

#include <CLI/CLI.hpp>

#include <QDate>
#include <QString>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

namespace qeltaro::cli {

enum ExitCode { kSuccess = 0, kBadInput = 1, kUsage = 2, kStorage = 3 };

// The exit code of a command that ends in `error`.
int exitCodeOf(const Error& error);

class Context {
public:
    std::string dataDirOption;
    bool json = false;

    // Opens the store on first use.
    Result<Store*> store();
    Settings& settings();

    // Prints an error on stderr and returns its exit code.
    int fail(const Error& error);

private:
    std::unique_ptr<Store> store_;
    std::unique_ptr<Settings> settings_;
};

// A subcommand's action returns an exit code; the dispatcher runs the one that was chosen.
using Action = std::function<int()>;
void setAction(CLI::App* command, Action action);
int runChosenAction(const CLI::App& app);

using Outcome = Result<ReportPtr>;

// A subcommand: an options struct and a named function making the report. The struct may have
// bind(CLI::App*), binding its options to the parser; missing(), naming what the command cannot
// run without (a usage error); read() or read(Context&), reading the option texts into values.
// For a command on the store the dispatcher opens the store after reading the options, so a
// refused option is told before a store that cannot open.
struct NoOptions {};

QString fromStd(const std::string& text);

// Parses a category suffix (1D..5G) or a kind (kill/keep) given on the command line.
Result<Category> parseCategory(const std::string& text);
Result<Kind> parseKind(const std::string& text);

inline constexpr const char* kCategoryHelp = "category: 1D 2D 3D 4D 5D 2G 3G 4G 5G";
inline constexpr const char* kKindHelp = "kill or keep";

// --category and --kind: the formula list a command works on.
struct ListOptions {
    std::string categoryText;
    std::string kindText;
    Category category;
    Kind kind = Kind::Kill;

    // Both required.
    void bind(CLI::App* command, const char* categoryHelp = kCategoryHelp);
    Status read();
    FormulaListKey key() const { return {category, kind}; }
};

// --kind alone, "kill" when not given.
struct KindOption {
    std::string text = "kill";
    Kind kind = Kind::Kill;

    void bind(CLI::App* command, const char* help = kKindHelp);
    Status read();
};

// A message on stderr that does not stop the command (a formula left out, for instance).
void printWarning(const QString& message);
void printWarnings(const QStringList& messages);

// --today YYYY-MM-DD; today's date when not given.
Status readToday(const std::string& text, QDate& today);

void addHistoryCommands(CLI::App& app, Context& context);
void addHistoryUpdateCommand(CLI::App& app, Context& context);       // called by addHistoryCommands
void addHistoryMaintenanceCommands(CLI::App& app, Context& context);  // called by addHistoryCommands
void addFormulaCommands(CLI::App& app, Context& context);
void addSettingsCommands(CLI::App& app, Context& context);
void addGameCommands(CLI::App& app, Context& context);
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
void addBackupCommands(CLI::App& app, Context& context);
void addPayoutCommands(CLI::App& app, Context& context);
void addPlanCommand(CLI::App& app, Context& context);
void addTrendCommands(CLI::App& app, Context& context);
void addWatchCommand(CLI::App& app, Context& context);

// The report printed, or the error told; the exit code either way.
int finishCommand(Context& context, const Outcome& outcome);

template <typename Options>
std::shared_ptr<Options> bindOptions(CLI::App* command)
{
    auto options = std::make_shared<Options>();
    if constexpr (requires { options->bind(command); })
        options->bind(command);
    return options;
}

template <typename Options>
Status readValues(Context& context, Options& options)
{
    if constexpr (requires { options.read(context); })
        return options.read(context);
    else if constexpr (requires { options.read(); })
        return options.read();
    else
        return success();
}

// The usage error or the refused option of a subcommand's options, as an exit code; kSuccess when
// the command may run.
template <typename Options>
int readOptions(Context& context, Options& options)
{
    if constexpr (requires { options.missing(); }) {
        if (const std::optional<QString> missing = options.missing())
            return printReport(Refusal(Problem{*missing, kUsage}), context.json);
    }
    const Status read = readValues(context, options);
    return read ? int(kSuccess) : context.fail(read.error());
}

// The subcommand's options bound; when it is chosen, they are read, then `then` runs.
template <typename Options, typename Then>
void bindCommand(CLI::App* command, Context& context, Then then)
{
    setAction(command, [&context, options = bindOptions<Options>(command), then] {
        if (int refused = readOptions(context, *options); refused != kSuccess)
            return refused;
        return then(context, *options);
    });
}

template <typename Options>
void addCommand(CLI::App* command, Context& context, Outcome (*run)(Context&, const Options&))
{
    bindCommand<Options>(command, context,
                         [run](Context& context, const Options& options) { return finishCommand(context, run(context, options)); });
}

template <typename Options>
void addStoreCommand(CLI::App* command, Context& context, Outcome (*run)(Context&, Store&, const Options&))
{
    bindCommand<Options>(command, context, [run](Context& context, const Options& options) {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        return finishCommand(context, run(context, **store, options));
    });
}

// One subcommand of a group: its name, its help and the function making its report, on the store
// when it takes one.
struct Subcommand {
    template <typename Options>
    Subcommand(const char* name, const char* help, Outcome (*run)(Context&, const Options&))
        : name(name), help(help), add([run](CLI::App* command, Context& context) { addCommand(command, context, run); })
    {
    }
    template <typename Options>
    Subcommand(const char* name, const char* help, Outcome (*run)(Context&, Store&, const Options&))
        : name(name), help(help),
          add([run](CLI::App* command, Context& context) { addStoreCommand(command, context, run); })
    {
    }

    const char* name;
    const char* help;
    std::function<void(CLI::App*, Context&)> add;
};

// `subcommands` under `parent`, in the order listed (the order --help shows).
void addSubcommands(CLI::App* parent, Context& context, std::initializer_list<Subcommand> subcommands);
// A command that only groups its subcommands: one of them must be chosen.
void addCommandGroup(CLI::App& app, Context& context, const char* name, const char* help,
                     std::initializer_list<Subcommand> subcommands);

}  // namespace qeltaro::cli
