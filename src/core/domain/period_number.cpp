#include "domain/period_number.h"

#include "common/message_text.h"

#include <QCoreApplication>

namespace qeltaro {

std::optional<PeriodNumber> PeriodNumber::parse(const QString& text, QString* error)
{
    auto fail = [&](const QString& message) -> std::optional<PeriodNumber> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    const QString trimmed = text.trimmed();
    bool allDigits = trimmed.size() == 9;
    for (QChar c : trimmed)
        allDigits = allDigits && c >= u'0' && c <= u'9';
    if (!allDigits)
        return fail(QStringLiteral("期号“%1”必须是9位数字：年月日YYMMDD加3位期数（例如160121001）").arg(excerpt(text)));
    const int yy = trimmed.mid(0, 2).toInt();
    const int mm = trimmed.mid(2, 2).toInt();
    const int dd = trimmed.mid(4, 2).toInt();
    const int issue = trimmed.mid(6, 3).toInt();
    const QDate date(2000 + yy, mm, dd);
    if (!date.isValid())
        return fail(QStringLiteral("期号“%1”中的日期%2-%3-%4不存在").arg(trimmed).arg(2000 + yy).arg(mm).arg(dd));
    if (issue < 1 || issue > kIssuesPerDay)
        return fail(QStringLiteral("期号“%1”中的期数%2不在001到120之间").arg(trimmed, trimmed.mid(6, 3)));
    return PeriodNumber{date, issue};
}

QString PeriodNumber::text() const
{
    return date.toString(QStringLiteral("yyMMdd")) + QStringLiteral("%1").arg(issue, 3, 10, QChar(u'0'));
}

PeriodNumber PeriodNumber::next() const
{
    if (issue >= kIssuesPerDay)
        return {date.addDays(1), 1};
    return {date, issue + 1};
}

PeriodNumber PeriodNumber::firstOfDay(const QDate& day)
{
    return {day, 1};
}

}  // namespace qeltaro
