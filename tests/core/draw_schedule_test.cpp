// The draw schedule: its text form, the refusals, and when each issue falls due, counted by hand.

#include "domain/draw_schedule.h"
#include "domain/game.h"
#include "history/game_schedule.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

const QString kStandard = QStringLiteral("00:05/5/23,10:00/10/73,22:05/5/24");

}  // namespace

TEST(DrawScheduleTest, TheStandardDayFallsDueAsCountedByHand)
{
    auto schedule = parseDrawSchedule(kStandard);
    ASSERT_TRUE(schedule) << schedule.error().message.toStdString();
    EXPECT_EQ(schedule->drawsPerDay(), 120);
    EXPECT_EQ(schedule->text(), kStandard);
    const QDate day(2016, 1, 21);
    // Issue: 1 at 00:05, 23 at 01:55 (00:05 + 22*5), 24 at 10:00, 96 at 22:00 (10:00 + 72*10),
    // 97 at 22:05, 119 at 23:55, 120 at 24:00, which is midnight of the next day.
    const std::pair<int, QDateTime> expected[] = {
        {1, QDateTime(day, QTime(0, 5))},    {23, QDateTime(day, QTime(1, 55))},  {24, QDateTime(day, QTime(10, 0))},
        {96, QDateTime(day, QTime(22, 0))},  {97, QDateTime(day, QTime(22, 5))},  {119, QDateTime(day, QTime(23, 55))},
        {120, QDateTime(day.addDays(1), QTime(0, 0))}};
    for (const auto& [issue, due] : expected)
        EXPECT_EQ(schedule->dueOf(day, issue), due) << issue;
    EXPECT_FALSE(schedule->dueOf(day, 121).isValid());

    Game game;
    EXPECT_FALSE(scheduleProblem(*schedule, game));
    game.drawsPerDay = 119;
    ASSERT_TRUE(scheduleProblem(*schedule, game));
    EXPECT_TRUE(scheduleProblem(*schedule, game)->contains(QStringLiteral("120")));
    // A year-numbered game's periods do not say which draw of a day they are.
    game.numbering = Numbering::Year;
    game.drawsPerDay = 1;
    EXPECT_TRUE(scheduleProblem(*parseDrawSchedule(QStringLiteral("20:30/1/1")), game));
    EXPECT_TRUE(parseDrawSchedule(QStringLiteral("  "))->empty());
}

TEST(DrawScheduleTest, RefusesWhatNoDayCanHold)
{
    const char* refused[] = {
        "00:05/5/23,00:05/10/73",  // overlapping
        "10:00/10/73,00:05/5/23",  // out of order
        "00:05/5/23,01:55/5/2",    // starts on the previous segment's last draw
        "23:00/30/4",              // the last at 24:30
        "10:00/0/5",               // zero interval
        "10:00/5/0",               // zero count
        "25:00/5/1", "10:60/5/1", "1000/5/1", "10:00/5", "10:00/a/5", "24:01/1/1", "10:00/5/3,",
    };
    for (const char* text : refused)
        EXPECT_FALSE(parseDrawSchedule(QString::fromUtf8(text))) << text;
    // Midnight itself is the day's last moment.
    auto endsAtMidnight = parseDrawSchedule(QStringLiteral("23:00/30/3"));
    ASSERT_TRUE(endsAtMidnight);
    EXPECT_EQ(endsAtMidnight->segments.back().lastMinute(), 24 * 60);
}
