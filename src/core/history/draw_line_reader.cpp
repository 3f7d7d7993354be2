#include "history/draw_line_reader.h"

#include "common/message_text.h"

#include <QStringList>

namespace qeltaro {
namespace {

// Blanks include the no-break and ideographic spaces that pages and spreadsheets put between cells.
constexpr auto kUnicode = QRegularExpression::UseUnicodePropertiesOption;

QStringList fieldsOf(const QString& line)
{
    // A quoted field, or a run of anything but blanks, commas and semicolons (tabs are blanks).
    static const QRegularExpression field(QStringLiteral("\"([^\"]*)\"|[^\\s,;]+"), kUnicode);
    QStringList fields;
    for (const QRegularExpressionMatch& m : field.globalMatch(line)) {
        const QString text = m.lastCapturedIndex() == 1 ? m.captured(1).trimmed() : m.captured(0);
        if (!text.isEmpty())  // an empty cell of a spreadsheet row
            fields << text;
    }
    return fields;
}

std::optional<QDate> drawDate(const QString& field)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{4})([-/])([0-9]{1,2})\\2([0-9]{1,2})$"));
    const auto m = pattern.match(field);
    if (!m.hasMatch())
        return std::nullopt;
    return QDate(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
}

std::optional<Digits> oneDigitFields(const QStringList& fields)
{
    static const QRegularExpression digit(QStringLiteral("^[0-9]$"));
    if (fields.size() < 5)
        return std::nullopt;
    QString joined;
    for (qsizetype i = 0; i < 5; ++i) {
        if (!digit.match(fields[i]).hasMatch())
            return std::nullopt;
        joined += fields[i];
    }
    return parseDigits(joined);
}

}  // namespace

DrawLineReader::DrawLineReader(const Game& game, Tail tail)
    : game_(game),
      tail_(tail),
      compactPeriod_(game.numbering == Numbering::Date
                         ? QStringLiteral("^(?:20)?([0-9]{6})-?([0-9]{%1})$").arg(game.issueDigits)
                         : QStringLiteral("^(?:20)?([0-9]{2})([0-9]{%1})$").arg(game.issueDigits)),
      dashedPeriod_(game.numbering == Numbering::Date
                        ? QStringLiteral("^20([0-9]{2})-([0-9]{2})-([0-9]{2})-([0-9]{%1})$").arg(game.issueDigits)
                        : QStringLiteral("(?!)"))  // year numbering has no dashed form
{
}

std::optional<PeriodNumber> DrawLineReader::period(const QString& field, QString* error) const
{
    QString text;  // the period in the game's own form
    if (const auto m = compactPeriod_.match(field); m.hasMatch()) {
        text = m.captured(1) + m.captured(2);
    } else if (const auto d = dashedPeriod_.match(field); d.hasMatch()) {
        text = d.captured(1) + d.captured(2) + d.captured(3) + d.captured(4);
    } else {
        if (error) {
            const QString issue = QString(game_.issueDigits, u'N');
            const QString forms = game_.numbering == Numbering::Date
                                      ? QStringLiteral("YYMMDD%1、YYYYMMDD%1、YYMMDD-%1、YYYYMMDD-%1或YYYY-MM-DD-%1").arg(issue)
                                      : QStringLiteral("YY%1或YYYY%1").arg(issue);
            *error = QStringLiteral("期号“%1”无法识别：应为%2（例如%3）").arg(excerpt(field), forms, game_.examplePeriod());
        }
        return std::nullopt;
    }
    return PeriodNumber::parse(text, game_, error);
}

std::optional<NewDraw> DrawLineReader::read(const QString& line, QString* error) const
{
    auto fail = [&](const QString& message) -> std::optional<NewDraw> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    QStringList fields = fieldsOf(line);
    if (fields.size() < 2)
        return fail(QStringLiteral("应为“期号 开奖号”，例如“%1 38146”").arg(game_.examplePeriod()));
    auto number = period(fields.takeFirst(), error);
    if (!number)
        return std::nullopt;

    // A date can only be the last field, and never the only one after the period.
    std::optional<QDate> date;
    QString dateField;
    if (fields.size() > 1 && (date = drawDate(fields.last())))
        dateField = fields.takeLast();
    std::optional<Digits> digits = oneDigitFields(fields);
    const qsizetype used = digits ? 5 : 1;
    if (!digits && !(digits = parseDigits(fields.first())))
        return fail(QStringLiteral("开奖号“%1”必须是5个0-9的数字，或5栏各一个数字（例如38146或3,8,1,4,6）")
                        .arg(excerpt(fields.first())));
    if (tail_ == Tail::DateOnly && fields.size() > used)
        return fail(QStringLiteral("开奖号之后多出“%1”：只能再写开奖日期（YYYY-MM-DD）").arg(excerpt(fields[used])));

    if (date) {
        if (!date->isValid())
            return fail(QStringLiteral("开奖日期“%1”不存在").arg(dateField));
        if (!(number = number->dated(*date, game_, error)))
            return std::nullopt;
    } else if (game_.numbering == Numbering::Year) {
        return fail(QStringLiteral("按年编号的彩种需要开奖日期：第%1期缺少最后一栏的日期（YYYY-MM-DD）").arg(number->text(game_)));
    }
    return NewDraw{*number, *digits};
}

bool DrawLineReader::isHeading(const QString& line)
{
    static const QRegularExpression number(QStringLiteral("^[0-9][0-9/-]*$"));
    for (const QString& field : fieldsOf(line)) {
        if (number.match(field).hasMatch() && field.size() - field.count(u'-') - field.count(u'/') >= 5)
            return false;
    }
    return true;
}

}  // namespace qeltaro
