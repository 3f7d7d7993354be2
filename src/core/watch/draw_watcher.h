#pragma once
// Watching the results pages: each cycle reads the days that may hold new draws from the first
// address that answers, stores the new draws in one transaction and, when a calculation is set,
// calculates the next period through the calculation run, which records it in the journal. A
// stored draw is never changed or removed: a page that contradicts one is told as a conflict.
//
// When to look: with the game's schedule, from a draw's due time plus a delay, then every few
// seconds until it is there, giving up on it after some minutes; without one (or when asked to
// poll), every few seconds. The clock and the page fetcher are handed in.
//
// A cycle has three steps so that a window can read the pages away from the store: plan (reads
// the store), fetch (network only, any thread), apply (one transaction, then the calculation).

#include "backtest/category_calculation.h"
#include "common/result.h"
#include "domain/draw_schedule.h"
#include "history/results_page.h"
#include "watch/watch_clock.h"
#include "watch/watch_event.h"
#include "watch/watch_settings.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace qeltaro {

class Progress;
class Store;
class WatchHold;

// Reads one page: its body, or why not. Must be callable from any thread.
using PageFetcher = std::function<Result<QByteArray>(const QUrl& url, std::chrono::milliseconds timeout, const Progress* stop)>;

inline constexpr qint64 kWatchedPageMaxBytes = 5 * 1024 * 1024;
// Over HTTP or HTTPS, bounded by the timeout and kWatchedPageMaxBytes.
PageFetcher httpPageFetcher();

struct WatchOptions {
    QStringList addresses;  // tried in this order; HistoryUrl's lines, or the command line's
    WatchTiming timing;
    bool pollAlways = false;  // every pollSeconds even when the game has a schedule
    int searchDays = 3;       // IniSerchDay: the days read into an empty history
    std::optional<CalculationRequest> calculation;  // the next period's, after new draws
    std::chrono::milliseconds pageTimeout{20000};
};

// The days a cycle reads and where from.
struct WatchCyclePlan {
    Game game;
    std::vector<QDate> days;  // oldest first
    std::vector<ResultsAddress> addresses;
    int firstAddress = 0;  // the one that answered last
    std::chrono::milliseconds pageTimeout{20000};
};

struct WatchCycleFetch {
    bool cancelled = false;
    int answered = -1;     // index of the address that served every page; -1: none did
    QStringList failures;  // one line per address that did not answer
    std::vector<NewDraw> draws;  // every draw the pages name, by period
};

// Reads the plan's pages from the first address that serves them all. Network only.
WatchCycleFetch fetchWatchCycle(const WatchCyclePlan& plan, const PageFetcher& fetch, const Progress* stop = nullptr);

class DrawWatcher {
public:
    // Refused while another watcher holds the data folder (naming its process), for a game the
    // pages cannot serve, without an address or with one that is no results address.
    static Result<std::unique_ptr<DrawWatcher>> open(Store& store, WatchOptions options, WatchClock& clock,
                                                     PageFetcher fetch = httpPageFetcher());
    ~DrawWatcher();

    // The calculation for the period already next, when one is set.
    std::vector<WatchEvent> start();

    struct NextLook {
        QDateTime at;      // when the next cycle runs (may be past: at once)
        QString period;    // the period awaited
        QDateTime due;     // its due time; invalid without a schedule
    };
    // Worked out anew from the clock each time, so a clock set back or forward is followed. The
    // first time a scheduled period is awaited, `events` gets a Waiting event.
    NextLook nextLook(std::vector<WatchEvent>& events);

    WatchCyclePlan planCycle();
    std::vector<WatchEvent> applyCycle(WatchCycleFetch fetched);
    // The three steps on the calling thread.
    std::vector<WatchEvent> runCycle(const Progress* stop = nullptr);

    // Looks and waits until `stopped` says so or, when `maxDraws` > 0, that many new draws were
    // stored. Each event goes to `sink` as it happens.
    void run(const std::function<void(const WatchEvent&)>& sink, const std::function<bool()>& stopped, int maxDraws = 0);

    int drawsStored() const { return drawsStored_; }
    // The newest stored draw's period; empty for an empty history.
    const QString& newestStored() const { return newestStored_; }
    const PageFetcher& fetcher() const { return fetch_; }
    void setCalculation(std::optional<CalculationRequest> request) { options_.calculation = std::move(request); }

private:
    DrawWatcher(Store& store, WatchOptions options, WatchClock& clock, PageFetcher fetch);
    bool scheduled() const;
    Status readNextPeriod();
    std::vector<WatchEvent> calculate();

    Store& store_;
    WatchOptions options_;
    WatchClock& clock_;
    PageFetcher fetch_;
    std::unique_ptr<WatchHold> hold_;
    std::vector<ResultsAddress> addresses_;
    DrawSchedule schedule_;      // read again each cycle: the window may change it meanwhile
    int firstAddress_ = 0;
    PeriodNumber historyNext_;   // the period after the newest stored draw
    PeriodNumber awaited_;       // historyNext_, or later once earlier ones were given up
    QString newestStored_;
    QString announced_;          // the period whose Waiting event was told
    QDateTime lastCycle_;        // when the last cycle started; invalid before the first
    std::set<QString> conflictsTold_;
    std::set<QString> agreed_;  // stored periods the page gave with the stored digits
    std::uint64_t agreedRevision_ = 0;
    int drawsStored_ = 0;
};

}  // namespace qeltaro
