// qeltaro-cli history delete | export-text

#include "cli_context.h"

#include "history/history_maintenance.h"
#include "history/history_text_export.h"

#include <QJsonObject>

namespace qeltaro::cli {
namespace {

struct DeleteOptions {
    bool all = false;
    std::string after;
    std::string last;
    CLI::Option* allOption = nullptr;
    CLI::Option* afterOption = nullptr;
    CLI::Option* lastOption = nullptr;
    void bind(CLI::App* command)
    {
        allOption = command->add_flag("--all", all, "delete every draw (a copy of the store is kept first)");
        afterOption = command->add_option("--after", after, "keep the draws up to and including PERIOD, delete the later ones");
        lastOption = command->add_option("--last", last, "delete the last N draws");
        allOption->excludes(afterOption)->excludes(lastOption);
        afterOption->excludes(lastOption);
    }
    std::optional<QString> missing() const
    {
        if (allOption->count() + afterOption->count() + lastOption->count() > 0)
            return std::nullopt;
        return QStringLiteral("请指定 --all、--after PERIOD 或 --last N 之一");
    }
};

Outcome deleteDraws(Context&, Store& store, const DeleteOptions& o)
{
    auto report = o.all                          ? deleteAllDraws(store)
                  : o.afterOption->count() > 0 ? deleteDrawsAfter(store, fromStd(o.after))
                                               : deleteLastDraws(store, fromStd(o.last));
    if (!report)
        return report.error();
    if (!report->compactionProblem.isEmpty())
        printWarning(report->compactionProblem);
    QStringList lines{QStringLiteral("已删除%1期，剩余%2期").arg(report->removed).arg(report->remaining)};
    if (!report->backupPath.isEmpty())
        lines << QStringLiteral("删除前的数据库备份：%1").arg(report->backupPath);
    return answer(lines, QJsonObject{{QStringLiteral("removed"), report->removed},
                                     {QStringLiteral("remaining"), report->remaining},
                                     {QStringLiteral("backup"), report->backupPath}});
}

Outcome exportText(Context&, Store& store, const NoOptions&)
{
    auto file = exportHistoryText(store);
    if (!file)
        return file.error();
    return answer({file->path}, QJsonObject{{QStringLiteral("path"), file->path}, {QStringLiteral("draws"), file->draws}});
}

}  // namespace

void addHistoryMaintenanceCommands(CLI::App& app, Context& context)
{
    addSubcommands(app.get_subcommand("history"), context,
                   {{"delete", "delete all draws, the draws after a period, or the last N draws", deleteDraws},
                    {"export-text", "write the history text file 更新至<period>期历史号码.txt", exportText}});
}

}  // namespace qeltaro::cli
