#pragma once
// A search as every front end runs it: a request checked against the settings and the store
// (FormulaSearch::prepare), the run on its own threads, and, once it has ended, its record
// written into the data folder. The command line waits for the job, the window polls it; both
// save or export what it found through found_formula_save.h and the formula text export.

#include "common/result.h"
#include "domain/history_columns.h"
#include "search/run_record.h"
#include "search/scheme_run.h"
#include "search/search_run.h"

#include <QDateTime>
#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace qeltaro {

// A seed for a run nobody asked to repeat: fresh entropy each time.
std::uint64_t freshSearchSeed();

template <typename Run>
class SearchJob {
public:
    using Request = std::decay_t<decltype(std::declval<const Run&>().request())>;

    SearchJob(QString dataDir, std::shared_ptr<const HistoryColumns> history, Request request,
              std::chrono::milliseconds reportInterval = std::chrono::milliseconds(100))
        : dataDir_(std::move(dataDir)), history_(std::move(history)), run_(history_, std::move(request))
    {
        run_.setReportInterval(reportInterval);
    }

    // The record's time starts here.
    void start()
    {
        started_ = QDateTime::currentDateTime();
        run_.start();
    }
    void stop() { run_.stop(); }
    void pause() { run_.pause(); }
    void resume() { run_.resume(); }
    bool paused() const { return run_.paused(); }
    bool finished() const { return run_.finished(); }
    void wait() { run_.wait(); }
    auto progress() const { return run_.progress(); }
    const FoundFeed& feed() const { return run_.feed(); }
    const Request& request() const { return run_.request(); }
    const HistoryColumns& history() const { return *history_; }
    std::shared_ptr<const HistoryColumns> sharedHistory() const { return history_; }
    // After the run ended (finished, then wait()).
    const auto& outcome() const { return run_.outcome(); }

    // Waits for the run's end and writes its record into the data folder, once; the path written,
    // or why it could not be. A run is not spoiled when its record cannot be written.
    const Result<QString>& finish()
    {
        if (!record_) {
            run_.wait();
            record_ = writeRunRecord(dataDir_, recordOf(run_.request(), run_.outcome(), fingerprintOf(*history_), started_));
        }
        return *record_;
    }

private:
    static QJsonObject recordOf(const SearchRequest& request, const SearchOutcome& outcome,
                                const HistoryFingerprint& history, const QDateTime& started)
    {
        return searchRunRecord(request, outcome, history, started);
    }
    static QJsonObject recordOf(const SchemeRequest& request, const SchemeOutcome& outcome,
                                const HistoryFingerprint& history, const QDateTime& started)
    {
        return schemeRunRecord(request, outcome, history, started);
    }

    QString dataDir_;
    std::shared_ptr<const HistoryColumns> history_;
    Run run_;
    QDateTime started_ = QDateTime::currentDateTime();
    std::optional<Result<QString>> record_;
};

using ManualSearchJob = SearchJob<SearchRun>;
using SchemeSearchJob = SearchJob<SchemeRun>;

}  // namespace qeltaro
