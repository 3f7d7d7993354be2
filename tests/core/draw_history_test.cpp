#include "history/draw_history.h"
#include "io/text_codec.h"
#include "store/history_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

std::vector<DrawRecord> rows(Store& store)
{
    auto all = HistoryTable(store).all();
    EXPECT_TRUE(all);
    return all ? *all : std::vector<DrawRecord>{};
}

int value(const DrawRecord& r, const char* code)
{
    return r.values[derivedIndex(QString::fromLatin1(code))];
}

// An empty store of the default game and the history on it.
class DrawHistoryTest : public ::testing::Test {
protected:
    TempStore temp;
    DrawHistory history{temp.store()};
};

}  // namespace

TEST_F(DrawHistoryTest, TypedDrawIsStoredWithEveryDerivedColumn)
{
    auto first = history.add(QStringLiteral("160121001"), QStringLiteral("12345"));
    ASSERT_TRUE(first) << first.error().message.toStdString();
    auto second = history.add(QStringLiteral("160121002"), QStringLiteral("13299"));
    ASSERT_TRUE(second);
    const auto stored = rows(temp.store());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].values, deriveDrawRecord(*PeriodNumber::parse(QStringLiteral("160121001"), Game{}), {1, 2, 3, 4, 5}, std::nullopt, Game{}).values);
    EXPECT_EQ(value(stored[1], "LX"), 1);
    EXPECT_EQ(value(stored[1], "LY"), 3);
    EXPECT_EQ(value(stored[1], "NF"), 2016);
}

TEST_F(DrawHistoryTest, BadTypedInputIsRefusedAndStoresNothing)
{
    ASSERT_TRUE(history.add(QStringLiteral("160121001"), QStringLiteral("12345")));
    const std::pair<const char*, const char*> bad[] = {
        {"160121002", "1234"}, {"160121002", "123456"}, {"160121002", "12a45"}, {"160121002", ""},
        {"160121000", "12345"}, {"160121121", "12345"}, {"160230001", "12345"}, {"16012100", "12345"},
        {"160121001", "12345"},  // already stored
        {"160121001", "99999"}};
    for (const auto& [period, digits] : bad) {
        auto r = history.add(QString::fromLatin1(period), QString::fromLatin1(digits));
        ASSERT_FALSE(r) << period << " " << digits;
        EXPECT_EQ(r.error().kind, ErrorKind::BadInput);
        EXPECT_FALSE(r.error().message.isEmpty());
    }
    EXPECT_EQ(rows(temp.store()).size(), 1u);
}

TEST_F(DrawHistoryTest, ADrawStoredBeforeExistingOnesMendsTheFollowingRepeats)
{
    ASSERT_TRUE(history.add(QStringLiteral("160121001"), QStringLiteral("11111")));
    ASSERT_TRUE(history.add(QStringLiteral("160121003"), QStringLiteral("12345")));
    EXPECT_EQ(value(rows(temp.store())[1], "LX"), 1);
    ASSERT_TRUE(history.add(QStringLiteral("160121002"), QStringLiteral("12399")));
    const auto stored = rows(temp.store());
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(value(stored[1], "LX"), 1);  // 12399 after 11111
    EXPECT_EQ(value(stored[1], "LY"), 1);
    EXPECT_EQ(value(stored[2], "LX"), 3);  // 12345 now after 12399
    EXPECT_EQ(value(stored[2], "LY"), 3);
}

TEST_F(DrawHistoryTest, NextPeriodFollowsTheNewestDraw)
{
    EXPECT_EQ(history.nextPeriod(QDate(2016, 1, 21))->toStdString(), "160121001");
    ASSERT_TRUE(history.add(QStringLiteral("161231120"), QStringLiteral("12345")));
    EXPECT_EQ(history.nextPeriod(QDate(2020, 1, 1))->toStdString(), "170101001");
    ASSERT_TRUE(history.add(QStringLiteral("170101007"), QStringLiteral("12345")));
    EXPECT_EQ(history.nextPeriod(QDate(2020, 1, 1))->toStdString(), "170101008");
}

