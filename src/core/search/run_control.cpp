#include "search/run_control.h"

namespace qeltaro {

using Clock = std::chrono::steady_clock;

void RunControl::pause()
{
    std::lock_guard lock(mutex_);
    if (paused_.load() || stopped_.load())
        return;
    pausedAt_ = Clock::now();
    paused_.store(true);
}

void RunControl::resume()
{
    {
        std::lock_guard lock(mutex_);
        if (!paused_.load())
            return;
        pausedFor_ += Clock::now() - pausedAt_;
        paused_.store(false);
    }
    wake_.notify_all();
}

void RunControl::stop()
{
    {
        std::lock_guard lock(mutex_);
        if (paused_.load()) {
            pausedFor_ += Clock::now() - pausedAt_;
            paused_.store(false);
        }
        stopped_.store(true);
    }
    wake_.notify_all();
}

bool RunControl::waitWhilePaused()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !paused_.load() || stopped_.load(); });
    return !stopped_.load();
}

void RunControl::startClock()
{
    std::lock_guard lock(mutex_);
    started_ = Clock::now();
    pausedFor_ = {};
    if (paused_.load())
        pausedAt_ = started_;
}

double RunControl::activeSeconds() const
{
    std::lock_guard lock(mutex_);
    Clock::duration active = Clock::now() - started_ - pausedFor_;
    if (paused_.load())
        active -= Clock::now() - pausedAt_;
    return std::chrono::duration<double>(active).count();
}

}  // namespace qeltaro
