#include "language/formula_line.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

std::string categoryText(const ParsedLine& line)
{
    return line.category ? line.category->suffix().toStdString() : "none";
}

}  // namespace

TEST(FormulaLine, SplitsBothShapes)
{
    const struct {
        const char* line;
        LineSource source;
        bool currentKill;
        const char* text;
        const char* code;
        bool kill;
        const char* category;
        bool statement;
    } cases[] = {
        {"万位码+千位码=下期杀一星直选", LineSource::Typed, false, "万位码+千位码=下期杀一星直选", "L1A+L2A", true, "1D", true},
        // A blank between kind and category; any kind other than 杀 keeps.
        {"万位码+3=下期留 二星组选", LineSource::Typed, true, "万位码+3=下期留 二星组选", "L1A+3", false, "2G", true},
        {"万位码+3=下期生五星组选", LineSource::Typed, true, "万位码+3=下期生五星组选", "L1A+3", false, "5G", true},
        // Any separator before 下期 is dropped; text after the play word is ignored.
        {"  和数 MOD 3：下期杀，四星直选 好公式 ", LineSource::Typed, false, "和数 MOD 3：下期杀，四星直选 好公式", "LH MOD 3", true, "4D", true},
        // Header shape, bracket at 6, 7 or 8: the kind is the current one.
        {"[三星直选]百位平方-十位码", LineSource::Typed, true, "[三星直选]百位平方-十位码", "L3G-L4A", true, "3D", false},
        {"[三星直选]百位平方-十位码", LineSource::Typed, false, "[三星直选]百位平方-十位码", "L3G-L4A", false, "3D", false},
        {"[三星直选杀]百位平方-十位码", LineSource::Typed, false, "[三星直选杀]百位平方-十位码", "L3G-L4A", false, "3D", false},
        {"[三星直选杀公]跨度", LineSource::File, true, "[三星直选杀公]跨度", "LT", true, "3D", false},
        // No bracket: the expression starts after five characters.
        {"[二星组选跨度+1", LineSource::File, true, "[二星组选跨度+1", "LT+1", true, "2G", false},
        // File lines lose the run-length tail; typed lines keep it.
        {"个位码*2=下期杀五星直选 连准8期", LineSource::File, false, "个位码*2=下期杀五星直选", "L5A*2", true, "5D", true},
        {"[五星直选]个位码连准12期", LineSource::File, true, "[五星直选]个位码", "L5A", true, "5D", false},
        // Unrecognised categories.
        {"万位码=下期杀一星组选", LineSource::File, true, "万位码=下期杀一星组选", "L1A", true, "none", true},
        {"万位码=下期杀六星直选", LineSource::File, true, "万位码=下期杀六星直选", "L1A", true, "none", true},
        {"万位码=下期杀三星任选", LineSource::File, true, "万位码=下期杀三星任选", "L1A", true, "none", true},
        {"万位码+千位码", LineSource::File, true, "万位码+千位码", "位A", true, "none", false},
        {"", LineSource::File, true, "", "", true, "none", false},
    };
    for (const auto& c : cases) {
        const ParsedLine line = parseFormulaLine(QString::fromUtf8(c.line), c.source, kindOfKillFlag(c.currentKill));
        SCOPED_TRACE(c.line);
        EXPECT_EQ(line.text.toStdString(), c.text);
        EXPECT_EQ(line.code.toStdString(), c.code);
        EXPECT_EQ(line.kind, kindOfKillFlag(c.kill));
        EXPECT_EQ(categoryText(line), c.category);
        EXPECT_EQ(line.statement, c.statement);
    }
}

TEST(FormulaLine, TypedTextKeepsItsTail)
{
    const ParsedLine typed = parseFormulaLine(u"个位码*2=下期杀五星直选 连准8期", LineSource::Typed, Kind::Kill);
    EXPECT_EQ(typed.text.toStdString(), "个位码*2=下期杀五星直选 连准8期");
    EXPECT_EQ(typed.code.toStdString(), "L5A*2");
}