TEST(DrawHistory, OtherGamesNumberTheirTypedDrawsAndNextPeriods)
{
    TempStore minute;
    ASSERT_TRUE(minute.store().setGame({QStringLiteral("分分彩"), 1440, 4, Numbering::Date}));
    DrawHistory minuteHistory(minute.store());
    EXPECT_EQ(minuteHistory.nextPeriod(QDate(2024, 1, 1))->toStdString(), "2401010001");
    ASSERT_TRUE(minuteHistory.add(QStringLiteral("2401011440"), QStringLiteral("12345")));
    EXPECT_EQ(minuteHistory.nextPeriod(QDate(2024, 1, 1))->toStdString(), "2401020001");
    EXPECT_FALSE(minuteHistory.add(QStringLiteral("240101001"), QStringLiteral("12345")));

    TempStore daily;
    ASSERT_TRUE(daily.store().setGame({QStringLiteral("每日一期"), 1, 3, Numbering::Year}));
    DrawHistory history(daily.store());
    EXPECT_EQ(history.nextPeriod(QDate(2024, 3, 5))->toStdString(), "24001");
    // The period does not say the day: a typed draw needs its date, in the period's year.
    auto undated = history.add(QStringLiteral("24064"), QStringLiteral("12345"));
    ASSERT_FALSE(undated);
    EXPECT_EQ(undated.error().kind, ErrorKind::BadInput);
    EXPECT_FALSE(history.add(QStringLiteral("24064"), QStringLiteral("12345"), QDate(2023, 3, 5)));
    auto stored = history.add(QStringLiteral("24064"), QStringLiteral("12345"), QDate(2024, 3, 5));
    ASSERT_TRUE(stored) << stored.error().message.toStdString();
    EXPECT_EQ(stored->drawDate(), QDate(2024, 3, 5));
    EXPECT_EQ(history.nextPeriod(QDate(2024, 3, 6))->toStdString(), "24065");
    // The proposal follows the newest draw, not today: a past year being typed in goes on in
    // that year, its date the day after the newest draw's (one draw a day).
    auto proposed = history.proposeNext(QDate(2026, 6, 1));
    ASSERT_TRUE(proposed);
    EXPECT_EQ(proposed->period.toStdString(), "24065");
    EXPECT_EQ(proposed->date, QDate(2024, 3, 6));
    // A date in a later year starts that year's sequence.
    EXPECT_EQ(history.nextPeriodOn(QDate(2025, 1, 1))->toStdString(), "25001");
    EXPECT_EQ(history.nextPeriodOn(QDate(2024, 12, 31))->toStdString(), "24065");
    ASSERT_TRUE(history.add(QStringLiteral("24366"), QStringLiteral("12345"), QDate(2024, 12, 31)));
    proposed = history.proposeNext(QDate(2026, 6, 1));
    EXPECT_EQ(proposed->period.toStdString(), "25001");
    EXPECT_EQ(proposed->date, QDate(2025, 1, 1));

    // Two draws a day: the day stays until its second draw is in.
    TempStore twice;
    ASSERT_TRUE(twice.store().setGame({QStringLiteral("每日两期"), 2, 3, Numbering::Year}));
    DrawHistory twiceHistory(twice.store());
    ASSERT_TRUE(twiceHistory.add(QStringLiteral("24001"), QStringLiteral("12345"), QDate(2024, 1, 1)));
    EXPECT_EQ(twiceHistory.proposeNext(QDate(2026, 6, 1))->date, QDate(2024, 1, 1));
    ASSERT_TRUE(twiceHistory.add(QStringLiteral("24002"), QStringLiteral("12345"), QDate(2024, 1, 1)));
    EXPECT_EQ(twiceHistory.proposeNext(QDate(2026, 6, 1))->date, QDate(2024, 1, 2));
    EXPECT_EQ(twiceHistory.proposeNext(QDate(2026, 6, 1))->period.toStdString(), "24003");
}

TEST(DrawHistory, ImportingTheSampleMatchesTypedEntry)
{
    TempStore temp;
    auto report = DrawHistory(temp.store()).importFile(qeltaro::test::sampleHistoryPath());
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->stored, 4080);
    EXPECT_EQ(report->skipped, 0);

    // The same draws typed one after another give identical rows.
    TempStore typed;
    DrawHistory typedHistory(typed.store());
    const QStringList lines = splitLines(qeltaro::test::sampleHistoryLines(240));
    for (const QString& line : lines) {
        const QStringList parts = line.split(u' ');
        ASSERT_TRUE(typedHistory.add(parts[0], parts[1]));
    }
    const auto imported = rows(temp.store());
    const auto entered = rows(typed.store());
    ASSERT_EQ(imported.size(), 4080u);
    for (size_t i = 0; i < entered.size(); ++i) {
        EXPECT_EQ(imported[i].period, entered[i].period);
        EXPECT_EQ(imported[i].values, entered[i].values) << entered[i].period.toStdString();
    }
    EXPECT_EQ(imported.front().period.toStdString(), "141030001");
    EXPECT_EQ(imported.back().period.toStdString(), "150210120");
}

