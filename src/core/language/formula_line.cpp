#include "language/formula_line.h"

#include "common/message_text.h"
#include "domain/parameter_catalogue.h"
#include "language/expression.h"

namespace qeltaro {
namespace {

bool isStarDigit(QChar c)
{
    return QStringView(u"一二三四五").contains(c);
}

// Positions count characters; mid() past the end gives an empty or shorter text.
QString charactersAt(QStringView text, qsizetype from, qsizetype count)
{
    if (from >= text.size())
        return {};
    return text.mid(from, count).toString();
}

std::optional<Category> categoryOf(const QString& starWord, const QString& playWord)
{
    const int positions = positionsOfStarWord(starWord);
    if (positions == 0)
        return std::nullopt;
    bool group;
    if (playWord == u"直选")
        group = false;
    else if (playWord == u"组选")
        group = true;
    else
        return std::nullopt;
    const Category category{positions, group};
    // 一星组选 has no table.
    for (const Category& c : Category::all()) {
        if (c == category)
            return category;
    }
    return std::nullopt;
}

}  // namespace

QString cutHitRunTail(QStringView line)
{
    const qsizetype tail = line.indexOf(u"连准");
    return (tail >= 0 ? line.left(tail) : line).trimmed().toString();
}

ParsedLine parseFormulaLine(QStringView line, LineSource source, Kind currentKind)
{
    ParsedLine parsed;
    parsed.text = source == LineSource::File ? cutHitRunTail(line) : line.trimmed().toString();
    parsed.kind = currentKind;
    const QStringView text(parsed.text);

    QString starWord;
    QString playWord;
    const qsizetype at = text.indexOf(u"下期");
    if (at >= 0) {
        parsed.statement = true;
        parsed.kind = charactersAt(text, at + 2, 1) == u"杀" ? Kind::Kill : Kind::Keep;
        // The star word follows the kind directly, or after one separator character.
        const qsizetype star = at + 3 < text.size() && isStarDigit(text[at + 3]) ? at + 3 : at + 4;
        starWord = charactersAt(text, star, 2).trimmed();
        playWord = charactersAt(text, star + 2, 2).trimmed();
        // The character just before 下期 is the separator ("=").
        parsed.expression = at >= 1 ? text.left(at - 1).toString() : QString();
    } else {
        // "[三星直选]" with the bracket at 6, 7 or 8 ("[三星直选杀]"); 5 without one.
        qsizetype headerLength = 5;
        for (qsizetype n : {6, 7, 8}) {
            if (n <= text.size() && text[n - 1] == u']') {
                headerLength = n;
                break;
            }
        }
        starWord = charactersAt(text, 1, 2);
        playWord = charactersAt(text, 3, 2);
        parsed.expression = charactersAt(text, headerLength, text.size());
    }
    parsed.category = categoryOf(starWord, playWord);
    parsed.code = translateToCode(parsed.expression).trimmed();
    return parsed;
}

qsizetype firstDisallowedCharacter(QStringView code)
{
    for (qsizetype i = 0; i < code.size(); ++i) {
        const char16_t c = code[i].unicode();
        const bool allowed = (c >= 65 && c <= 91) || (c >= 96 && c <= 123) || (c >= 48 && c <= 57) ||
                             (c >= 40 && c <= 43) || c == u'-' || c == u' ' || c == u'/';
        if (!allowed)
            return i;
    }
    return -1;
}

LineCheck checkLine(const ParsedLine& line, LineSource source)
{
    if (line.text.isEmpty())
        return {LineProblem::Empty, QStringLiteral("空行")};
    if (line.text.size() > kLongestFormulaLine)
        return {LineProblem::TooLong, QStringLiteral("公式过长（%1个字符），一行最多%2个字符")
                                          .arg(line.text.size())
                                          .arg(kLongestFormulaLine)};
    if (!line.category)
        return {LineProblem::UnknownCategory,
                QStringLiteral("“%1”中没有可识别的类别（一星至五星的直选或组选，一星只有直选）").arg(excerpt(line.text))};
    if (source == LineSource::File) {
        const qsizetype bad = firstDisallowedCharacter(line.code);
        if (bad >= 0)
            return {LineProblem::DisallowedCharacter,
                    QStringLiteral("公式“%1”含有无法识别的字符“%2”").arg(excerpt(line.code), line.code.mid(bad, 1))};
    }
    auto compiled = compileFormula(line.code);
    if (!compiled)
        return {LineProblem::InvalidExpression, compiled.error().message};
    return {};
}

QString LineCheck::unrecognisedEntry(const ParsedLine& line) const
{
    switch (problem) {
    case LineProblem::None:
    case LineProblem::Empty:
    case LineProblem::TooLong:
    case LineProblem::UnknownCategory:
        return line.text;
    case LineProblem::DisallowedCharacter:
    case LineProblem::InvalidExpression:
        return line.code;
    }
    return line.text;
}

}  // namespace qeltaro
