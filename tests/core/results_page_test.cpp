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

TEST(ResultsPage, VisibleTextIsWhatABrowserShows)
{
    const std::pair<const char*, const char*> cases[] = {
        // inline elements join, cells and blocks stay apart
        {"<td>160121-001<b>1</b><i>2</i>345</td>", "160121-00112345"},
        {"<tr><td>160121-001</td><td>12345</td></tr>", "160121-001\t12345"},
        {"<p>a</p><p>b</p>x<br>y<br/>z", "a\nb\nx\ny\nz"},
        {"a \n\t  b", "a b"},
        // invisible content
        {"<head><title>160121-001 走势</title></head><body>ok</body>", "ok"},
        {"a<script type=\"text/javascript\">var s = '</b>160121-00199999';</script>b", "ab"},
        {"a<SCRIPT>x</scripts></SCRIPT >b", "ab"},
        {"a<style>p > b { }</style>b", "ab"},
        {"a<!-- 160121-001 99999 -->b<!DOCTYPE html>c", "abc"},
        {"a<!-- never closed 160121-00199999", "a"},
        {"a<script>never closed 160121-00199999", "a"},
        // quoted attribute values may hold '>'
        {"<td title=\"a > b\" data-x='>'>160121-001</td>", "160121-001"},
        // character references
        {"160121&#45;001&#x31;2&amp;&lt;&gt;&quot;&apos;", "160121-00112&<>\"'"},
        {"a&nbsp;b &foo; &#; &#xZ; &#1114112;", "a\u00a0b &foo; &#; &#xZ; \ufffd"},
        // a '<' that opens no tag is text
        {"1 < 2 <3", "1 < 2 <3"},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(visibleText(QString::fromUtf8(html)).toStdString(), std::string(text)) << html;
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
