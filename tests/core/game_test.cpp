// Games other than the standard one: periods, derived period and date columns, the next period.
#include "domain/draw_record.h"
#include "domain/game.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

Game minuteGame()  // a draw every minute
{
    return Game{QStringLiteral("分分彩"), 1440, 4, Numbering::Date};
}

Game fortyTwoGame()
{
    return Game{QStringLiteral("42期"), 42, 3, Numbering::Date};
}

Game dailyYearGame()
{
    return Game{QStringLiteral("每日一期"), 1, 3, Numbering::Year};
}

PeriodNumber period(const char* text, const Game& game)
{
    QString error;
    auto p = PeriodNumber::parse(QString::fromLatin1(text), game, &error);
    EXPECT_TRUE(p.has_value()) << text << " " << error.toStdString();
    return p.value_or(PeriodNumber{});
}

std::string nextOf(const char* text, const Game& game)
{
    return period(text, game).next(game).text(game).toStdString();
}

int value(const DrawRecord& r, const char* code)
{
    return r.values[derivedIndex(QString::fromLatin1(code))];
}

void expectColumns(const DrawRecord& r, std::initializer_list<std::pair<const char*, int>> expected)
{
    for (const auto& [code, v] : expected)
        EXPECT_EQ(value(r, code), v) << r.period.toStdString() << " " << code;
}

DrawRecord derived(const PeriodNumber& p, const Game& game)
{
    return deriveDrawRecord(p, {1, 2, 3, 4, 5}, std::nullopt, game);
}

}  // namespace

TEST(Game, ProblemsOfGamesThatCannotBeServed)
{
    EXPECT_FALSE(Game{}.problem());
    EXPECT_FALSE(minuteGame().problem());
    EXPECT_FALSE(fortyTwoGame().problem());
    EXPECT_FALSE(dailyYearGame().problem());
    EXPECT_FALSE((Game{QStringLiteral("g"), 999, 3, Numbering::Date}.problem()));
    EXPECT_FALSE((Game{QStringLiteral("g"), 42, 4, Numbering::Date}.problem()));  // wider than needed is fine
    const Game bad[] = {
        {QStringLiteral("g"), 0, 3, Numbering::Date},     {QStringLiteral("g"), 1441, 4, Numbering::Date},
        {QStringLiteral("g"), 1000, 3, Numbering::Date},  {QStringLiteral("g"), 120, 2, Numbering::Date},
        {QStringLiteral("g"), 120, 5, Numbering::Date},   {QStringLiteral(" "), 120, 3, Numbering::Date},
        {QStringLiteral("g"), 3, 3, Numbering::Year},  // three a day overflow a three-digit year sequence
    };
    for (const Game& game : bad)
        EXPECT_TRUE(game.problem()) << game.drawsPerDay << " " << game.issueDigits;
    EXPECT_EQ(numberingFromName(u"year"), Numbering::Year);
    EXPECT_EQ(numberingFromName(u"date"), Numbering::Date);
    EXPECT_FALSE(numberingFromName(u"Date"));
}

TEST(Game, StandardGameIssueColumnsWrapAfterIssue120)
{
    expectColumns(derived(period("160121120", Game{}), Game{}), {{"QH", 1}, {"QHW", 1}, {"SQH", 120}, {"SQHW", 3}});
    expectColumns(derived(period("160121119", Game{}), Game{}), {{"QH", 120}, {"QHW", 3}, {"SQH", 119}, {"SQHW", 11}});
}

TEST(Game, MinuteGameWritesFourDigitIssuesAndWrapsAfterIssue1440)
{
    const Game game = minuteGame();
    EXPECT_EQ(nextOf("2401011440", game), "2401020001");
    EXPECT_EQ(nextOf("2401010999", game), "2401011000");
    EXPECT_EQ(nextOf("2412311440", game), "2501010001");
    for (const char* bad : {"240101001", "2401010000", "2401011441", "24010100011"}) {
        QString error;
        EXPECT_FALSE(PeriodNumber::parse(QString::fromLatin1(bad), game, &error)) << bad;
        EXPECT_FALSE(error.isEmpty());
    }

    expectColumns(derived(period("2401011439", game), game), {{"SQH", 1439}, {"SQHW", 17}, {"QH", 1440}, {"QHW", 9}});
    const DrawRecord at1440 = derived(period("2401011440", game), game);
    EXPECT_EQ(at1440.period.toStdString(), "2401011440");
    expectColumns(at1440, {{"SQH", 1440}, {"SQHW", 9}, {"QH", 1}, {"QHW", 1}, {"RQ", 1}, {"NF", 2024}});
}

TEST(Game, FortyTwoADayGameEndsItsDayAtIssue42)
{
    const Game game = fortyTwoGame();
    EXPECT_EQ(nextOf("240101041", game), "240101042");
    EXPECT_EQ(nextOf("240101042", game), "240102001");
    QString error;
    EXPECT_FALSE(PeriodNumber::parse(QStringLiteral("240101043"), game, &error));
    EXPECT_NE(error.indexOf(QStringLiteral("001到042")), -1) << error.toStdString();
    expectColumns(derived(period("240101042", game), game), {{"QH", 1}, {"QHW", 1}});
    expectColumns(derived(period("240101041", game), game), {{"QH", 42}, {"QHW", 6}});
    // The standard game's issue 42 is followed by 43.
    EXPECT_EQ(value(derived(period("240101042", Game{}), Game{}), "QH"), 43);
}

TEST(Game, YearNumberedPeriodsTakeTheirDatesFromTheDraw)
{
    const Game game = dailyYearGame();
    const PeriodNumber undated = period("24001", game);
    EXPECT_EQ(undated.issue, 1);
    EXPECT_EQ(undated.date.year(), 2024);
    QString error;
    auto drawn = undated.dated(QDate(2024, 3, 5), game, &error);
    ASSERT_TRUE(drawn) << error.toStdString();
    EXPECT_FALSE(undated.dated(QDate(2025, 1, 1), game, &error));
    EXPECT_NE(error.indexOf(QStringLiteral("2025-01-01")), -1);

    const DrawRecord record = deriveDrawRecord(*period("24064", game).dated(QDate(2024, 3, 5), game), {1, 2, 3, 4, 5},
                                               std::nullopt, game);
    EXPECT_EQ(record.period.toStdString(), "24064");
    expectColumns(record, {{"SQH", 64}, {"SQHW", 10}, {"QH", 65}, {"QHW", 11}, {"RQ", 5}, {"YF", 3}, {"NF", 2024}, {"NFW", 8}});
    EXPECT_EQ(record.drawDate(), QDate(2024, 3, 5));

    EXPECT_EQ(nextOf("24365", game), "24366");
    EXPECT_EQ(nextOf("24999", game), "25001");
    for (const char* bad : {"24000", "2400", "240011", "240101001"})
        EXPECT_FALSE(PeriodNumber::parse(QString::fromLatin1(bad), game)) << bad;
    // Date-numbered periods must be drawn on their own day.
    EXPECT_FALSE(period("160121001", Game{}).dated(QDate(2016, 1, 22), Game{}));
    EXPECT_TRUE(period("160121001", Game{}).dated(QDate(2016, 1, 21), Game{}));
}
