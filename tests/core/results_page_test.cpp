#include "history/results_page.h"

#include <gtest/gtest.h>

using namespace qeltaro;

TEST(ResultsPage, TheDayIsWrittenTwiceIntoTheFixedAddress)
{
    auto base = parseResultsBase(QStringLiteral(" http://127.0.0.1:8080/mirror/ "));
    ASSERT_TRUE(base) << base.error().message.toStdString();
    EXPECT_EQ(resultsPageUrl(*base, QDate(2016, 1, 21)).toString().toStdString(),
              "http://127.0.0.1:8080/mirror/zst/ssccq?lotId=255401&chartType=dww5&spanType=2"
              "&span=2016-01-21_2016-01-21&r=0.4097360474988818#roll_0");
    EXPECT_EQ(resultsPageUrl(*parseResultsBase(QStringLiteral("https://example.com")), QDate(2015, 2, 8)).toString().toStdString(),
              "https://example.com/zst/ssccq?lotId=255401&chartType=dww5&spanType=2"
              "&span=2015-02-08_2015-02-08&r=0.4097360474988818#roll_0");
    for (const char* bad : {"", "   ", "example.com", "ftp://example.com", "http://", "http://example.com/?a=1",
                            "http://example.com/#top", "http://exa mple.com"}) {
        auto refused = parseResultsBase(QString::fromLatin1(bad));
        ASSERT_FALSE(refused) << bad;
        EXPECT_FALSE(refused.error().message.isEmpty());
    }
}

TEST(ResultsPage, AWholeAddressNamesTheDayByPlaceholders)
{
    const QDate day(2016, 1, 21);
    const std::pair<const char*, const char*> cases[] = {
        {" http://127.0.0.1:8080/kj/{date}.html ", "http://127.0.0.1:8080/kj/2016-01-21.html"},
        {"https://example.com/draws?day={ymd}&game=cq#list", "https://example.com/draws?day=20160121&game=cq#list"},
        {"http://example.com/{yymmdd}/{yymmdd}-{date}", "http://example.com/160121/160121-2016-01-21"},
    };
    for (const auto& [pattern, page] : cases) {
        auto address = parseResultsBase(QString::fromLatin1(pattern));
        ASSERT_TRUE(address) << pattern << ": " << address.error().message.toStdString();
        EXPECT_EQ(resultsPageUrl(*address, day).toString().toStdString(), page);
    }
    // Checked as the address it becomes: an unknown placeholder leaves braces, which no address holds.
    for (const char* bad : {"http://example.com/{day}/{date}", "ftp://example.com/{date}", "http:///{date}",
                            "{date}", "http://exa mple.com/{ymd}"}) {
        auto refused = parseResultsBase(QString::fromLatin1(bad));
        ASSERT_FALSE(refused) << bad;
        EXPECT_NE(refused.error().message.toStdString().find("{date}"), std::string::npos) << bad;
    }
}

TEST(ResultsPage, ATableGivesADrawARowAndContradictionsGiveNone)
{
    const QDate day(2016, 1, 21);
    const QString text = QStringLiteral(
        "开奖公告\n期号\t开奖号码\t和值\n"
        "160121-001\t3 8 1 4 6\t22\n"
        "20160121002\t54321\t15\n"
        "160120120\t99999\n"                      // another day
        "160121004\t11111\n160121004\t22222\n"   // two draws for one period
        "160121005\t1234x\n"                       // not a draw: passed over
        "160121-006\t12345\n最新 160121-00612345\n"
        "160121-007\t12345\n最新 160121-00754321\n");
    const DayPageDraws page = readDayPage(text, day, 1, QString(), Game{});
    EXPECT_TRUE(page.hasMarkers);
    ASSERT_EQ(page.draws.size(), 3u);
    EXPECT_EQ(page.draws[0].period.text(Game{}).toStdString(), "160121001");
    EXPECT_EQ(page.draws[0].digits, (Digits{3, 8, 1, 4, 6}));
    EXPECT_EQ(page.draws[1].period.text(Game{}).toStdString(), "160121002");
    EXPECT_EQ(page.draws[2].period.text(Game{}).toStdString(), "160121006");
    EXPECT_EQ(page.unreadable, QStringList({"160121004", "160121007"}));

    EXPECT_FALSE(readDayPage(QStringLiteral("160120120\t99999\n"), day, 1, QString(), Game{}).hasMarkers);
}