TEST_F(DrawHistoryTest, ImportMergesOverlapsInAnyOrder)
{
    ASSERT_TRUE(history.importText(QStringLiteral("160121002 22222\n")));
    auto report = history.importText(QStringLiteral("160121003 33333\r\n160121001 12222\r\n\r\n160121002 22222\r\n"));
    ASSERT_TRUE(report);
    EXPECT_EQ(report->stored, 2);
    EXPECT_EQ(report->skipped, 1);
    const auto stored = rows(temp.store());
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(value(stored[1], "LX"), 4);  // the stored 22222 now follows 12222
    EXPECT_EQ(value(stored[1], "LY"), 5);
    EXPECT_EQ(value(stored[2], "LX"), 0);
}

TEST_F(DrawHistoryTest, AMalformedLineRefusesTheWholeFile)
{
    ASSERT_TRUE(history.add(QStringLiteral("160121001"), QStringLiteral("12345")));
    auto report = history.importText(QStringLiteral("160121002 11111\nrubbish\n160121003 1234\n160121004 44444\n"
                                                    "160121004 44445\n160121001 99999\n"));
    ASSERT_FALSE(report);
    EXPECT_EQ(report.error().kind, ErrorKind::BadInput);
    const std::string message = report.error().message.toStdString();
    EXPECT_NE(message.find("第2行"), std::string::npos) << message;
    EXPECT_NE(message.find("第3行"), std::string::npos) << message;
    EXPECT_NE(message.find("第5行"), std::string::npos) << message;
    EXPECT_EQ(rows(temp.store()).size(), 1u);

    // A period stored with other digits is a conflict, not a skip.
    report = history.importText(QStringLiteral("160121002 11111\n160121001 99999\n"));
    ASSERT_FALSE(report);
    EXPECT_EQ(rows(temp.store()).size(), 1u);
}

TEST_F(DrawHistoryTest, AFileOfAnotherProgramImportsAfterItsHeading)
{
    auto report = history.importText(QStringLiteral("\n期号,万,千,百,十,个,开奖日期\n"
                                                    "2016-01-21-002,3,8,1,4,6,2016-01-21\n"
                                                    "\"20160121001\";\"12345\"\n"
                                                    "160121003\t54321\n"));
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->stored, 3);
    const auto stored = rows(temp.store());
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[1].period.toStdString(), "160121002");
    EXPECT_EQ(digitsText(stored[1].digits()).toStdString(), "38146");

    // Only a first line may be a heading; a heading further down is a bad line like any other,
    // and so is a date that is not the period's.
    report = history.importText(QStringLiteral("期号 号码\n160121004 11111\n期号 号码\n160121005 22222 2016-01-22\n"));
    ASSERT_FALSE(report);
    const std::string message = report.error().message.toStdString();
    EXPECT_NE(message.find("有2行无法识别"), std::string::npos) << message;
    EXPECT_NE(message.find("第3行"), std::string::npos) << message;
    EXPECT_NE(message.find("第4行：开奖日期2016-01-22与期号160121005不符"), std::string::npos) << message;
    EXPECT_EQ(rows(temp.store()).size(), 3u);
}

TEST(DrawHistory, AYearNumberedGameImportsDrawsWithTheirDates)
{
    TempStore temp;
    ASSERT_TRUE(temp.store().setGame(Game{QStringLiteral("日开"), 1, 3, Numbering::Year}));
    DrawHistory history(temp.store());
    // Without its date a draw of such a game cannot be stored: the whole file is refused.
    auto report = history.importText(QStringLiteral("24001 12345 2024-01-01\n24002 54321\n"));
    ASSERT_FALSE(report);
    EXPECT_NE(report.error().message.toStdString().find("第2行：按年编号的彩种需要开奖日期"), std::string::npos)
        << report.error().message.toStdString();
    EXPECT_TRUE(rows(temp.store()).empty());

    report = history.importText(QStringLiteral("期号,号码,日期\n2024002,5,4,3,2,1,2024/02/29\n24001 12345 2024-01-01\n"
                                               "24001 12345 2024-01-02\n"));
    ASSERT_FALSE(report);  // one period, two dates
    EXPECT_NE(report.error().message.toStdString().find("第4行"), std::string::npos);

    report = history.importText(QStringLiteral("期号,号码,日期\n2024002,5,4,3,2,1,2024/02/29\n24001 12345 2024-01-01\n"));
    ASSERT_TRUE(report) << report.error().message.toStdString();
    const auto stored = rows(temp.store());
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].period.toStdString(), "24002");
    EXPECT_EQ(value(stored[1], "NF"), 2024);
    EXPECT_EQ(value(stored[1], "YF"), 2);
    EXPECT_EQ(value(stored[1], "RQ"), 29);
    EXPECT_EQ(value(stored[1], "LX"), 1);  // 54321 after 12345: the middle digit repeats
}
