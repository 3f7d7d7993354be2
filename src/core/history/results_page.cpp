#include "history/results_page.h"

#include <QRegularExpression>

#include <array>
#include <optional>

namespace qeltaro {
namespace {

// Fixed by the results source; the day goes between "span=" and "&r=" twice.
constexpr auto kPagePath = "/zst/ssccq";
constexpr auto kQueryHead = "lotId=255401&chartType=dww5&spanType=2&span=";
constexpr auto kQueryTail = "&r=0.4097360474988818";
constexpr auto kFragment = "roll_0";

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c)
{
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isHtmlSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Elements whose content a reader never sees as text of the page.
bool isHiddenContent(const QString& name)
{
    static const QStringList names = {QStringLiteral("script"), QStringLiteral("style"), QStringLiteral("template"),
                                      QStringLiteral("title"), QStringLiteral("noscript")};
    return names.contains(name);
}

enum Break { kNone = 0, kSpace = 1, kCell = 2, kLine = 3 };

// What an element's start or end puts between the texts around it. Inline elements put nothing,
// so "<b>160121-001</b><i>12345</i>" reads as one run, as a browser shows it.
Break breakOf(const QString& name)
{
    static const QStringList blocks = {
        QStringLiteral("address"), QStringLiteral("article"), QStringLiteral("aside"), QStringLiteral("blockquote"),
        QStringLiteral("body"), QStringLiteral("br"), QStringLiteral("caption"), QStringLiteral("center"),
        QStringLiteral("dd"), QStringLiteral("details"), QStringLiteral("dialog"), QStringLiteral("div"),
        QStringLiteral("dl"), QStringLiteral("dt"), QStringLiteral("fieldset"), QStringLiteral("figcaption"),
        QStringLiteral("figure"), QStringLiteral("footer"), QStringLiteral("form"), QStringLiteral("h1"),
        QStringLiteral("h2"), QStringLiteral("h3"), QStringLiteral("h4"), QStringLiteral("h5"), QStringLiteral("h6"),
        QStringLiteral("head"), QStringLiteral("header"), QStringLiteral("hr"), QStringLiteral("html"),
        QStringLiteral("li"), QStringLiteral("main"), QStringLiteral("nav"), QStringLiteral("ol"),
        QStringLiteral("option"), QStringLiteral("p"), QStringLiteral("pre"), QStringLiteral("section"),
        QStringLiteral("summary"), QStringLiteral("table"), QStringLiteral("tbody"), QStringLiteral("tfoot"),
        QStringLiteral("thead"), QStringLiteral("tr"), QStringLiteral("ul")};
    if (name == QLatin1String("td") || name == QLatin1String("th"))
        return kCell;
    if (blocks.contains(name))
        return kLine;
    return kNone;
}

// A character reference at html[i] == '&': appends its character and returns the index after
// it, or appends '&' and returns i + 1 when it is not one.
qsizetype decodeReference(const QString& html, qsizetype i, QString& out)
{
    const qsizetype n = html.size();
    qsizetype j = i + 1;
    if (j < n && html[j] == u'#') {
        ++j;
        const bool hex = j < n && (html[j] == u'x' || html[j] == u'X');
        if (hex)
            ++j;
        const qsizetype start = j;
        while (j < n && j - start < 8 && (hex ? isHexDigit(html[j]) : isAsciiDigit(html[j])))
            ++j;
        if (j == start) {
            out += u'&';
            return i + 1;
        }
        const uint code = html.mid(start, j - start).toUInt(nullptr, hex ? 16 : 10);
        if (j < n && html[j] == u';')
            ++j;
        const bool valid = code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
        const char32_t c = valid ? char32_t(code) : char32_t(0xFFFD);
        out += QString::fromUcs4(&c, 1);
        return j;
    }
    // The references that matter around markers and digits; others stay as written.
    static const std::array<std::pair<const char*, char16_t>, 6> named = {{
        {"amp;", u'&'}, {"lt;", u'<'}, {"gt;", u'>'}, {"quot;", u'"'}, {"apos;", u'\''}, {"nbsp;", u'\u00A0'}}};
    for (const auto& [name, c] : named) {
        if (QStringView(html).mid(j).startsWith(QLatin1String(name), Qt::CaseSensitive)) {
            out += QChar(c);
            return j + qsizetype(qstrlen(name));
        }
    }
    out += u'&';
    return i + 1;
}

QString twoDigitDay(const QDate& day)
{
    return day.toString(QStringLiteral("yyMMdd"));
}

}  // namespace

Result<QUrl> parseResultsBase(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return badInput(QStringLiteral("没有设置历史号码网页地址（HistoryUrl）"));
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        url.host().isEmpty() || url.hasQuery() || url.hasFragment())
        return badInput(QStringLiteral("历史号码网页地址“%1”无效：应为 http:// 或 https:// 加服务器名（可带路径，"
                                       "不带“?”和“#”），例如 http://example.com")
                            .arg(trimmed));
    return url;
}

QUrl resultsPageUrl(const QUrl& base, const QDate& day)
{
    QString path = base.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    QUrl url = base;
    url.setPath(path + QLatin1String(kPagePath));
    const QString span = day.toString(QStringLiteral("yyyy-MM-dd"));
    url.setQuery(QLatin1String(kQueryHead) + span + u'_' + span + QLatin1String(kQueryTail));
    url.setFragment(QLatin1String(kFragment));
    return url;
}

