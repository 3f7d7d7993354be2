#include "watch/draw_watcher.h"

#include "common/progress.h"
#include "history/draw_history.h"
#include "history/game_schedule.h"
#include "history/online_update.h"
#include "io/html_text.h"
#include "io/http_get.h"
#include "io/text_codec.h"
#include "store/history_table.h"
#include "store/store.h"
#include "watch/watch_hold.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qeltaro {
namespace {

// Days further back are beyond any analysis window (IniSerchDay is at most 10).
constexpr int kMostDaysRead = 10;
// Periods given up in one look at most: a year of the busiest game.
constexpr int kMostPeriodsSkipped = Game::kMaxDrawsPerDay * 366;

WatchEvent errorEvent(const QString& message)
{
    WatchEvent event;
    event.kind = WatchEvent::Kind::Error;
    event.message = message;
    return event;
}

QString addressName(const ResultsAddress& address)
{
    return address.pattern.isEmpty() ? address.base.toString() : address.pattern;
}

// A cycle's pages read on a thread of their own, so a stop is heard at once even while a server
// keeps the answer back until the timeout. A stopped read is left to end by itself: it only holds
// what it was handed.
struct AsideFetch {
    class Flag : public Progress {
    public:
        std::atomic<bool> set{false};
        bool cancelled() const override { return set.load(); }
    };
    WatchCyclePlan plan;
    PageFetcher fetch;
    Flag stop;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    WatchCycleFetch result;
};

std::optional<WatchCycleFetch> fetchAside(WatchCyclePlan plan, const PageFetcher& fetch, const std::function<bool()>& stopped)
{
    auto job = std::make_shared<AsideFetch>();
    job->plan = std::move(plan);
    job->fetch = fetch;
    std::thread([job] {
        WatchCycleFetch result = fetchWatchCycle(job->plan, job->fetch, &job->stop);
        std::lock_guard lock(job->mutex);
        job->result = std::move(result);
        job->done = true;
        job->finished.notify_all();
    }).detach();
    std::unique_lock lock(job->mutex);
    while (!job->done) {
        if (stopped && stopped()) {
            job->stop.set = true;
            return std::nullopt;
        }
        job->finished.wait_for(lock, std::chrono::milliseconds(50));
    }
    return std::move(job->result);
}

}  // namespace

PageFetcher httpPageFetcher()
{
    return [](const QUrl& url, std::chrono::milliseconds timeout, const Progress* stop) {
        HttpGetLimits limits;
        limits.timeout = timeout;
        limits.maxBytes = kWatchedPageMaxBytes;
        return httpGet(url, limits, stop);
    };
}

WatchCycleFetch fetchWatchCycle(const WatchCyclePlan& plan, const PageFetcher& fetch, const Progress* stop)
{
    WatchCycleFetch fetched;
    const int count = int(plan.addresses.size());
    for (int k = 0; k < count; ++k) {
        const int index = (plan.firstAddress + k) % count;
        const ResultsAddress& address = plan.addresses[size_t(index)];
        std::vector<NewDraw> draws;
        QString failure;
        for (const QDate& day : plan.days) {
            auto body = fetch(resultsPageUrl(address, day), plan.pageTimeout, stop);
            if (!body) {
                if (body.error().kind == ErrorKind::Cancelled || (stop && stop->cancelled())) {
                    fetched.cancelled = true;
                    return fetched;
                }
                failure = QStringLiteral("%1（%2）：%3")
                              .arg(addressName(address), day.toString(QStringLiteral("yyyy-MM-dd")), body.error().message);
                break;
            }
            // Every draw of the day, stored ones too: those are checked against the store.
            DayPageDraws page = readDayPage(visibleText(decodeText(*body)), day, 1, QString(), plan.game);
            draws.insert(draws.end(), page.draws.begin(), page.draws.end());
        }
        if (failure.isEmpty()) {
            fetched.answered = index;
            fetched.draws = std::move(draws);
            return fetched;
        }
        fetched.failures << failure;
    }
    return fetched;
}

DrawWatcher::DrawWatcher(Store& store, WatchOptions options, WatchClock& clock, PageFetcher fetch)
    : store_(store), options_(std::move(options)), clock_(clock), fetch_(std::move(fetch))
{
}

DrawWatcher::~DrawWatcher() = default;

