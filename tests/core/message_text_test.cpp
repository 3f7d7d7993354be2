#include "common/message_text.h"
#include "domain/draw_record.h"
#include "domain/period_number.h"
#include "history/draw_history.h"
#include "language/expression.h"
#include "language/formula_line.h"
#include "settings/settings.h"
#include "test_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace qeltaro;

TEST(MessageText, ExcerptKeepsShortTextAndCutsLongText)
{
    EXPECT_EQ(excerpt(u"万位码+1"), QStringLiteral("万位码+1"));
    const QString forty(40, u'码');
    EXPECT_EQ(excerpt(forty), forty);
    EXPECT_EQ(excerpt(forty + u'x'), forty + QStringLiteral("…（共41个字符）"));
    // A character outside the basic plane is never cut in half.
    const QString astral = QString(39, u'a') + QString::fromUtf8("\xF0\x9F\x98\x80") + u'b';
    EXPECT_EQ(excerpt(astral), QString(39, u'a') + QStringLiteral("…（共42个字符）"));
    // A NUL or a line break in the input must not cut or split the message.
    EXPECT_EQ(excerpt(QString::fromUtf8("12\0003\n4", 6)), QStringLiteral("12\uFFFD3\uFFFD4"));
}

// Every parser quoting its input keeps the message short, whatever it is fed.
TEST(MessageText, RefusalsOfHugeInputStaySmall)
{
    const QString digits(1'000'000, u'7');
    const QString chinese(1'000'000, u'某');
    QTemporaryDir folder;
    Settings settings(folder.filePath(QStringLiteral("s.conf")));
    const struct {
        const char* input;
        std::function<QString()> refusal;
    } cases[] = {
        {"period of 1M digits", [&] { QString e; EXPECT_FALSE(PeriodNumber::parse(digits, Game{}, &e)); return e; }},
        {"draw of 1M digits", [&] { QString e; EXPECT_FALSE(parseDigits(digits, &e)); return e; }},
        {"a number of 1M digits", [&] { auto r = compileFormula(digits); EXPECT_FALSE(r); return r ? QString() : r.error().message; }},
        {"a parameter of 1M letters", [&] { auto r = compileFormula(QString(1'000'000, u'X')); EXPECT_FALSE(r); return r ? QString() : r.error().message; }},
        {"1M unknown characters", [&] { auto r = compileFormula(QStringLiteral("L1A+") + chinese); EXPECT_FALSE(r); return r ? QString() : r.error().message; }},
        {"1M closing brackets", [&] { auto r = compileFormula(QStringLiteral("L1A") + QString(1'000'000, u')')); EXPECT_FALSE(r); return r ? QString() : r.error().message; }},
        {"a formula line of 1M characters", [&] {
             const ParsedLine line = parseFormulaLine(chinese + QStringLiteral("=下期杀一星直选"), LineSource::File, Kind::Kill);
             const LineCheck check = checkLine(line, LineSource::File);
             EXPECT_EQ(check.problem, LineProblem::TooLong);
             return check.reason;
         }},
        {"a long valid-looking formula", [&] {
             QString text = QStringLiteral("万位码");
             for (int i = 0; i < 300; ++i)
                 text += QStringLiteral("+千位码");
             const LineCheck check = checkLine(parseFormulaLine(text + QStringLiteral("=下期杀一星直选"), LineSource::Typed, Kind::Kill), LineSource::Typed);
             EXPECT_EQ(check.problem, LineProblem::TooLong);
             return check.reason;
         }},
        {"a setting of 1M characters", [&] { auto s = settings.set(QStringLiteral("JSQS"), digits); EXPECT_FALSE(s); return s ? QString() : s.error().message; }},
        {"a history file of 5000 bad lines", [&] {
             test::TempStore temp;
             QString text;
             for (int i = 0; i < 5000; ++i)
                 text += QStringLiteral("1601210%1 1234\n").arg(i % 100, 2, 10, QChar(u'0'));
             auto r = DrawHistory(temp.store()).importText(text);
             EXPECT_FALSE(r);
             if (r)
                 return QString();
             EXPECT_TRUE(r.error().message.contains(QStringLiteral("5000行无法识别")));
             EXPECT_TRUE(r.error().message.contains(QStringLiteral("……另有4980行")));
             return r.error().message;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        const QString message = c.refusal();
        EXPECT_FALSE(message.isEmpty());
        EXPECT_LT(message.size(), 2000) << message.left(300).toStdString();
    }
}
