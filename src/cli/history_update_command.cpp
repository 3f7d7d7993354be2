// qeltaro-cli history update

#include "cli_context.h"

#include "common/progress.h"
#include "history/online_update.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace qeltaro::cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
}

// Ctrl+C stops the update between reads; nothing is stored then.
class TerminalProgress : public Progress {
public:
    TerminalProgress() : previous_(std::signal(SIGINT, onInterrupt)), terminal_(isatty(STDERR_FILENO) != 0) {}
    ~TerminalProgress() override { std::signal(SIGINT, previous_); }

    void report(int done, int total, const QString& what) override
    {
        if (terminal_)
            QTextStream(stderr) << QStringLiteral("[%1/%2] %3\n").arg(done).arg(total).arg(what);
    }
    bool cancelled() const override { return interrupted != 0; }

private:
    void (*previous_)(int);
    bool terminal_;
};

QJsonArray jsonList(const QStringList& list)
{
    return QJsonArray::fromStringList(list);
}

void printReport(Context& context, const UpdateReport& report)
{
    if (context.json) {
        context.printJson(QJsonDocument(QJsonObject{
            {QStringLiteral("pages"), report.pages},
            {QStringLiteral("pagesFailed"), report.pagesFailed},
            {QStringLiteral("stored"), report.stored},
            {QStringLiteral("replaced"), report.replaced},
            {QStringLiteral("removed"), report.removed},
            {QStringLiteral("backup"), report.backupPath},
            {QStringLiteral("gaps"), jsonList(report.gaps)},
            {QStringLiteral("missing"), report.missing},
            {QStringLiteral("unreadable"), jsonList(report.unreadable)},
            {QStringLiteral("failures"), jsonList(report.failures)},
            {QStringLiteral("last"), report.lastStored}}));
        return;
    }
    if (report.pages == 0) {
        context.print(QStringLiteral("历史号码已更新到第%1期，今天没有更新的期号，没有读取网页").arg(report.lastStored));
        return;
    }
    context.print(QStringLiteral("读取网页%1个，失败%2个，保存开奖号码%3期")
                      .arg(report.pages)
                      .arg(report.pagesFailed)
                      .arg(report.stored));
    if (report.replaced)
        context.print(QStringLiteral("原有历史号码早于检索天数，已删除原有的%1期（备份：%2）")
                          .arg(report.removed)
                          .arg(report.backupPath));
    if (!report.gaps.isEmpty())
        context.print(QStringLiteral("缺少%1期：%2").arg(report.missing).arg(report.gaps.join(QStringLiteral(", "))));
    if (!report.unreadable.isEmpty())
        context.print(QStringLiteral("号码无法识别的期号：%1").arg(report.unreadable.join(QStringLiteral(", "))));
    for (const QString& failure : report.failures)
        context.print(QStringLiteral("读取失败 %1").arg(failure));
    if (!report.lastStored.isEmpty())
        context.print(QStringLiteral("最新一期：%1").arg(report.lastStored));
}

}  // namespace

void addHistoryUpdateCommand(CLI::App& app, Context& context)
{
    struct Options {
        std::string url;
        std::string days;
        std::string today;
    };
    auto options = std::make_shared<Options>();
    CLI::App* history = app.get_subcommand("history");
    CLI::App* update = history->add_subcommand("update", "bring the history up to date from the results pages (HistoryUrl)");
    update->add_option("--url", options->url, "base address of the results pages instead of the HistoryUrl setting");
    update->add_option("--days", options->days, "days to look back (2..10) instead of the IniSerchDay setting");
    update->add_option("--today", options->today, "the day taken as today (YYYY-MM-DD)");
    setAction(update, [&context, options] {
        OnlineUpdateOptions update;
        update.today = QDate::currentDate();
        if (!options->today.empty()) {
            update.today = QDate::fromString(fromStd(options->today), Qt::ISODate);
            if (!update.today.isValid())
                return context.fail(badInput(QStringLiteral("--today 应为 YYYY-MM-DD，而不是“%1”").arg(fromStd(options->today))));
        }
        if (!options->days.empty()) {
            const auto days = parseSearchDays(fromStd(options->days));
            if (!days)
                return context.fail(badInput(searchDaysRefusal()));
            update.searchDays = *days;
        } else {
            update.searchDays = context.settings().read().searchDays;
        }
        update.baseAddress = options->url.empty() ? context.settings().historyUrl() : fromStd(options->url);
        if (update.baseAddress.trimmed().isEmpty())
            return context.fail(badInput(QStringLiteral("没有设置历史号码网页地址：请先运行 qeltaro-cli settings set HistoryUrl 地址，"
                                                         "或用 --url 指定")));
        auto store = context.store();
        if (!store)
            return context.fail(store.error());
        TerminalProgress progress;
        auto report = updateHistoryOnline(**store, update, &progress);
        if (!report)
            return context.fail(report.error());
        printReport(context, *report);
        return int(kSuccess);
    });
}

}  // namespace qeltaro::cli
