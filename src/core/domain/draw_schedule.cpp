#include "domain/draw_schedule.h"

#include <QRegularExpression>

namespace qeltaro {
namespace {

constexpr int kMinutesPerDay = 24 * 60;

}  // namespace

int DrawSchedule::drawsPerDay() const
{
    int draws = 0;
    for (const ScheduleSegment& s : segments)
        draws += s.draws;
    return draws;
}

QString minuteText(int minute)
{
    return QStringLiteral("%1:%2").arg(minute / 60, 2, 10, QChar(u'0')).arg(minute % 60, 2, 10, QChar(u'0'));
}

QString DrawSchedule::text() const
{
    QStringList parts;
    for (const ScheduleSegment& s : segments)
        parts << QStringLiteral("%1/%2/%3").arg(minuteText(s.firstMinute)).arg(s.everyMinutes).arg(s.draws);
    return parts.join(u',');
}

std::optional<QString> DrawSchedule::problem(int gameDraws) const
{
    if (!empty() && drawsPerDay() != gameDraws)
        return QStringLiteral("开奖时间表共%1期，与每天开奖期数%2不符").arg(drawsPerDay()).arg(gameDraws);
    return std::nullopt;
}

QDateTime DrawSchedule::dueOf(const QDate& day, int issue) const
{
    int before = 0;
    for (const ScheduleSegment& s : segments) {
        if (issue <= before + s.draws) {
            const int minute = s.firstMinute + (issue - before - 1) * s.everyMinutes;
            // 24:00 is midnight of the next day.
            return QDateTime(day.addDays(minute / kMinutesPerDay), QTime(0, 0).addSecs(qint64(minute % kMinutesPerDay) * 60));
        }
        before += s.draws;
    }
    return {};
}

Result<DrawSchedule> parseDrawSchedule(const QString& text)
{
    DrawSchedule schedule;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return schedule;
    static const QRegularExpression segment(QStringLiteral("^(\\d{1,2}):(\\d{2})/(\\d+)/(\\d+)$"));
    const QStringList parts = trimmed.split(u',');
    for (int i = 0; i < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        const auto match = segment.match(part);
        const QString where = QStringLiteral("开奖时间表第%1段“%2”").arg(i + 1).arg(part);
        if (!match.hasMatch())
            return badInput(where + QStringLiteral("格式不对：应为 首期时间/间隔分钟/期数，例如 10:00/10/73"));
        const int hour = match.captured(1).toInt();
        const int minute = match.captured(2).toInt();
        if (hour > 24 || minute > 59 || (hour == 24 && minute > 0))
            return badInput(where + QStringLiteral("的时间%1:%2无效").arg(match.captured(1), match.captured(2)));
        bool everyOk = false;
        bool drawsOk = false;
        ScheduleSegment s{hour * 60 + minute, match.captured(3).toInt(&everyOk), match.captured(4).toInt(&drawsOk)};
        if (!everyOk || !drawsOk || s.everyMinutes > kMinutesPerDay || s.draws > kMinutesPerDay)
            return badInput(where + QStringLiteral("的数字过大"));
        if (s.everyMinutes == 0 || s.draws == 0)
            return badInput(where + QStringLiteral("的间隔分钟和期数都不能为0"));
        if (s.lastMinute() > kMinutesPerDay)
            return badInput(where + QStringLiteral("的最后一期在%1，晚于24:00").arg(minuteText(s.lastMinute())));
        if (!schedule.segments.empty() && s.firstMinute <= schedule.segments.back().lastMinute())
            return badInput(where + QStringLiteral("从%1开始，不在上一段的最后一期%2之后：各段须按时间先后排列且不重叠")
                                        .arg(minuteText(s.firstMinute), minuteText(schedule.segments.back().lastMinute())));
        schedule.segments.push_back(s);
    }
    return schedule;
}

}  // namespace qeltaro