TEST(ResultsPage, AMinuteGameIsReadWithFourDigitIssues)
{
    const Game minute{QStringLiteral("分分彩"), 1440, 4, Numbering::Date};
    const QDate day(2024, 1, 1);
    const QString text = QStringLiteral("240101-000112345 240101-144054321 240101-001198765 "
                                        "240101-14411111 240101-002\t9 9 9 9 9\n240101-0003123");
    const DayPageDraws page = readDayPage(text, day, 1, QString(), minute);
    ASSERT_EQ(page.draws.size(), 3u);
    EXPECT_EQ(page.draws[0].period.text(minute).toStdString(), "2401010001");
    EXPECT_EQ(page.draws[1].period.text(minute).toStdString(), "2401010011");
    EXPECT_EQ(page.draws[2].period.text(minute).toStdString(), "2401011440");
    EXPECT_EQ(page.draws[2].digits, (Digits{5, 4, 3, 2, 1}));
    // "240101-002\t…" is the three-digit marker of another game, "240101-0003123" too short.
    EXPECT_EQ(page.unreadable, QStringList({"2401010003"}));
}

TEST(ResultsPage, AMarkerCountsOnlyWhenFiveDigitsFollowIt)
{
    const QDate day(2016, 1, 21);
    const QString text = QStringLiteral(
        "160120-00155555 "        // another day
        "160121-00112345 "        // issue 1 of 21 January 2016
        "160121-002+1234 160121-0031 234 160121-004１２３４５ "
        "160121-005abcde 160121-00554321 "  // only the first occurrence counts
        "160121-00698765x 160121-120000001 "
        "160121-007123");
    DayPageDraws page = readDayPage(text, day, 1, QString(), Game{});
    EXPECT_TRUE(page.hasMarkers);
    ASSERT_EQ(page.draws.size(), 3u);
    EXPECT_EQ(page.draws[0].period.text(Game{}).toStdString(), "160121001");
    EXPECT_EQ(page.draws[0].digits, (Digits{1, 2, 3, 4, 5}));
    EXPECT_EQ(page.draws[1].period.text(Game{}).toStdString(), "160121006");
    EXPECT_EQ(page.draws[1].digits, (Digits{9, 8, 7, 6, 5}));
    EXPECT_EQ(page.draws[2].period.text(Game{}).toStdString(), "160121120");
    EXPECT_EQ(page.draws[2].digits, (Digits{0, 0, 0, 0, 0}));
    EXPECT_EQ(page.unreadable, QStringList({"160121002", "160121003", "160121004", "160121005", "160121007"}));

    // Only issues from the start issue on and newer than the last stored draw.
    page = readDayPage(text, day, 2, QString(), Game{});
    EXPECT_EQ(page.draws.size(), 2u);
    page = readDayPage(text, day, 1, QStringLiteral("160121006"), Game{});
    ASSERT_EQ(page.draws.size(), 1u);
    EXPECT_EQ(page.draws[0].period.text(Game{}).toStdString(), "160121120");
    EXPECT_EQ(page.unreadable, QStringList({"160121007"}));
    page = readDayPage(text, day, 1, QStringLiteral("160121120"), Game{});
    EXPECT_TRUE(page.draws.empty());
    EXPECT_TRUE(page.unreadable.isEmpty());
    EXPECT_TRUE(page.hasMarkers);

    EXPECT_FALSE(readDayPage(QStringLiteral("160120-00155555 暂无数据"), day, 1, QString(), Game{}).hasMarkers);
}

TEST(ResultsPage, ADrawNamedTwiceWithOtherDigitsIsNotBelieved)
{
    const QDate day(2016, 1, 21);
    // A banner repeating the newest draw agrees with the table; a page contradicting itself
    // about issue 2 gives no digits for it, whichever occurrence is right.
    const QString text = QStringLiteral(
        "最新 160121-00398765 | 160121-00112345 160121-00254321 160121-00398765 "
        "160121-00200000 160121-002 暂无");
    const DayPageDraws page = readDayPage(text, day, 1, QString(), Game{});
    ASSERT_EQ(page.draws.size(), 2u);
    EXPECT_EQ(page.draws[0].period.text(Game{}).toStdString(), "160121001");
    EXPECT_EQ(page.draws[1].period.text(Game{}).toStdString(), "160121003");
    EXPECT_EQ(page.draws[1].digits, (Digits{9, 8, 7, 6, 5}));
    EXPECT_EQ(page.unreadable, QStringList({"160121002"}));
}
