#pragma once
// A background run of one request over its own copy of the history that hands on the formulas it
// finds while it goes: the manual search and the scheme.

#include "domain/history_columns.h"
#include "search/background_run.h"
#include "search/found_feed.h"

#include <chrono>
#include <functional>
#include <memory>

namespace qeltaro {

template <typename Request, typename Progress, typename Outcome,
          Outcome (*Work)(const HistoryColumns&, const Request&, RunControl&,
                          const std::function<void(const Progress&)>&, std::chrono::milliseconds, FoundFeed*)>
class FeedingRun : public BackgroundRun<Progress, Outcome> {
public:
    FeedingRun(std::shared_ptr<const HistoryColumns> history, Request request)
        : history_(std::move(history)), request_(std::move(request))
    {
    }
    ~FeedingRun() override { this->stopAndWait(); }

    const Request& request() const { return request_; }
    void start()
    {
        this->startWork([history = history_, request = request_, interval = this->interval(), feed = feed_](
                            RunControl& control, const std::function<void(const Progress&)>& report) {
            return Work(*history, request, control, report, interval, feed.get());
        });
    }
    // The formulas found so far, a few times a second while the run goes on.
    const FoundFeed& feed() const { return *feed_; }

private:
    std::shared_ptr<const HistoryColumns> history_;
    Request request_;
    std::shared_ptr<FoundFeed> feed_ = std::make_shared<FoundFeed>();
};

}  // namespace qeltaro
