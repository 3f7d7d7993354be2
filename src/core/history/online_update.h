#pragma once
// Bringing the history up to date from a results source's day pages.
//
// The work has three steps so that a window can run the network part away from the store:
// plan (reads the history), fetch (network only), apply (one transaction). The history changes
// only when the fetch brought draws; a history older than the analysis window is replaced by
// them, never cleared ahead of a fetch that might fail.

#include "common/result.h"
#include "history/draw_history.h"
#include "history/results_page.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <chrono>
#include <vector>

namespace qeltaro {

class Progress;
class Store;

struct DayPage {
    QDate day;
    int startIssue = 1;  // the first issue looked for on the page
};

struct UpdatePlan {
    Game game;                     // the store's, whose periods the pages are read for
    QString lastStored;            // only draws after it are taken; empty: every draw
    bool replaceHistory = false;   // the oldest draw lies beyond the window
    std::vector<DayPage> pages;    // oldest day first
};

// Refused for a year-numbered game: its periods do not name the day pages the update reads.
// Front ends ask this before they ask for an address.
Status onlineUpdateServes(const Game& game);

// Which day pages to read. An empty history, or one whose oldest draw is more than
// `searchDays` days before `today`, gets the last `searchDays` days from issue 001; a history
// whose newest draw is from today gets today's page from the next issue; any other history gets
// every day from its newest draw's day to today.
Result<UpdatePlan> planUpdate(Store& store, int searchDays, const QDate& today);

struct FetchedDraws {
    int pages = 0;         // pages read or tried
    int pagesFailed = 0;   // not loaded, or without any draw of their day
    QStringList failures;  // one line per failed page: day and reason
    QStringList unreadable;  // periods named without five digits, or with two different draws
    std::vector<NewDraw> draws;  // newer than the plan's last stored draw, oldest first
};

// Reads the plan's pages (network only). Stops with a Cancelled error when asked to.
Result<FetchedDraws> fetchUpdate(const UpdatePlan& plan, const ResultsAddress& address,
                                 std::chrono::milliseconds pageTimeout, Progress* progress = nullptr);

struct UpdateReport {
    int pages = 0;
    int pagesFailed = 0;
    QStringList failures;
    QStringList unreadable;
    int stored = 0;
    bool replaced = false;  // an old history was removed in favour of the fetched draws
    int removed = 0;        // draws of the old history removed
    QString backupPath;     // copy of the store kept before replacing the history
    QStringList gaps;       // missing periods between stored draws: "160121005" or "160121005-160121007"
    int missing = 0;        // periods in the gaps
    QString lastStored;     // the newest draw after the update (empty: none)
};

// Stores the fetched draws in one transaction. Fails, changing nothing, when every page failed.
Result<UpdateReport> applyUpdate(Store& store, const UpdatePlan& plan, FetchedDraws fetched);

struct OnlineUpdateOptions {
    QString baseAddress;  // HistoryUrl: a base address or a whole one with the day's placeholder
    int searchDays = 3;   // IniSerchDay
    QDate today;
    std::chrono::milliseconds pageTimeout{20000};
};

// The report in words, a line each: pages, draws stored, what was replaced, gaps, failures.
QStringList updateSummaryLines(const UpdateReport& report);

// The update as a caller runs it: planned and applied on the store's thread, fetched on any
// thread (the window's worker); the page timeout comes with the options.
class OnlineHistoryUpdate {
public:
    // Refused for a game the update cannot serve or an address that is no results address.
    static Result<OnlineHistoryUpdate> plan(Store& store, const OnlineUpdateOptions& options);
    // Network only. A failure or a cancel is told by apply().
    void fetch(Progress* progress = nullptr);
    // Once fetched: one transaction, or nothing stored.
    Result<UpdateReport> apply(Store& store);

private:
    OnlineHistoryUpdate() = default;

    UpdatePlan plan_;
    ResultsAddress address_;
    std::chrono::milliseconds pageTimeout_{20000};
    Result<FetchedDraws> fetched_ = Error{ErrorKind::Cancelled, QString()};
};

// Plan, fetch and apply, on the calling thread.
Result<UpdateReport> updateHistoryOnline(Store& store, const OnlineUpdateOptions& options, Progress* progress = nullptr);

}  // namespace qeltaro
