#include "domain/period_number.h"

#include "common/message_text.h"

namespace qeltaro {

std::optional<PeriodNumber> PeriodNumber::parse(const QString& text, const Game& game, QString* error)
{
    auto fail = [&](const QString& message) -> std::optional<PeriodNumber> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    const bool byDate = game.numbering == Numbering::Date;
    const QString trimmed = text.trimmed();
    bool allDigits = trimmed.size() == game.periodLength();
    for (QChar c : trimmed)
        allDigits = allDigits && c >= u'0' && c <= u'9';
    if (!allDigits) {
        const QString form = byDate ? QStringLiteral("年月日YYMMDD加%1位期数").arg(game.issueDigits)
                                    : QStringLiteral("年份YY加%1位序号").arg(game.issueDigits);
        return fail(QStringLiteral("期号“%1”必须是%2位数字：%3（例如%4）")
                        .arg(excerpt(text), QString::number(game.periodLength()), form, game.examplePeriod()));
    }
    const int yy = trimmed.mid(0, 2).toInt();
    const int issueAt = byDate ? 6 : 2;
    const int issue = trimmed.mid(issueAt).toInt();
    QDate date(2000 + yy, 1, 1);
    if (byDate) {
        const int mm = trimmed.mid(2, 2).toInt();
        const int dd = trimmed.mid(4, 2).toInt();
        date = QDate(2000 + yy, mm, dd);
        if (!date.isValid())
            return fail(QStringLiteral("期号“%1”中的日期%2-%3-%4不存在").arg(trimmed).arg(2000 + yy).arg(mm).arg(dd));
    }
    if (issue < 1 || issue > game.lastIssue())
        return fail(QStringLiteral("期号“%1”中的%2%3不在%4到%5之间")
                        .arg(trimmed, byDate ? QStringLiteral("期数") : QStringLiteral("序号"), trimmed.mid(issueAt),
                             game.issueText(1), game.issueText(game.lastIssue())));
    return PeriodNumber{date, issue};
}

std::optional<PeriodNumber> PeriodNumber::dated(const QDate& drawDate, const Game& game, QString* error) const
{
    const bool agrees = game.numbering == Numbering::Date ? drawDate == date : drawDate.year() == date.year();
    if (!drawDate.isValid() || !agrees) {
        if (error)
            *error = QStringLiteral("开奖日期%1与期号%2不符")
                         .arg(drawDate.toString(QStringLiteral("yyyy-MM-dd")), text(game));
        return std::nullopt;
    }
    return PeriodNumber{drawDate, issue};
}

QString PeriodNumber::text(const Game& game) const
{
    const QString prefix = date.toString(game.numbering == Numbering::Date ? QStringLiteral("yyMMdd") : QStringLiteral("yy"));
    return prefix + game.issueText(issue);
}

PeriodNumber PeriodNumber::next(const Game& game) const
{
    if (issue < game.lastIssue())
        return {date, issue + 1};
    if (game.numbering == Numbering::Date)
        return {date.addDays(1), 1};
    return {QDate(date.year() + 1, 1, 1), 1};
}

}  // namespace qeltaro
