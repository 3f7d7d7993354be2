// The watcher against a results site on 127.0.0.1 and a clock moved by hand: draws come one by
// one at their due times and in a burst after a sleep, conflicts and faults leave the store alone
// while the watch goes on, the second address serves when the first does not, one watcher per
// data folder, the journal judges a watched prediction, and memory stays flat over many cycles.

#include "calculation_fixtures.h"
#include "history/draw_history.h"
#include "history/game_schedule.h"
#include "local_http_server.h"
#include "manual_clock.h"
#include "predictions/prediction_journal.h"
#include "results_site.h"
#include "test_support.h"
#include "watch/draw_watcher.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

using namespace qeltaro;
using namespace std::chrono_literals;
using qeltaro::test::HttpAnswer;
using qeltaro::test::ManualClock;
using qeltaro::test::ResultsSite;
using qeltaro::test::TempStore;

namespace {

const QDate kDay(2014, 10, 30);  // the sample's first day
const QString kSchedule = QStringLiteral("00:05/5/23,10:00/10/73,22:05/5/24");

QDateTime at(int hour, int minute, int second = 0)
{
    return QDateTime(kDay, QTime(hour, minute, second));
}

// The first `count` draws of the sample's first day, as its page shows them.
HttpAnswer pageOf(int count)
{
    const auto& draws = test::sampleDays().at(kDay);
    return {200, test::dayPageHtml(kDay, std::vector<test::SampleDraw>(draws.begin(), draws.begin() + count))};
}

struct Watch {
    TempStore temp;
    ResultsSite site;
    ManualClock clock{at(0, 50)};
    std::vector<WatchEvent> events;

    explicit Watch(int stored = 10, bool scheduled = true)
    {
        auto imported = DrawHistory(temp.store()).importText(test::sampleHistoryLines(stored));
        EXPECT_TRUE(imported);
        if (scheduled)
            EXPECT_TRUE(changeGame(temp.store(), Game{}, *parseDrawSchedule(kSchedule)));
    }
    WatchOptions options() const
    {
        WatchOptions o;
        o.addresses = {site.baseUrl()};
        o.pageTimeout = 2s;
        return o;
    }
    std::unique_ptr<DrawWatcher> open(WatchOptions o, PageFetcher fetch = httpPageFetcher())
    {
        auto watcher = DrawWatcher::open(temp.store(), std::move(o), clock, std::move(fetch));
        EXPECT_TRUE(watcher) << watcher.error().message.toStdString();
        return watcher ? std::move(*watcher) : nullptr;
    }
    std::vector<WatchEvent> cycle(DrawWatcher& watcher)
    {
        auto got = watcher.runCycle();
        events.insert(events.end(), got.begin(), got.end());
        return got;
    }
    std::vector<WatchEvent> ofKind(WatchEvent::Kind kind) const
    {
        std::vector<WatchEvent> out;
        for (const WatchEvent& e : events)
            if (e.kind == kind)
                out.push_back(e);
        return out;
    }
    int storedCount() { return *DrawHistory(temp.store()).count(); }
};

QString period(int issue)
{
    return QStringLiteral("141030%1").arg(issue, 3, 10, QChar(u'0'));
}

// A server on 127.0.0.1 that answers every connection with bytes that are no HTTP.
class NotHttpServer {
public:
    NotHttpServer()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        ::listen(fd_, 4);
        thread_ = std::thread([this] {
            // One answer per address tried; the listening socket's shutdown ends it.
            for (int i = 0; i < 4; ++i) {
                const int client = ::accept(fd_, nullptr, nullptr);
                if (client < 0)
                    return;
                const char garbage[] = "SSH-2.0-OpenNothing\r\n\x01\x02\x03";
                (void)::write(client, garbage, sizeof garbage);
                ::close(client);
            }
        });
    }
    ~NotHttpServer()
    {
        ::shutdown(fd_, SHUT_RDWR);
        ::close(fd_);
        thread_.join();
    }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

private:
    int fd_ = -1;
    int port_ = 0;
    std::thread thread_;
};

