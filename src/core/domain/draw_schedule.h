#pragma once
// When a game draws: segments of "first draw, minutes between draws, number of draws" in the
// computer's local time, e.g. 00:05/5/23,10:00/10/73,22:05/5/24 for the standard 120 a day. A
// draw at 24:00 is still the day's last issue and falls due at 00:00 of the next day.

#include "common/result.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <vector>

namespace qeltaro {

struct ScheduleSegment {
    int firstMinute = 0;  // minutes after midnight
    int everyMinutes = 0;
    int draws = 0;

    int lastMinute() const { return firstMinute + (draws - 1) * everyMinutes; }
    friend bool operator==(const ScheduleSegment&, const ScheduleSegment&) = default;
};

struct DrawSchedule {
    std::vector<ScheduleSegment> segments;  // in order of the day; empty: no schedule

    bool empty() const { return segments.empty(); }
    int drawsPerDay() const;
    // The text form, as parsed: "00:05/5/23,10:00/10/73"; empty for no schedule.
    QString text() const;
    // Why the schedule cannot serve a game of `drawsPerDay` draws a day; nullopt when it can.
    std::optional<QString> problem(int drawsPerDay) const;
    // When issue `issue` (1-based) of `day` is drawn; invalid for an issue the schedule lacks.
    QDateTime dueOf(const QDate& day, int issue) const;

    friend bool operator==(const DrawSchedule&, const DrawSchedule&) = default;
};

// "HH:MM" for a minute of the day; 24:00 for 1440.
QString minuteText(int minute);

// Reads the text form; an empty text is no schedule. Refuses a malformed time, a zero interval
// or count, segments out of order or overlapping and a draw after 24:00; the count against the
// game is checked by problem().
Result<DrawSchedule> parseDrawSchedule(const QString& text);

}  // namespace qeltaro
