// qeltaro-cli watch: brings each draw as the results pages show it, calculates the next period
// when asked, prints an event a line and hands each result to another program.

#include "calc_report.h"
#include "calculation_options.h"

#include "io/web_address.h"
#include "watch/draw_watcher.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <unistd.h>

namespace qeltaro::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int)
{
    stopRequested = 1;
}

struct WatchCommandOptions {
    std::vector<std::string> urls;
    std::optional<int> pollSeconds;
    int maxDraws = 0;
    std::string onDraw;
    int onDrawSeconds = 30;
    std::string categoryText;
    std::string kindText = "kill";
    CalculationOptions calculation;
    ListOptions list;

    void bind(CLI::App* command)
    {
        command->add_option("--url", urls, "results address for this watch instead of HistoryUrl (repeatable; tried in order)");
        command->add_option("--poll-seconds", pollSeconds, "look every S seconds, even when the game has a schedule")
            ->check(CLI::Range(1, 86400));
        command->add_option("--max-draws", maxDraws, "end once N new draws were stored")->check(CLI::Range(1, 1000000));
        command->add_option("--on-draw", onDraw,
                            "run COMMAND through the shell after each calculation (or each draws event without one), "
                            "the event's JSON on its stdin, QELTARO_PERIOD in its environment");
        command->add_option("--on-draw-seconds", onDrawSeconds, "end an --on-draw command running longer (default 30)")
            ->check(CLI::Range(1, 3600));
        command->add_option("--category", categoryText, "after new draws, calculate the next period of this category");
        command->add_option("--kind", kindText, "kill or keep (with --category; default kill)");
        calculation.bind(command, "best method: three keys KEY[ DIRECTION],KEY,KEY, as calc takes them");
    }
    Status read(Context& context)
    {
        if (!categoryText.empty()) {
            list.categoryText = categoryText;
            list.kindText = kindText;
            if (Status s = list.read(); !s)
                return s;
        }
        return calculation.read(context);
    }
};

// The event as one compact JSON line; a calculation carries what calc --json prints.
QByteArray eventJson(const WatchEvent& event, const QString& listHeading, const SortSettings& sort)
{
    if (event.kind == WatchEvent::Kind::Calculation) {
        char* buffer = nullptr;
        size_t size = 0;
        std::FILE* memory = open_memstream(&buffer, &size);
        {
            JsonOut out(memory);
            out.beginObject();
            out.key(QStringLiteral("calc"));
            CalcReport(listHeading, event.run->calculation, sort).writeJson(out);
            out.member(QStringLiteral("event"), QStringLiteral("calculation"));
            out.endObject();
            out.finish();
        }
        std::fclose(memory);
        QByteArray line(buffer, qsizetype(size));
        std::free(buffer);
        return line;
    }
    QJsonObject json;
    switch (event.kind) {
    case WatchEvent::Kind::Draws:
        json = {{QStringLiteral("event"), QStringLiteral("draws")},
                {QStringLiteral("periods"), QJsonArray::fromStringList(event.periods)},
                {QStringLiteral("newest"), event.period}};
        break;
    case WatchEvent::Kind::Conflict:
        json = {{QStringLiteral("event"), QStringLiteral("conflict")},
                {QStringLiteral("period"), event.period},
                {QStringLiteral("stored"), event.stored},
                {QStringLiteral("page"), event.page}};
        break;
    case WatchEvent::Kind::Error:
        json = {{QStringLiteral("event"), QStringLiteral("error")}, {QStringLiteral("message"), event.message}};
        break;
    case WatchEvent::Kind::Waiting:
        json = {{QStringLiteral("event"), QStringLiteral("waiting")},
                {QStringLiteral("period"), event.period},
                {QStringLiteral("due"), event.due.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))}};
        break;
    case WatchEvent::Kind::Calculation:
        break;
    }
    return QJsonDocument(json).toJson(QJsonDocument::Compact) + '\n';
}

// The --on-draw command: the user's own shell text, run as it is; the event reaches it only
// through its standard input and the environment, never through the command's text.
class DrawHook {
public:
    DrawHook(QString command, int seconds) : command_(std::move(command)), seconds_(seconds) {}

