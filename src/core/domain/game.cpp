#include "domain/game.h"

namespace qeltaro {

QString numberingName(Numbering numbering)
{
    return numbering == Numbering::Year ? QStringLiteral("year") : QStringLiteral("date");
}

std::optional<Numbering> numberingFromName(QStringView name)
{
    if (name == u"date")
        return Numbering::Date;
    if (name == u"year")
        return Numbering::Year;
    return std::nullopt;
}

std::optional<QString> Game::problem() const
{
    if (name.trimmed().isEmpty())
        return QStringLiteral("彩种名称不能为空");
    if (drawsPerDay < 1 || drawsPerDay > kMaxDrawsPerDay)
        return QStringLiteral("每天开奖期数%1不在1到%2之间").arg(drawsPerDay).arg(kMaxDrawsPerDay);
    if (issueDigits != 3 && issueDigits != 4)
        return QStringLiteral("期数位数%1无效：只能是3或4").arg(issueDigits);
    if (numbering == Numbering::Date && drawsPerDay > 999 && issueDigits < 4)
        return QStringLiteral("每天开奖%1期需要4位期数").arg(drawsPerDay);
    // A year of draws must fit the sequence's digits.
    if (numbering == Numbering::Year && drawsPerDay * 366 > lastIssue())
        return QStringLiteral("按年编号时一年的期数超出%1位期数：每天最多开奖%2期")
            .arg(issueDigits)
            .arg(lastIssue() / 366);
    return std::nullopt;
}

int Game::lastIssue() const
{
    if (numbering == Numbering::Date)
        return drawsPerDay;
    return issueDigits == 4 ? 9999 : 999;
}

QString Game::issueText(int issue) const
{
    return QStringLiteral("%1").arg(issue, issueDigits, 10, QChar(u'0'));
}

int Game::periodLength() const
{
    return (numbering == Numbering::Date ? 6 : 2) + issueDigits;
}

QString Game::examplePeriod() const
{
    return (numbering == Numbering::Date ? QStringLiteral("160121") : QStringLiteral("24")) + issueText(1);
}

}  // namespace qeltaro
