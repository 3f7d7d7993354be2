#pragma once
// Pause, continue and stop for a run on worker threads, and the time it was actually running.
// The window's buttons call pause(), resume() and stop() from its own thread; the workers call
// proceed() between candidates, which returns at once unless the run is paused or stopped.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qeltaro {

class RunControl {
public:
    void pause();
    void resume();
    void stop();

    bool paused() const { return paused_.load(std::memory_order_relaxed); }
    bool stopRequested() const { return stopped_.load(std::memory_order_relaxed); }

    // Waits while paused; false once the run is to stop.
    bool proceed()
    {
        if (!paused_.load(std::memory_order_relaxed) && !stopped_.load(std::memory_order_relaxed)) [[likely]]
            return true;
        return waitWhilePaused();
    }

    // Marks the start of the running time; pauses are not counted.
    void startClock();
    double activeSeconds() const;

private:
    bool waitWhilePaused();

    std::atomic<bool> paused_{false};
    std::atomic<bool> stopped_{false};
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::chrono::steady_clock::time_point started_{};
    std::chrono::steady_clock::time_point pausedAt_{};
    std::chrono::steady_clock::duration pausedFor_{};
};

}  // namespace qeltaro
