#pragma once
// The time a watch goes by. The watcher asks it the time and waits through it, so tests hand it
// a clock that jumps to the awaited moment and run days of draws in milliseconds.

#include <QDateTime>

#include <functional>

namespace qeltaro {

class WatchClock {
public:
    virtual ~WatchClock() = default;
    virtual QDateTime now() const = 0;
    // Returns at `until` at the latest; earlier when `stopped` says so or the clock was set back
    // or forward meanwhile. The caller asks the time again and decides anew.
    virtual void waitUntil(const QDateTime& until, const std::function<bool()>& stopped) = 0;
};

// The computer's local time, waited for in short sleeps so a stop is heard within a tenth of a
// second.
class SystemClock : public WatchClock {
public:
    QDateTime now() const override;
    void waitUntil(const QDateTime& until, const std::function<bool()>& stopped) override;
};

}  // namespace qeltaro
