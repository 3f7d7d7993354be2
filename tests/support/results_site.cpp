#include "results_site.h"

#include "io/text_codec.h"
#include "test_support.h"

#include <QDateTime>
#include <QThread>

#include <algorithm>

namespace qeltaro::test {

const std::map<QDate, std::vector<SampleDraw>>& sampleDays()
{
    static const std::map<QDate, std::vector<SampleDraw>> days = [] {
        std::map<QDate, std::vector<SampleDraw>> byDay;
        for (const QString& line : splitLines(decodeText(readFile(sampleHistoryPath())))) {
            const QStringList parts = line.split(u' ');
            const QDate day = QDate::fromString(QStringLiteral("20") + parts[0].left(6), QStringLiteral("yyyyMMdd"));
            byDay[day].emplace_back(parts[0], parts[1]);
        }
        return byDay;
    }();
    return days;
}

QByteArray dayPageHtml(const QDate& day, const std::vector<SampleDraw>& draws)
{
    const QString yymmdd = day.toString(QStringLiteral("yyMMdd"));
    QString html = QStringLiteral(
                       "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1-001 开奖走势</title>\n"
                       "<style>td > b { color: red }</style>\n"
                       "<script>var latest = \"%1-00199999\"; if (a < b && c > d) {}</script></head>\n"
                       "<body><div class=\"nav\">首页&nbsp;&gt;&nbsp;走势图</div>\n"
                       "<!-- %1-001 00000 -->\n<table class=\"chart\" data-note=\"a > b\">\n"
                       "<tr><th>期号</th><th>开奖号码</th></tr>\n")
                       .arg(yymmdd);
    for (auto it = draws.rbegin(); it != draws.rend(); ++it) {
        const QString& period = it->first;
        QString balls;
        for (QChar digit : it->second)
            balls += QStringLiteral("<b class='ball'>%1</b>").arg(digit);
        html += QStringLiteral("<tr>\n  <td class=\"qh\">%1&#45;%2%3</td>\n  <td>%4</td>\n</tr>\n")
                    .arg(period.left(6), period.mid(6), balls, it->second);
    }
    html += QStringLiteral("</table></body></html>\n");
    return html.toUtf8();
}

ResultsSite::ResultsSite()
    : server_([this](const QString& path, const QUrlQuery& query) { return answer(path, query); })
{
}

QStringList ResultsSite::requestedDays() const
{
    QStringList days;
    for (const QString& request : server_.requests()) {
        const QUrlQuery query(request.mid(request.indexOf(u'?') + 1));
        days << query.queryItemValue(QStringLiteral("span")).section(u'_', 0, 0);
    }
    return days;
}

void ResultsSite::setAnswer(const QDate& day, HttpAnswer answer)
{
    std::lock_guard lock(mutex_);
    answers_[day] = std::move(answer);
}

HttpAnswer ResultsSite::answer(const QString& path, const QUrlQuery& query)
{
    const QStringList span = query.queryItemValue(QStringLiteral("span")).split(u'_');
    const QDate day = QDate::fromString(span.value(0), Qt::ISODate);
    if (path != QLatin1String("/zst/ssccq") || query.queryItemValue(QStringLiteral("lotId")) != QLatin1String("255401") ||
        span.size() != 2 || span[0] != span[1] || !day.isValid())
        return {404, QByteArrayLiteral("<html><body>404 Not Found</body></html>")};
    {
        std::lock_guard lock(mutex_);
        if (auto it = answers_.find(day); it != answers_.end())
            return it->second;
    }
    const auto& days = sampleDays();
    if (auto it = days.find(day); it != days.end())
        return {200, dayPageHtml(day, it->second)};
    return {200, QByteArrayLiteral("<html><body><p>暂无开奖数据</p></body></html>")};
}

GrowingDaySite::GrowingDaySite(int shown)
    : shown_(shown), server_([this](const QString&, const QUrlQuery& query) {
          const QDate day = QDate::fromString(query.queryItemValue(QStringLiteral("span")).left(10), Qt::ISODate);
          return HttpAnswer{200, dayPageHtml(day, draws(day, ++shown_))};
      })
{
}

std::vector<SampleDraw> GrowingDaySite::draws(const QDate& day, int count)
{
    std::vector<SampleDraw> out;
    const auto& sample = sampleDays().begin()->second;
    for (int i = 0; i < count && i < int(sample.size()); ++i)
        out.emplace_back(period(day, i + 1), sample[size_t(i)].second);
    return out;
}

QString GrowingDaySite::period(const QDate& day, int issue)
{
    return day.toString(QStringLiteral("yyMMdd")) + QStringLiteral("%1").arg(issue, 3, 10, QChar(u'0'));
}

void GrowingDaySite::startWellInsideTheDay()
{
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 toMidnight = now.msecsTo(QDateTime(now.date().addDays(1), QTime(0, 0)));
    if (toMidnight < 3 * 60 * 1000)
        QThread::msleep(std::max<qint64>(0, toMidnight) + 1000);
}

}  // namespace qeltaro::test