// A small reader of HTML rather than a full parser: all the update needs is the text a browser
// shows, and the core must not link the GUI libraries that hold Qt's HTML engine. It keeps
// quoted attribute values (which may contain '>') inside their tag, skips comments, declarations
// and the content of scripts and styles, decodes character references, turns blocks into line
// breaks and table cells into tabs, and collapses blank runs as rendering does.
QString visibleText(const QString& html)
{
    QString out;
    out.reserve(html.size() / 2);
    Break pending = kNone;
    auto breakHere = [&](Break b) {
        if (b > pending)
            pending = b;
    };
    auto flush = [&] {
        if (pending != kNone && !out.isEmpty())
            out += pending == kLine ? u'\n' : pending == kCell ? u'\t' : u' ';
        pending = kNone;
    };

    const qsizetype n = html.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = html[i];
        if (c == u'<') {
            const QStringView rest = QStringView(html).mid(i);
            if (rest.startsWith(QLatin1String("<!--"))) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
                i = end < 0 ? n : end + 3;
                continue;
            }
            if (rest.startsWith(QLatin1String("<!")) || rest.startsWith(QLatin1String("<?"))) {
                const qsizetype end = html.indexOf(u'>', i + 2);
                i = end < 0 ? n : end + 1;
                continue;
            }
            qsizetype j = i + 1;
            const bool closing = j < n && html[j] == u'/';
            if (closing)
                ++j;
            if (j >= n || !isAsciiLetter(html[j])) {
                // A '<' that opens no tag is text.
                flush();
                out += c;
                ++i;
                continue;
            }
            const qsizetype nameStart = j;
            while (j < n && (isAsciiLetter(html[j]) || isAsciiDigit(html[j]) || html[j] == u'-' || html[j] == u':'))
                ++j;
            const QString name = html.mid(nameStart, j - nameStart).toLower();
            QChar quote;
            while (j < n) {
                const QChar t = html[j];
                if (!quote.isNull()) {
                    if (t == quote)
                        quote = QChar();
                } else if (t == u'"' || t == u'\'') {
                    quote = t;
                } else if (t == u'>') {
                    break;
                }
                ++j;
            }
            i = j < n ? j + 1 : n;
            breakHere(breakOf(name));
            if (!closing && isHiddenContent(name)) {
                // The content ends at the matching end tag, whatever it holds.
                const QString endTag = QStringLiteral("</") + name;
                qsizetype end = i;
                for (;;) {
                    end = html.indexOf(endTag, end, Qt::CaseInsensitive);
                    if (end < 0)
                        break;
                    const qsizetype after = end + endTag.size();
                    if (after >= n || html[after] == u'>' || isHtmlSpace(html[after]) || html[after] == u'/')
                        break;
                    end = after;
                }
                if (end < 0) {
                    i = n;
                } else {
                    const qsizetype close = html.indexOf(u'>', end);
                    i = close < 0 ? n : close + 1;
                }
            }
            continue;
        }
        if (isHtmlSpace(c)) {
            breakHere(kSpace);
            ++i;
            continue;
        }
        flush();
        if (c == u'&') {
            i = decodeReference(html, i, out);
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

namespace {

// The five digits at `from`, when five ASCII digits are there.
std::optional<Digits> digitsAfter(const QString& text, qsizetype from)
{
    if (from + 5 > text.size())
        return std::nullopt;
    Digits digits{};
    for (int k = 0; k < 5; ++k) {
        const QChar c = text[from + k];
        if (!isAsciiDigit(c))
            return std::nullopt;
        digits[size_t(k)] = c.unicode() - u'0';
    }
    return digits;
}

// Whether a later occurrence of the marker names other digits: a page that says two things
// about one draw is believed in neither.
bool contradicted(const QString& text, const QString& marker, qsizetype first, const Digits& digits)
{
    for (qsizetype at = text.indexOf(marker, first + 1); at >= 0; at = text.indexOf(marker, at + 1)) {
        const auto other = digitsAfter(text, at + marker.size());
        if (other && *other != digits)
            return true;
    }
    return false;
}

}  // namespace

DayPageDraws readDayPage(const QString& text, const QDate& day, int startIssue, const QString& lastStored,
                         const Game& game)
{
    DayPageDraws result;
    const QString prefix = twoDigitDay(day);
    for (int issue = 1; issue <= game.drawsPerDay; ++issue) {
        const QString marker = prefix + u'-' + game.issueText(issue);
        const qsizetype at = text.indexOf(marker);
        if (at < 0)
            continue;
        result.hasMarkers = true;
        const QString period = prefix + game.issueText(issue);
        if (issue < startIssue || (!lastStored.isEmpty() && period <= lastStored))
            continue;
        const auto digits = digitsAfter(text, at + marker.size());
        if (!digits || contradicted(text, marker, at, *digits)) {
            result.unreadable << period;
            continue;
        }
        result.draws.push_back(NewDraw{PeriodNumber{day, issue}, *digits});
    }
    return result;
}

}  // namespace qeltaro
