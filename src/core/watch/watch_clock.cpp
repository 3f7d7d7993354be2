#include "watch/watch_clock.h"

#include <chrono>
#include <thread>

namespace qeltaro {

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

void SystemClock::waitUntil(const QDateTime& until, const std::function<bool()>& stopped)
{
    using namespace std::chrono;
    const auto steadyStart = steady_clock::now();
    const QDateTime wallStart = now();
    while (!stopped || !stopped()) {
        const QDateTime wall = now();
        if (wall >= until)
            return;
        // The wall clock moved apart from the elapsed time: it was set, or the computer slept.
        const qint64 elapsed = duration_cast<milliseconds>(steady_clock::now() - steadyStart).count();
        if (std::abs(wallStart.msecsTo(wall) - elapsed) > 2000)
            return;
        std::this_thread::sleep_for(milliseconds(std::min<qint64>(100, std::max<qint64>(1, wall.msecsTo(until)))));
    }
}

}  // namespace qeltaro
