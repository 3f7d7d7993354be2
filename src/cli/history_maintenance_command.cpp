// qeltaro-cli history delete | export-text

#include "cli_context.h"

#include "history/history_maintenance.h"
#include "history/history_text_export.h"

#include <QJsonObject>
#include <QTextStream>

namespace qeltaro::cli {

void addHistoryMaintenanceCommands(CLI::App& app, Context& context)
{
    struct Options {
        bool all = false;
        std::string after;
        std::string last;
    };
    auto options = std::make_shared<Options>();
    CLI::App* history = app.get_subcommand("history");

    CLI::App* remove = history->add_subcommand("delete", "delete all draws, the draws after a period, or the last N draws");
    CLI::Option* all = remove->add_flag("--all", options->all, "delete every draw (a copy of the store is kept first)");
    CLI::Option* after = remove->add_option("--after", options->after, "keep the draws up to and including PERIOD, delete the later ones");
    CLI::Option* last = remove->add_option("--last", options->last, "delete the last N draws");
    all->excludes(after)->excludes(last);
    after->excludes(last);
    setAction(remove, [&context, options, all, after, last] {
        if (all->count() + after->count() + last->count() == 0) {
            QTextStream(stderr) << QStringLiteral("请指定 --all、--after PERIOD 或 --last N 之一\n");
            return int(kUsage);
        }
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto report = options->all           ? deleteAllDraws(**store)
                      : after->count() > 0 ? deleteDrawsAfter(**store, fromStd(options->after))
                                           : deleteLastDraws(**store, fromStd(options->last));
        if (!report)
            return context.fail(report.error());
        if (!report->compactionProblem.isEmpty())
            QTextStream(stderr) << report->compactionProblem << '\n';
        if (context.json) {
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("removed"), report->removed},
                                                        {QStringLiteral("remaining"), report->remaining},
                                                        {QStringLiteral("backup"), report->backupPath}}));
        } else {
            context.print(QStringLiteral("已删除%1期，剩余%2期").arg(report->removed).arg(report->remaining));
            if (!report->backupPath.isEmpty())
                context.print(QStringLiteral("删除前的数据库备份：%1").arg(report->backupPath));
        }
        return int(kSuccess);
    });

    CLI::App* exportText = history->add_subcommand("export-text", "write the history text file 更新至<period>期历史号码.txt");
    setAction(exportText, [&context] {
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        auto file = exportHistoryText(**store);
        if (!file)
            return context.fail(file.error());
        if (context.json)
            context.printJson(QJsonDocument(QJsonObject{{QStringLiteral("path"), file->path},
                                                        {QStringLiteral("draws"), file->draws}}));
        else
            context.print(file->path);
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
