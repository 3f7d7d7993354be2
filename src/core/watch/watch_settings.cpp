#include "watch/watch_settings.h"

#include <algorithm>

namespace qeltaro {
namespace {

int numberOr(const Settings& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int n = settings.value(key).trimmed().toInt(&ok);
    // The store refuses values out of range; one edited by hand falls back as well.
    return ok && n >= 0 ? n : fallback;
}

bool flagOn(const Settings& settings, const QString& key)
{
    return settings.value(key).trimmed().compare(flagText(true), Qt::CaseInsensitive) == 0;
}

}  // namespace

WatchTiming readWatchTiming(const Settings& settings)
{
    const WatchTiming defaults;
    WatchTiming timing;
    timing.delaySeconds = numberOr(settings, QStringLiteral("WatchDelaySeconds"), defaults.delaySeconds);
    timing.retrySeconds = std::max(1, numberOr(settings, QStringLiteral("WatchRetrySeconds"), defaults.retrySeconds));
    timing.giveUpMinutes = std::max(1, numberOr(settings, QStringLiteral("WatchGiveUpMinutes"), defaults.giveUpMinutes));
    timing.pollSeconds = std::max(1, numberOr(settings, QStringLiteral("WatchPollSeconds"), defaults.pollSeconds));
    return timing;
}

bool autoWatchOn(const Settings& settings)
{
    return flagOn(settings, QStringLiteral("AutoWatch"));
}

void setAutoWatch(Settings& settings, bool on)
{
    (void)settings.set(QStringLiteral("AutoWatch"), flagText(on));
}

bool watchSoundOn(const Settings& settings)
{
    return flagOn(settings, QStringLiteral("WatchSound"));
}

void setWatchSound(Settings& settings, bool on)
{
    (void)settings.set(QStringLiteral("WatchSound"), flagText(on));
}

}  // namespace qeltaro