Result<std::unique_ptr<DrawWatcher>> DrawWatcher::open(Store& store, WatchOptions options, WatchClock& clock,
                                                       PageFetcher fetch)
{
    if (Status s = onlineUpdateServes(store.game()); !s)
        return s.error();
    std::vector<ResultsAddress> addresses;
    for (const QString& line : options.addresses) {
        auto address = parseResultsBase(line);
        if (!address)
            return address.error();
        addresses.push_back(std::move(*address));
    }
    if (addresses.empty())
        return badInput(QStringLiteral("没有设置开奖网址：请先设置 HistoryUrl（可写多个，一行一个）"));
    auto hold = WatchHold::take(store.dataDir());
    if (!hold)
        return hold.error();
    std::unique_ptr<DrawWatcher> watcher(new DrawWatcher(store, std::move(options), clock, std::move(fetch)));
    watcher->hold_ = std::move(*hold);
    watcher->addresses_ = std::move(addresses);
    auto schedule = readGameSchedule(store);
    if (!schedule)
        return schedule.error();
    // A schedule that no longer fits the game (edited by hand) is not followed.
    if (!scheduleProblem(*schedule, store.game()))
        watcher->schedule_ = std::move(*schedule);
    if (Status s = watcher->readNextPeriod(); !s)
        return s.error();
    watcher->awaited_ = watcher->historyNext_;
    return watcher;
}

bool DrawWatcher::scheduled() const
{
    return !options_.pollAlways && !schedule_.empty();
}

Status DrawWatcher::readNextPeriod()
{
    auto proposed = DrawHistory(store_).proposeNext(clock_.now().date());
    if (!proposed)
        return proposed.error();
    QString error;
    const auto period = PeriodNumber::parse(proposed->period, store_.game(), &error);
    if (!period)
        return storageError(error);
    historyNext_ = *period;
    const Game& game = store_.game();
    auto last = HistoryTable(store_).last();
    if (!last)
        return last.error();
    newestStored_ = *last ? (*last)->period : QString();
    if (!awaited_.date.isValid() || awaited_.text(game) < historyNext_.text(game))
        awaited_ = historyNext_;
    return success();
}

std::vector<WatchEvent> DrawWatcher::start()
{
    return calculate();
}

std::vector<WatchEvent> DrawWatcher::calculate()
{
    if (!options_.calculation)
        return {};
    auto history = loadHistoryColumns(store_);
    if (!history)
        return {errorEvent(QStringLiteral("计算失败：%1").arg(history.error().message))};
    auto run = runCalculation(store_, *history, *options_.calculation, true, clock_.now());
    if (!run)
        return {errorEvent(QStringLiteral("计算失败：%1").arg(run.error().message))};
    std::vector<WatchEvent> events(1);
    events[0].kind = WatchEvent::Kind::Calculation;
    // The calculation stands; what could not be kept of it is told after it.
    if (auto failure = run->firstFailure())
        events.push_back(errorEvent(failure->message));
    events[0].run = std::make_shared<const CalculationRun>(std::move(*run));
    return events;
}

DrawWatcher::NextLook DrawWatcher::nextLook(std::vector<WatchEvent>& events)
{
    const QDateTime now = clock_.now();
    // A clock set back: the last cycle is not in the future.
    if (lastCycle_.isValid() && lastCycle_ > now)
        lastCycle_ = now;
    const Game& game = store_.game();
    if (!scheduled()) {
        const QDateTime at = lastCycle_.isValid() ? lastCycle_.addSecs(options_.timing.pollSeconds) : now;
        return {at, historyNext_.text(game), {}};
    }
    const qint64 delay = options_.timing.delaySeconds;
    const qint64 giveUp = qint64(options_.timing.giveUpMinutes) * 60;
    NextLook look;
    for (int skipped = 0;; ++skipped) {
        const QDateTime due = schedule_.dueOf(awaited_.date, awaited_.issue);
        look.period = awaited_.text(game);
        look.due = due;
        if (!lastCycle_.isValid() || lastCycle_ < due.addSecs(delay)) {
            look.at = due.addSecs(delay);
            break;
        }
        const QDateTime retry = lastCycle_.addSecs(options_.timing.retrySeconds);
        if (retry <= due.addSecs(giveUp) || skipped >= kMostPeriodsSkipped) {
            look.at = retry;
            break;
        }
        awaited_ = awaited_.next(game);  // given up: the next draw is awaited
    }
    if (announced_ != look.period) {
        announced_ = look.period;
        WatchEvent waiting;
        waiting.kind = WatchEvent::Kind::Waiting;
        waiting.period = look.period;
        waiting.due = look.due;
        events.push_back(std::move(waiting));
    }
    return look;
}

