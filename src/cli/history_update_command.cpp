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

QJsonObject reportJson(const UpdateReport& report)
{
    return QJsonObject{{QStringLiteral("pages"), report.pages},
                       {QStringLiteral("pagesFailed"), report.pagesFailed},
                       {QStringLiteral("stored"), report.stored},
                       {QStringLiteral("replaced"), report.replaced},
                       {QStringLiteral("removed"), report.removed},
                       {QStringLiteral("backup"), report.backupPath},
                       {QStringLiteral("gaps"), jsonList(report.gaps)},
                       {QStringLiteral("missing"), report.missing},
                       {QStringLiteral("unreadable"), jsonList(report.unreadable)},
                       {QStringLiteral("failures"), jsonList(report.failures)},
                       {QStringLiteral("last"), report.lastStored}};
}

struct UpdateOptions {
    std::string url;
    std::string days;
    std::string today;
    OnlineUpdateOptions update;
    void bind(CLI::App* command)
    {
        command->add_option("--url", url, "base address of the results pages instead of the HistoryUrl setting");
        command->add_option("--days", days, "days to look back (2..10) instead of the IniSerchDay setting");
        command->add_option("--today", today, "the day taken as today (YYYY-MM-DD)");
    }
    Status read(Context& context)
    {
        if (Status s = readToday(today, update.today); !s)
            return s;
        if (!days.empty()) {
            const auto parsed = parseSearchDays(fromStd(days));
            if (!parsed)
                return badInput(searchDaysRefusal());
            update.searchDays = *parsed;
        } else {
            update.searchDays = context.settings().read().searchDays;
        }
        update.baseAddress = url.empty() ? context.settings().historyUrl() : fromStd(url);
        return success();
    }
};

Outcome update(Context&, Store& store, const UpdateOptions& o)
{
    // A game the update cannot serve is told before a missing address.
    if (Status s = onlineUpdateServes(store.game()); !s)
        return s.error();
    if (o.update.baseAddress.trimmed().isEmpty())
        return badInput(QStringLiteral("没有设置历史号码网页地址：请先运行 qeltaro-cli settings set HistoryUrl 地址，"
                                       "或用 --url 指定"));
    TerminalProgress progress;
    auto report = updateHistoryOnline(store, o.update, &progress);
    if (!report)
        return report.error();
    return answer(updateSummaryLines(*report), reportJson(*report));
}

}  // namespace

void addHistoryUpdateCommand(CLI::App& app, Context& context)
{
    addSubcommands(app.get_subcommand("history"), context,
                   {{"update", "bring the history up to date from the results pages (HistoryUrl)", update}});
}

}  // namespace qeltaro::cli
