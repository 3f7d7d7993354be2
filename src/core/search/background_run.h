#pragma once
// A long run on a thread of its own, so the window that starts it stays responsive: start()
// returns at once; the run reports progress through a handler (called on the run's thread, at
// least a few times a second) and can be paused, continued and stopped from any thread. The
// outcome is available after wait(), and to the finished handler.

#include "search/run_control.h"

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace qeltaro {

template <typename Progress, typename Outcome>
class BackgroundRun {
public:
    using ProgressHandler = std::function<void(const Progress&)>;

    BackgroundRun() = default;
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;
    virtual ~BackgroundRun() { stopAndWait(); }

    // Set before start().
    void setProgressHandler(ProgressHandler handler) { progressHandler_ = std::move(handler); }
    void setReportInterval(std::chrono::milliseconds interval) { interval_ = interval; }

    void pause() { control_.pause(); }
    void resume() { control_.resume(); }
    void stop() { control_.stop(); }
    bool paused() const { return control_.paused(); }
    bool running() const
    {
        std::lock_guard lock(mutex_);
        return started_ && !outcome_;
    }

    // The latest progress reported.
    Progress progress() const
    {
        std::lock_guard lock(mutex_);
        return progress_;
    }

    void wait()
    {
        if (thread_.joinable())
            thread_.join();
    }
    // The outcome; only after wait().
    const Outcome& outcome() const { return *outcome_; }
    bool finished() const
    {
        std::lock_guard lock(mutex_);
        return outcome_.has_value();
    }

protected:
    using Work = std::function<Outcome(RunControl& control, const ProgressHandler& report)>;

    void startWork(Work work)
    {
        {
            std::lock_guard lock(mutex_);
            if (started_)
                return;
            started_ = true;
        }
        control_.startClock();
        thread_ = std::thread([this, work = std::move(work)] {
            const ProgressHandler report = [this](const Progress& progress) {
                {
                    std::lock_guard lock(mutex_);
                    progress_ = progress;
                }
                if (progressHandler_)
                    progressHandler_(progress);
            };
            Outcome outcome = work(control_, report);
            {
                std::lock_guard lock(mutex_);
                outcome_ = std::move(outcome);
            }
        });
    }

    std::chrono::milliseconds interval() const { return interval_; }
    RunControl& control() { return control_; }

    void stopAndWait()
    {
        control_.stop();
        wait();
    }

private:
    RunControl control_;
    mutable std::mutex mutex_;
    Progress progress_{};
    std::optional<Outcome> outcome_;
    bool started_ = false;
    std::thread thread_;
    ProgressHandler progressHandler_;
    std::chrono::milliseconds interval_{200};
};

}  // namespace qeltaro
