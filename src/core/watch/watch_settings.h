#pragma once
// The watch's settings: when it looks for draws, whether the window watches, and its sound.

#include "settings/settings.h"

namespace qeltaro {

// From a scheduled draw's due time plus the delay, then every retry seconds, giving up on the
// draw after the give-up minutes; without a schedule, every poll seconds.
struct WatchTiming {
    int delaySeconds = 20;   // WatchDelaySeconds
    int retrySeconds = 10;   // WatchRetrySeconds
    int giveUpMinutes = 10;  // WatchGiveUpMinutes
    int pollSeconds = 30;    // WatchPollSeconds
};

// Unreadable values read as their defaults.
WatchTiming readWatchTiming(const Settings& settings);

// 自动更新开奖 and its sound, as the window last left them (AutoWatch, WatchSound).
bool autoWatchOn(const Settings& settings);
void setAutoWatch(Settings& settings, bool on);
bool watchSoundOn(const Settings& settings);
void setWatchSound(Settings& settings, bool on);

}  // namespace qeltaro