TEST(FormulaLine, ExpressionBeforeTheFirstCharacterIsEmpty)
{
    // 下期 at the very start leaves no expression (and no separator to drop).
    for (const char16_t* text : {u"下期杀一星直选", u"=下期杀一星直选"}) {
        const ParsedLine line = parseFormulaLine(text, LineSource::Typed, Kind::Kill);
        EXPECT_TRUE(line.expression.isEmpty());
        EXPECT_EQ(checkLine(line, LineSource::Typed).problem, LineProblem::InvalidExpression);
    }
}

TEST(FormulaLine, ChecksSayWhyALineCannotBeStored)
{
    const struct {
        const char* line;
        LineSource source;
        LineProblem problem;
        const char* entry;  // what 无法识别公式.txt receives
    } cases[] = {
        {"万位码+千位码=下期杀一星直选", LineSource::File, LineProblem::None, ""},
        {"万位码+某某=下期杀一星直选", LineSource::File, LineProblem::DisallowedCharacter, "L1A+某某"},
        {"万位码+某某=下期杀一星直选", LineSource::Typed, LineProblem::InvalidExpression, "L1A+某某"},
        // A decimal point passes the compiler but not the file character check.
        {"万位码*1.5=下期杀一星直选", LineSource::Typed, LineProblem::None, ""},
        {"万位码*1.5=下期杀一星直选", LineSource::File, LineProblem::DisallowedCharacter, "L1A*1.5"},
        // Allowed characters that still do not compile.
        {"L1A+[Lishi]=下期杀一星直选", LineSource::File, LineProblem::DisallowedCharacter, "L1A+[Lishi]"},
        {"L1A+{L2A=下期杀一星直选", LineSource::File, LineProblem::InvalidExpression, "L1A+{L2A"},
        {"L1A+Lishi=下期杀一星直选", LineSource::File, LineProblem::InvalidExpression, "L1A+Lishi"},
        {"(L1A+L2A=下期杀一星直选", LineSource::File, LineProblem::InvalidExpression, "(L1A+L2A"},
        {"L1A+'x'=下期杀一星直选", LineSource::File, LineProblem::DisallowedCharacter, "L1A+'x'"},
        {"L1A); DROP TABLE Lishi; --=下期杀一星直选", LineSource::File, LineProblem::DisallowedCharacter,
         "L1A); DROP TABLE Lishi; --"},
        {"L1A); DROP TABLE Lishi; --=下期杀一星直选", LineSource::Typed, LineProblem::InvalidExpression,
         "L1A); DROP TABLE Lishi; --"},
        {"万位码=下期杀一星组选", LineSource::File, LineProblem::UnknownCategory, "万位码=下期杀一星组选"},
        {"   ", LineSource::File, LineProblem::Empty, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ParsedLine line = parseFormulaLine(QString::fromUtf8(c.line), c.source, Kind::Kill);
        const LineCheck check = checkLine(line, c.source);
        EXPECT_EQ(check.problem, c.problem) << check.reason.toStdString();
        EXPECT_EQ(check.ok(), check.reason.isEmpty());
        if (!check.ok()) {
            EXPECT_EQ(check.unrecognisedEntry(line).toStdString(), c.entry);
        }
    }
}

TEST(FormulaLine, AllowedCharactersOfFormulaFiles)
{
    EXPECT_EQ(firstDisallowedCharacter(u"AZ[`az{09()*+-/ "), -1);
    for (const char16_t* text : {u"L1A.5", u"L1A,2", u"L1A\\2", u"L1A]", u"L1A|", u"L1A}", u"L1A\t", u"L1A'", u"L1A;", u"L1A码"})
        EXPECT_EQ(firstDisallowedCharacter(text), 3) << QString::fromUtf16(text).toStdString();
}
