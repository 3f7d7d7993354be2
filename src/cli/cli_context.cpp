#include "cli_context.h"

#include "io/data_location.h"
#include "common/message_text.h"

#include <QTextStream>

#include <cstdio>
#include <map>

namespace qeltaro::cli {
namespace {

std::map<const CLI::App*, Action>& actions()
{
    static std::map<const CLI::App*, Action> table;
    return table;
}

}  // namespace

Result<Store*> Context::store()
{
    if (!store_) {
        auto opened = Store::open(resolveDataDir(fromStd(dataDirOption)));
        if (!opened)
            return opened.error();
        store_ = std::move(*opened);
    }
    return store_.get();
}

Settings& Context::settings()
{
    if (!settings_)
        settings_ = std::make_unique<Settings>();
    return *settings_;
}

int Context::fail(const Error& error)
{
    QTextStream(stderr) << error.message << '\n';
    return exitCodeOf(error);
}

int exitCodeOf(const Error& error)
{
    switch (error.kind) {
    case ErrorKind::BadInput: return kBadInput;
    case ErrorKind::Storage: return kStorage;
    case ErrorKind::Cancelled: return kBadInput;
    }
    return kBadInput;
}

void setAction(CLI::App* command, Action action)
{
    actions()[command] = std::move(action);
}

int runChosenAction(const CLI::App& app)
{
    const CLI::App* chosen = &app;
    for (;;) {
        const auto used = chosen->get_subcommands();
        if (used.empty())
            break;
        chosen = used.front();
    }
    const auto it = actions().find(chosen);
    if (it == actions().end()) {
        std::fputs(chosen->help().c_str(), stderr);
        return kUsage;
    }
    return it->second();
}

void addSubcommands(CLI::App* parent, Context& context, std::initializer_list<Subcommand> subcommands)
{
    for (const Subcommand& subcommand : subcommands)
        subcommand.add(parent->add_subcommand(subcommand.name, subcommand.help), context);
}

void addCommandGroup(CLI::App& app, Context& context, const char* name, const char* help,
                     std::initializer_list<Subcommand> subcommands)
{
    CLI::App* group = app.add_subcommand(name, help);
    group->require_subcommand(1);
    addSubcommands(group, context, subcommands);
}

void printWarning(const QString& message)
{
    QTextStream(stderr) << message << '\n';
}

void printWarnings(const QStringList& messages)
{
    for (const QString& message : messages)
        printWarning(message);
}

QString fromStd(const std::string& text)
{
    return QString::fromStdString(text);
}

Result<Category> parseCategory(const std::string& text)
{
    if (auto category = Category::fromSuffix(fromStd(text)))
        return *category;
    return badInput(QStringLiteral("未知类别“%1”：可用 1D 2D 3D 4D 5D 2G 3G 4G 5G").arg(excerpt(fromStd(text))));
}

Result<Kind> parseKind(const std::string& text)
{
    if (auto kind = kindFromName(fromStd(text)))
        return *kind;
    return badInput(QStringLiteral("未知公式种类“%1”：可用 kill 或 keep").arg(excerpt(fromStd(text))));
}

void ListOptions::bind(CLI::App* command, const char* categoryHelp)
{
    command->add_option("--category", categoryText, categoryHelp)->required();
    command->add_option("--kind", kindText, kKindHelp)->required();
}

Status ListOptions::read()
{
    auto parsedCategory = parseCategory(categoryText);
    if (!parsedCategory)
        return parsedCategory.error();
    auto parsedKind = parseKind(kindText);
    if (!parsedKind)
        return parsedKind.error();
    category = *parsedCategory;
    kind = *parsedKind;
    return success();
}

void KindOption::bind(CLI::App* command, const char* help)
{
    command->add_option("--kind", text, help)->capture_default_str();
}

Status KindOption::read()
{
    auto parsed = parseKind(text);
    if (!parsed)
        return parsed.error();
    kind = *parsed;
    return success();
}

int finishCommand(Context& context, const Outcome& outcome)
{
    if (!outcome)
        return context.fail(outcome.error());
    return printReport(**outcome, context.json);
}

}  // namespace qeltaro::cli