WatchCyclePlan DrawWatcher::planCycle()
{
    const QDateTime now = clock_.now();
    lastCycle_ = now;
    if (auto schedule = readGameSchedule(store_); schedule && !scheduleProblem(*schedule, store_.game()))
        schedule_ = std::move(*schedule);
    const QDate today = now.date();
    const Game& game = store_.game();
    WatchCyclePlan plan;
    plan.game = game;
    plan.addresses = addresses_;
    plan.firstAddress = firstAddress_;
    plan.pageTimeout = options_.pageTimeout;
    QDate from = today.addDays(1 - options_.searchDays);
    auto last = HistoryTable(store_).last();
    if (last && *last) {
        if (const auto newest = PeriodNumber::parse((*last)->period, game)) {
            // A day whose last draw is stored holds nothing new.
            from = newest->issue >= game.drawsPerDay ? newest->date.addDays(1) : newest->date;
            from = std::max(from, today.addDays(1 - kMostDaysRead));
        }
    }
    for (QDate day = std::min(from, today); day <= today; day = day.addDays(1))
        plan.days.push_back(day);
    return plan;
}

std::vector<WatchEvent> DrawWatcher::applyCycle(WatchCycleFetch fetched)
{
    std::vector<WatchEvent> events;
    if (fetched.cancelled)
        return events;
    if (fetched.answered < 0) {
        events.push_back(errorEvent(fetched.failures.join(QStringLiteral("；"))));
        return events;
    }
    firstAddress_ = fetched.answered;
    const Game& game = store_.game();
    HistoryTable table(store_);
    auto last = table.last();
    if (!last) {
        events.push_back(errorEvent(last.error().message));
        return events;
    }
    const QString newest = *last ? (*last)->period : QString();

    std::vector<NewDraw> draws = std::move(fetched.draws);
    std::sort(draws.begin(), draws.end(),
              [&](const NewDraw& a, const NewDraw& b) { return a.period.text(game) < b.period.text(game); });
    std::vector<NewDraw> fresh;
    for (const NewDraw& draw : draws) {
        const QString period = draw.period.text(game);
        if (period > newest) {
            if (fresh.empty() || !(fresh.back().period == draw.period))
                fresh.push_back(draw);
            continue;
        }
        if (conflictsTold_.count(period))
            continue;
        // Periods the page gave as stored are not looked up again while the history stands.
        if (agreedRevision_ != store_.historyRevision()) {
            agreed_.clear();
            agreedRevision_ = store_.historyRevision();
        }
        if (agreed_.count(period))
            continue;
        auto stored = table.find(period);
        if (stored && *stored && (*stored)->digits() == draw.digits)
            agreed_.insert(period);
        if (stored && *stored && (*stored)->digits() != draw.digits) {
            conflictsTold_.insert(period);
            WatchEvent conflict;
            conflict.kind = WatchEvent::Kind::Conflict;
            conflict.period = period;
            conflict.stored = digitsText((*stored)->digits());
            conflict.page = digitsText(draw.digits);
            events.push_back(std::move(conflict));
        }
    }
    if (fresh.empty())
        return events;

    WatchEvent stored;
    stored.kind = WatchEvent::Kind::Draws;
    for (const NewDraw& draw : fresh)
        stored.periods << draw.period.text(game);
    stored.period = stored.periods.back();
    auto report = DrawHistory(store_).store(std::move(fresh));
    if (!report) {
        events.push_back(errorEvent(report.error().message));
        return events;
    }
    drawsStored_ += report->stored;
    events.push_back(std::move(stored));
    if (Status s = readNextPeriod(); !s)
        events.push_back(errorEvent(s.error().message));
    for (WatchEvent& event : calculate())
        events.push_back(std::move(event));
    return events;
}

std::vector<WatchEvent> DrawWatcher::runCycle(const Progress* stop)
{
    const WatchCyclePlan plan = planCycle();
    return applyCycle(fetchWatchCycle(plan, fetch_, stop));
}

void DrawWatcher::run(const std::function<void(const WatchEvent&)>& sink, const std::function<bool()>& stopped,
                      int maxDraws)
{
    const auto enough = [&] { return maxDraws > 0 && drawsStored_ >= maxDraws; };
    for (const WatchEvent& event : start())
        sink(event);
    while (!(stopped && stopped()) && !enough()) {
        std::vector<WatchEvent> waiting;
        const NextLook look = nextLook(waiting);
        for (const WatchEvent& event : waiting)
            sink(event);
        if (clock_.now() < look.at) {
            clock_.waitUntil(look.at, stopped);
            continue;
        }
        auto fetched = fetchAside(planCycle(), fetch_, stopped);
        if (!fetched)
            break;
        for (const WatchEvent& event : applyCycle(std::move(*fetched)))
            sink(event);
    }
}

}  // namespace qeltaro