long residentKilobytes()
{
    const QByteArray statm = test::readFile(QStringLiteral("/proc/self/statm"));
    return statm.split(' ').value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace

TEST(DrawWatcher, DrawsComeAtTheirDueTimesOneByOneAndInABurstAfterASleep)
{
    Watch w;
    // The site publishes a draw five seconds after it falls due.
    const DrawSchedule schedule = *parseDrawSchedule(kSchedule);
    int publishedAtMost = 120;
    auto publishing = [&](const QUrl& url, std::chrono::milliseconds timeout, const Progress* stop) {
        int published = 0;
        while (published < publishedAtMost && schedule.dueOf(kDay, published + 1).addSecs(5) <= w.clock.now())
            ++published;
        w.site.setAnswer(kDay, pageOf(published));
        return httpPageFetcher()(url, timeout, stop);
    };
    auto watcher = w.open(w.options(), publishing);
    ASSERT_TRUE(watcher);
    auto sink = [&](const WatchEvent& e) { w.events.push_back(e); };
    // Issues 11 (00:55) to 19 (01:35), each looked for once, 20 seconds after its due time.
    watcher->run(sink, [&] { return w.clock.now() > at(1, 36); });
    ASSERT_EQ(w.events.size(), 19u);  // waiting, draws, ..., waiting for 20
    for (int i = 0; i < 9; ++i) {
        const WatchEvent& waiting = w.events[size_t(2 * i)];
        const WatchEvent& draws = w.events[size_t(2 * i + 1)];
        EXPECT_EQ(waiting.kind, WatchEvent::Kind::Waiting);
        EXPECT_EQ(waiting.period, period(11 + i));
        EXPECT_EQ(waiting.due, at(0, 55).addSecs(300 * i));
        EXPECT_EQ(draws.kind, WatchEvent::Kind::Draws);
        EXPECT_EQ(draws.periods, QStringList{period(11 + i)});
    }
    EXPECT_EQ(w.site.requests().size(), 9);

    // The computer slept from 01:36 to 03:00: the next cycle brings 20 to 23 (01:40 to 01:55) at
    // once, then waits for 24 at 10:00.
    w.events.clear();
    w.clock.set(at(3, 0));
    watcher->run(sink, {}, 13);
    ASSERT_EQ(w.ofKind(WatchEvent::Kind::Draws).size(), 1u);
    EXPECT_EQ(w.ofKind(WatchEvent::Kind::Draws)[0].periods,
              (QStringList{period(20), period(21), period(22), period(23)}));
    EXPECT_EQ(w.storedCount(), 23);
    std::vector<WatchEvent> told;
    auto look = watcher->nextLook(told);
    EXPECT_EQ(look.period, period(24));
    EXPECT_EQ(look.at, at(10, 0, 20));
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].due, at(10, 0));

    // 24 is late: looked for every 10 seconds; the clock set back an hour looks at the due time
    // again rather than an hour of retries later.
    publishedAtMost = 23;
    w.clock.set(at(10, 0, 20));
    w.cycle(*watcher);
    EXPECT_EQ(watcher->nextLook(told).at, at(10, 0, 30));
    w.clock.set(at(9, 0));
    EXPECT_EQ(watcher->nextLook(told).at, at(10, 0, 20));
    // Given up 10 minutes after its due time: 25 (due 10:10) is awaited, looked for again in 10
    // seconds as its first look is already done.
    w.clock.set(at(10, 10, 20));
    w.cycle(*watcher);
    look = watcher->nextLook(told);
    EXPECT_EQ(look.period, period(25));
    EXPECT_EQ(look.at, at(10, 10, 30));
}

