#include "history/results_page.h"

#include "common/message_text.h"
#include "history/draw_line_reader.h"
#include "io/text_codec.h"
#include "io/web_address.h"

#include <algorithm>
#include <map>
#include <optional>

namespace qeltaro {
namespace {

// Fixed by the results source; the day goes between "span=" and "&r=" twice.
constexpr auto kPagePath = "/zst/ssccq";
constexpr auto kQueryHead = "lotId=255401&chartType=dww5&spanType=2&span=";
constexpr auto kQueryTail = "&r=0.4097360474988818";
constexpr auto kFragment = "roll_0";

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString twoDigitDay(const QDate& day)
{
    return day.toString(QStringLiteral("yyMMdd"));
}

}  // namespace

Result<ResultsAddress> parseResultsBase(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return badInput(QStringLiteral("没有设置开奖网址（历史号码网页地址）"));
    if (hasDayPlaceholder(trimmed)) {
        // Any day shows whether the filled address is one; unknown placeholders stay braces,
        // which no address may hold.
        if (!isWebAddress(QUrl(fillDayPlaceholders(trimmed, QDate(2016, 1, 21)), QUrl::StrictMode)))
            return badInput(QStringLiteral("历史号码网页地址“%1”无效：填入日期后应为 http:// 或 https:// 加服务器名的网址，"
                                           "日期写作 {date}（2016-01-21）、{ymd}（20160121）或 {yymmdd}（160121）")
                                .arg(excerpt(trimmed)));
        return ResultsAddress{QUrl(), trimmed};
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!isWebAddress(url) || url.hasQuery() || url.hasFragment())
        return badInput(QStringLiteral("历史号码网页地址“%1”无效：应为 http:// 或 https:// 加服务器名（可带路径，"
                                       "不带“?”和“#”），例如 http://example.com，或带 {date}、{ymd} 或 {yymmdd} "
                                       "的完整网址")
                            .arg(excerpt(trimmed)));
    return ResultsAddress{url, QString()};
}

QUrl resultsPageUrl(const ResultsAddress& address, const QDate& day)
{
    if (!address.pattern.isEmpty())
        return QUrl(fillDayPlaceholders(address.pattern, day), QUrl::StrictMode);
    QString path = address.base.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    QUrl url = address.base;
    url.setPath(path + QLatin1String(kPagePath));
    const QString span = day.toString(QStringLiteral("yyyy-MM-dd"));
    url.setQuery(QLatin1String(kQueryHead) + span + u'_' + span + QLatin1String(kQueryTail));
    url.setFragment(QLatin1String(kFragment));
    return url;
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

// For each issue whose marker "YYMMDD-NNN" appears, the digits that directly follow each
// occurrence, in page order (nullopt where five digits do not follow). One pass over the page,
// however many issues the game has.
std::map<int, std::vector<std::optional<Digits>>> markedDigits(const QString& text, const QDate& day, const Game& game)
{
    std::map<int, std::vector<std::optional<Digits>>> found;
    const QString prefix = twoDigitDay(day) + u'-';
    for (qsizetype at = text.indexOf(prefix); at >= 0; at = text.indexOf(prefix, at + 1)) {
        const qsizetype issueAt = at + prefix.size();
        const QStringView issue = QStringView(text).mid(issueAt, game.issueDigits);
        if (issue.size() < game.issueDigits || !std::all_of(issue.begin(), issue.end(), isAsciiDigit))
            continue;
        found[issue.toInt()].push_back(digitsAfter(text, issueAt + game.issueDigits));
    }
    return found;
}

}  // namespace

DayPageDraws readDayPage(const QString& text, const QDate& day, int startIssue, const QString& lastStored,
                         const Game& game)
{
    // What the page's table rows say about each issue of the day.
    std::map<int, std::vector<Digits>> rows;
    const DrawLineReader reader(game, DrawLineReader::Tail::Ignored);
    for (const QString& line : splitLines(text)) {
        if (const auto draw = reader.read(line); draw && draw->period.date == day)
            rows[draw->period.issue].push_back(draw->digits);
    }

    const auto markers = markedDigits(text, day, game);

    DayPageDraws result;
    const QString prefix = twoDigitDay(day);
    for (int issue = 1; issue <= game.drawsPerDay; ++issue) {
        const auto markedAt = markers.find(issue);
        const auto row = rows.find(issue);
        if (markedAt == markers.end() && row == rows.end())
            continue;
        const std::vector<std::optional<Digits>> marked =
            markedAt == markers.end() ? std::vector<std::optional<Digits>>{} : markedAt->second;
        result.hasMarkers = true;
        const QString period = prefix + game.issueText(issue);
        if (issue < startIssue || (!lastStored.isEmpty() && period <= lastStored))
            continue;
        std::vector<Digits> said = row == rows.end() ? std::vector<Digits>{} : row->second;
        for (const auto& digits : marked)
            if (digits)
                said.push_back(*digits);
        // A marker followed by a cell is a table's period cell, not a marker missing its digits.
        const bool markerWithoutDigits = !marked.empty() && !marked.front() && row == rows.end();
        const bool agreed = !said.empty() && std::all_of(said.begin(), said.end(),
                                                         [&](const Digits& d) { return d == said.front(); });
        if (markerWithoutDigits || !agreed) {
            result.unreadable << period;
            continue;
        }
        result.draws.push_back(NewDraw{PeriodNumber{day, issue}, said.front()});
    }
    return result;
}

}  // namespace qeltaro
