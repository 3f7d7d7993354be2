#include "history/draw_line_reader.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

const Game kStandard;
const Game kMinute{QStringLiteral("分分彩"), 1440, 4, Numbering::Date};
const Game kDaily{QStringLiteral("日开"), 1, 3, Numbering::Year};

struct Read {
    const char* line;
    const char* period;  // in the game's form
    const char* digits;
    QDate date;  // the draw date the period carries
};

void expectRead(const DrawLineReader& reader, const Game& game, const Read& c)
{
    QString error;
    const auto draw = reader.read(QString::fromUtf8(c.line), &error);
    ASSERT_TRUE(draw) << c.line << ": " << error.toStdString();
    EXPECT_EQ(draw->period.text(game).toStdString(), c.period) << c.line;
    EXPECT_EQ(digitsText(draw->digits).toStdString(), c.digits) << c.line;
    EXPECT_EQ(draw->period.date, c.date) << c.line;
}

void expectRefused(const DrawLineReader& reader, const char* line, const char* reason)
{
    QString error;
    EXPECT_FALSE(reader.read(QString::fromUtf8(line), &error)) << line;
    EXPECT_NE(error.toStdString().find(reason), std::string::npos) << line << ": " << error.toStdString();
}

}  // namespace

TEST(DrawLineReader, EveryPeriodFormAndSeparatorOfADateNumberedGame)
{
    const DrawLineReader reader(kStandard);
    const QDate day(2016, 1, 21);
    const Read cases[] = {
        {"160121001 38146", "160121001", "38146", day},
        {"20160121002,38146", "160121002", "38146", day},
        {"160121-003\t3\t8\t1\t4\t6", "160121003", "38146", day},
        {"20160121-004; 38146 ;2016-01-21", "160121004", "38146", day},
        {"2016-01-21-005,3,8,1,4,6,2016/1/21", "160121005", "38146", day},
        {"\"160121006\",\"3\",\"8\",\"1\",\"4\",\"6\",\"2016-01-21\"", "160121006", "38146", day},
        {"  160121007 \t 3 8 1 4 6   ", "160121007", "38146", day},
        {"160121008,38146,,", "160121008", "38146", day},                      // empty spreadsheet cells
        {"160121009\u00a038146\u30002016-01-21", "160121009", "38146", day},  // no-break, ideographic blanks
        {"200121120 00000", "200121120", "00000", QDate(2020, 1, 21)},         // YYMMDD that starts "20"
    };
    for (const Read& c : cases)
        expectRead(reader, kStandard, c);

    expectRefused(reader, "160121001", "应为“期号 开奖号”");
    expectRefused(reader, "1601210001 38146", "无法识别");  // another game's four-digit issue
    expectRefused(reader, "19990121001 38146", "无法识别");
    expectRefused(reader, "16-01-21-001 38146", "无法识别");
    expectRefused(reader, "160132001 38146", "不存在");
    expectRefused(reader, "160121121 38146", "不在001到120之间");
    expectRefused(reader, "160121001 3814", "必须是5个0-9的数字");
    expectRefused(reader, "160121001 3 8 1 4", "必须是5个0-9的数字");
    expectRefused(reader, "160121001 \"38146", "必须是5个0-9的数字");
    expectRefused(reader, "160121001 38146 2016-01-22", "与期号160121001不符");
    expectRefused(reader, "160121001 38146 2016-02-30", "不存在");
    expectRefused(reader, "160121001 38146 6", "多出“6”");
    expectRefused(reader, "160121001 3 8 1 4 6 2016-01-21 10:00", "多出");
}

TEST(DrawLineReader, FourDigitIssuesAndYearNumbering)
{
    const DrawLineReader minute(kMinute);
    expectRead(minute, kMinute, {"2401011440 12345", "2401011440", "12345", QDate(2024, 1, 1)});
    expectRead(minute, kMinute, {"20240102-0001,1,2,3,4,5", "2401020001", "12345", QDate(2024, 1, 2)});
    expectRefused(minute, "240101001 12345", "无法识别");
    expectRefused(minute, "2401011441 12345", "不在0001到1440之间");

    // A year-numbered period names no day: the draw date is required and must lie in its year.
    const DrawLineReader daily(kDaily);
    expectRead(daily, kDaily, {"24001 12345 2024-01-01", "24001", "12345", QDate(2024, 1, 1)});
    expectRead(daily, kDaily, {"2024366,1,2,3,4,5,2024/12/31", "24366", "12345", QDate(2024, 12, 31)});
    expectRefused(daily, "24001 12345", "需要开奖日期");
    expectRefused(daily, "24001 12345 2023-12-31", "不符");
    expectRefused(daily, "240101001 12345 2024-01-01", "无法识别");
    expectRefused(daily, "24-001 12345 2024-01-01", "无法识别");
}

TEST(DrawLineReader, AWebTableRowMayCarryMoreColumns)
{
    const DrawLineReader row(kStandard, DrawLineReader::Tail::Ignored);
    const QDate day(2016, 1, 21);
    expectRead(row, kStandard, {"160121-001\t38146\t22\t大\t双\t2016-01-21 10:00", "160121001", "38146", day});
    expectRead(row, kStandard, {"20160121002 3 8 1 4 6 22", "160121002", "38146", day});
    expectRefused(row, "期号\t开奖号码", "无法识别");
    expectRefused(row, "160121-00338146\t38146", "无法识别");  // a marker is no period field
}

TEST(DrawLineReader, AHeadingNamesNoNumberOfFiveDigits)
{
    for (const char* heading : {"期号,开奖号码,开奖日期", "\"Issue\";\"N1\";\"N2\";\"N3\";\"N4\";\"N5\";\"Date\"",
                                "period digits 1 2 3 4 5", "rubbish"})
        EXPECT_TRUE(DrawLineReader::isHeading(QString::fromUtf8(heading))) << heading;
    for (const char* draw : {"160121001 38146", "1601210001 12345", "2016-01-21-001,3,8,1,4,6", "期号 12345"})
        EXPECT_FALSE(DrawLineReader::isHeading(QString::fromUtf8(draw))) << draw;
}