TEST(DrawWatcher, ConflictsAndFaultsLeaveTheStoreAloneAndTheWatchGoesOn)
{
    Watch w(10, false);
    WatchOptions o = w.options();
    o.pageTimeout = 1500ms;  // long enough for 5 MiB on a busy machine
    auto watcher = w.open(o);
    ASSERT_TRUE(watcher);

    // The page changes stored draw 5 and brings 11 and 12: the conflict is told once, 5 stays.
    auto draws = test::sampleDays().at(kDay);
    draws.resize(12);
    const QString stored5 = draws[4].second;
    const QString page5 = stored5 == QLatin1String("12345") ? QStringLiteral("54321") : QStringLiteral("12345");
    draws[4].second = page5;
    const HttpAnswer changed{200, test::dayPageHtml(kDay, draws)};
    w.site.setAnswer(kDay, changed);
    for (int i = 0; i < 2; ++i)
        w.cycle(*watcher);
    ASSERT_EQ(w.ofKind(WatchEvent::Kind::Conflict).size(), 1u);
    const WatchEvent conflict = w.ofKind(WatchEvent::Kind::Conflict)[0];
    EXPECT_EQ(conflict.period, period(5));
    EXPECT_EQ(conflict.stored, stored5);
    EXPECT_EQ(conflict.page, page5);
    ASSERT_EQ(w.ofKind(WatchEvent::Kind::Draws).size(), 1u);
    EXPECT_EQ(w.ofKind(WatchEvent::Kind::Draws)[0].periods, (QStringList{period(11), period(12)}));
    EXPECT_EQ(digitsText((*DrawHistory(w.temp.store()).draws())[4].digits()), stored5);

    // A page showing nothing newer, or nothing at all yet, is no fault.
    w.events.clear();
    w.site.setAnswer(kDay, pageOf(3));
    w.cycle(*watcher);
    w.site.setAnswer(kDay, {200, QByteArrayLiteral("<html><body>暂无开奖数据</body></html>")});
    w.cycle(*watcher);
    EXPECT_TRUE(w.events.empty());

    // Each fault is one error; the cycle after it stores the next draw.
    const HttpAnswer faults[] = {
        {500, QByteArrayLiteral("<html>Internal Server Error</html>")},
        {200, pageOf(13).body, "text/html", 4000ms},            // slower than the timeout
        {200, QByteArray(6 * 1024 * 1024, 'x'), "text/html"},  // larger than 5 MiB
    };
    const char* reasons[] = {"HTTP 500", "超时", "5MB"};
    int expectedDraws = 12;
    for (int i = 0; i < 3; ++i) {
        w.events.clear();
        w.site.setAnswer(kDay, faults[i]);
        w.cycle(*watcher);
        ASSERT_EQ(w.events.size(), 1u) << reasons[i];
        EXPECT_EQ(w.events[0].kind, WatchEvent::Kind::Error);
        EXPECT_TRUE(w.events[0].message.contains(QString::fromUtf8(reasons[i]))) << w.events[0].message.toStdString();
        EXPECT_EQ(w.storedCount(), expectedDraws);
        w.site.setAnswer(kDay, pageOf(++expectedDraws));
        w.cycle(*watcher);
        EXPECT_EQ(w.storedCount(), expectedDraws);
    }

    // No HTTP at all, and no server at all.
    NotHttpServer notHttp;
    for (const QString& address : {notHttp.url(), test::LocalHttpServer::unreachableUrl()}) {
        watcher.reset();
        WatchOptions elsewhere = o;
        elsewhere.addresses = {address};
        watcher = w.open(elsewhere);
        ASSERT_TRUE(watcher);
        w.events.clear();
        w.cycle(*watcher);
        ASSERT_EQ(w.events.size(), 1u) << address.toStdString();
        EXPECT_EQ(w.events[0].kind, WatchEvent::Kind::Error);
        EXPECT_EQ(w.storedCount(), expectedDraws);
    }
}

