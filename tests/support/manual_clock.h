#pragma once
// A watch clock that tests move by hand: waiting jumps straight to the awaited moment, so a day
// of draws passes in milliseconds.

#include "watch/watch_clock.h"

namespace qeltaro::test {

class ManualClock : public WatchClock {
public:
    explicit ManualClock(QDateTime start) : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void waitUntil(const QDateTime& until, const std::function<bool()>&) override
    {
        if (until > now_)
            now_ = until;
        ++waits_;
    }
    void set(const QDateTime& moment) { now_ = moment; }
    int waits() const { return waits_; }

private:
    QDateTime now_;
    int waits_ = 0;
};

}  // namespace qeltaro::test