    // Why it failed, or nothing when it ended with 0.
    std::optional<QString> run(const QByteArray& eventLine, const QString& period)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QELTARO_PERIOD"), period);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        // A group of its own, so a time-out ends whatever the shell started.
        process.setChildProcessModifier([] { ::setpgid(0, 0); });
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command_});
        if (!process.waitForStarted(5000))
            return QStringLiteral("--on-draw 命令无法启动：%1").arg(process.errorString());
        process.write(eventLine);
        process.closeWriteChannel();
        const qint64 deadline = qint64(seconds_) * 1000;
        QElapsedTimer elapsed;
        elapsed.start();
        bool finished = false;
        while (!finished) {
            finished = process.waitForFinished(100);
            passOutput(process);
            if (finished)
                break;
            if (stopRequested || elapsed.elapsed() > deadline) {
                ::kill(-pid_t(process.processId()), SIGKILL);
                process.waitForFinished(2000);
                passOutput(process);
                if (stopRequested)
                    return std::nullopt;
                return QStringLiteral("--on-draw 命令超过%1秒没有结束，已终止").arg(seconds_);
            }
        }
        if (process.exitStatus() != QProcess::NormalExit)
            return QStringLiteral("--on-draw 命令异常结束");
        if (process.exitCode() != 0)
            return QStringLiteral("--on-draw 命令失败，退出码%1").arg(process.exitCode());
        return std::nullopt;
    }

private:
    // Its output goes to our standard error, never among the event lines.
    static void passOutput(QProcess& process)
    {
        const QByteArray output = process.readAll();
        if (!output.isEmpty()) {
            std::fwrite(output.constData(), 1, size_t(output.size()), stderr);
            std::fflush(stderr);
        }
    }

    QString command_;
    int seconds_;
};

int watch(Context& context, const WatchCommandOptions& o)
{
    auto store = context.store();
    if (!store)
        return context.fail(store.error());
    Settings& settings = context.settings();
    WatchOptions options;
    for (const std::string& url : o.urls)
        options.addresses << fromStd(url).trimmed();
    if (options.addresses.isEmpty())
        options.addresses = addressLines(settings.historyUrl());
    options.timing = readWatchTiming(settings);
    if (o.pollSeconds) {
        options.pollAlways = true;
        options.timing.pollSeconds = *o.pollSeconds;
    }
    options.searchDays = settings.read().searchDays;
    const bool calculating = !o.categoryText.empty();
    if (calculating) {
        CalculationRequest request;
        auto selected = loadCalculationRequest(**store, o.list, o.calculation, request);
        if (!selected)
            return context.fail(selected.error());
        options.calculation = request;
    }
    SystemClock clock;
    auto watcher = DrawWatcher::open(**store, std::move(options), clock);
    if (!watcher)
        return context.fail(watcher.error());

    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    const QString heading = calculating ? listHeading(o.list) : QString();
    std::optional<DrawHook> hook;
    if (!o.onDraw.empty())
        hook.emplace(fromStd(o.onDraw), o.onDrawSeconds);
    std::function<void(const WatchEvent&)> print;
    print = [&](const WatchEvent& event) {
        const QByteArray json = eventJson(event, heading, o.calculation.sort);
        if (context.json) {
            std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
        } else {
            const QByteArray line = eventText(event).toUtf8() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        }
        std::fflush(stdout);
        if (event.kind == WatchEvent::Kind::Calculation)
            printWarnings(event.run->warnings);
        const bool handsOver = calculating ? event.kind == WatchEvent::Kind::Calculation : event.kind == WatchEvent::Kind::Draws;
        if (hook && handsOver) {
            if (auto failure = hook->run(json, (*watcher)->newestStored())) {
                WatchEvent error;
                error.kind = WatchEvent::Kind::Error;
                error.message = *failure;
                print(error);
            }
        }
    };
    (*watcher)->run(print, [] { return stopRequested != 0; }, o.maxDraws);
    return kSuccess;
}

}  // namespace

void addWatchCommand(CLI::App& app, Context& context)
{
    bindCommand<WatchCommandOptions>(
        app.add_subcommand("watch", "watch the results pages: store each new draw, calculate the next period, tell it"),
        context, watch);
}

}  // namespace qeltaro::cli