TEST(DrawWatcher, TheSecondAddressServesAndIsTriedFirstNextTime)
{
    Watch w(10, false);
    WatchOptions o = w.options();
    o.addresses = {test::LocalHttpServer::unreachableUrl(), w.site.baseUrl()};
    QStringList hosts;
    auto logging = [&](const QUrl& url, std::chrono::milliseconds timeout, const Progress* stop) {
        hosts << QStringLiteral("%1").arg(url.port());
        return httpPageFetcher()(url, timeout, stop);
    };
    auto watcher = w.open(o, logging);
    ASSERT_TRUE(watcher);
    const QString site = QString::number(QUrl(w.site.baseUrl()).port());
    w.site.setAnswer(kDay, pageOf(11));
    w.cycle(*watcher);
    ASSERT_EQ(w.events.size(), 1u);  // no error: the second address answered
    EXPECT_EQ(w.events[0].kind, WatchEvent::Kind::Draws);
    ASSERT_EQ(hosts.size(), 2);
    EXPECT_EQ(hosts[1], site);
    w.cycle(*watcher);
    ASSERT_EQ(hosts.size(), 3);
    EXPECT_EQ(hosts[2], site);
}

TEST(DrawWatcher, OneWatcherPerDataFolder)
{
    Watch w;
    auto first = w.open(w.options());
    ASSERT_TRUE(first);
    auto second = DrawWatcher::open(w.temp.store(), w.options(), w.clock);
    ASSERT_FALSE(second);
    EXPECT_TRUE(second.error().message.contains(QString::number(QCoreApplication::applicationPid())))
        << second.error().message.toStdString();
    first.reset();
    EXPECT_TRUE(w.open(w.options()));
}

TEST(DrawWatcher, TheJournalJudgesAWatchedPredictionWhenItsDrawComes)
{
    Watch w(10, false);
    const Category oneStar{1, false};
    test::storeFormulas(w.temp.store(), oneStar, {{"L1A"}, {"L2A+L3A"}, {"L5A*3"}});
    WatchOptions o = w.options();
    CalculationRequest request;
    request.category = oneStar;
    request.kind = Kind::Kill;
    request.method = CalculationMethod::Selected;
    o.calculation = request;
    auto watcher = w.open(o);
    ASSERT_TRUE(watcher);
    const auto started = watcher->start();
    ASSERT_EQ(started.size(), 1u);
    ASSERT_EQ(started[0].kind, WatchEvent::Kind::Calculation);
    EXPECT_EQ(started[0].run->calculation.period, period(11));
    EXPECT_EQ(started[0].run->recording, Recording::Recorded);

    w.site.setAnswer(kDay, pageOf(11));
    const auto got = w.cycle(*watcher);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].kind, WatchEvent::Kind::Calculation);
    EXPECT_EQ(got[1].run->calculation.period, period(12));

    auto journal = readJournal(w.temp.store());
    ASSERT_TRUE(journal);
    ASSERT_EQ(journal->entries.size(), 2u);
    const JournalEntry& judged = journal->entries[0];
    EXPECT_EQ(judged.period, period(11));
    ASSERT_EQ(judged.slotResults.size(), 1u);
    // 一星 tests 个位, the last digit of the sample's draw 11.
    const QChar units = test::sampleDays().at(kDay)[10].second.back();
    const JournalSlot& slot = judged.slotResults[0];
    EXPECT_EQ(slot.outcome.drawn, QString(units));
    ASSERT_TRUE(slot.outcome.success.has_value());
    const bool kept = std::find(slot.kept.begin(), slot.kept.end(), units.digitValue()) != slot.kept.end();
    EXPECT_EQ(*slot.outcome.success, kept);
    EXPECT_FALSE(journal->entries[1].slotResults[0].outcome.success.has_value());
}

TEST(DrawWatcher, MemoryStaysFlatOverTenThousandCycles)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer holds freed memory back; its leak check stands for this test there";
#endif
    Watch w(10, false);
    const QByteArray page = pageOf(10).body;
    auto watcher = w.open(w.options(), [&](const QUrl&, std::chrono::milliseconds, const Progress*) {
        return Result<QByteArray>(page);
    });
    ASSERT_TRUE(watcher);
    auto cycles = [&](int count) {
        int quiet = 0;
        for (int i = 0; i < count; ++i)
            quiet += watcher->runCycle().empty() ? 1 : 0;
        EXPECT_EQ(quiet, count);
    };
    cycles(1000);
    const long before = residentKilobytes();
    cycles(10000);
    EXPECT_LT(residentKilobytes() - before, 2048) << "kilobytes grown over 10,000 cycles";
}
