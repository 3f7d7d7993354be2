#pragma once
// A results source for the online update tests: the sample history's days as day pages in the
// marker form ("150210-00146033"), served on 127.0.0.1 at the source's path and query.

#include "local_http_server.h"

#include <QDate>

#include <atomic>
#include <map>
#include <utility>
#include <vector>

namespace qeltaro::test {

using SampleDraw = std::pair<QString, QString>;  // period, digits

// The sample history grouped by day.
const std::map<QDate, std::vector<SampleDraw>>& sampleDays();

// A day page as a results source writes it: newest draw first, the digits in inline elements
// right after the period marker, plus a script and a comment that must not be read as draws.
QByteArray dayPageHtml(const QDate& day, const std::vector<SampleDraw>& draws);

class ResultsSite {
public:
    ResultsSite();
    QString baseUrl() const { return server_.baseUrl(); }
    // The days asked for (the span parameter), in order.
    QStringList requestedDays() const;
    QStringList requests() const { return server_.requests(); }
    // Replaces what the site answers for a day; days without an answer get the sample's page, or
    // a page without draws when the sample has none.
    void setAnswer(const QDate& day, HttpAnswer answer);
    void stop() { server_.stop(); }

private:
    HttpAnswer answer(const QString& path, const QUrlQuery& query);

    mutable std::mutex mutex_;
    std::map<QDate, HttpAnswer> answers_;
    LocalHttpServer server_;
};

// A site whose page of any day shows the sample's first day's digits under that day's periods:
// `shown` draws at first, one more each time a page is read. For watches running on the real
// clock, which read today's page.
class GrowingDaySite {
public:
    explicit GrowingDaySite(int shown = 5);
    QString baseUrl() const { return server_.baseUrl(); }
    // The first `count` draws of `day` as the site writes them.
    static std::vector<SampleDraw> draws(const QDate& day, int count);
    static QString period(const QDate& day, int issue);
    // The site and the program under test each read today's date, so a test that began just
    // before midnight would see two days: close to midnight this waits for the new day (three
    // minutes at most).
    static void startWellInsideTheDay();

private:
    std::atomic<int> shown_;
    LocalHttpServer server_;
};

}  // namespace qeltaro::test
