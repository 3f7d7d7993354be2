#include "search/candidate_generator.h"

#include "domain/parameter_catalogue.h"
#include "language/expression.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

using namespace qeltaro;

namespace {

const Category k3D{3, false};
const Category k2G{2, true};

CandidateShape shape(int operands, TailConstant constant = {}, FormulaForm form = FormulaForm::Prefix,
                     Category category = k3D, Kind kind = Kind::Kill)
{
    return {category, kind, operands, constant, form};
}

}  // namespace

TEST(CandidateGenerator, TwoOperandsAndConstantZeroEndInPlusZero)
{
    const CandidateGenerator generator(shape(2), 1);
    for (std::uint64_t k = 0; k < 50; ++k) {
        const Candidate c = generator.candidate(k);
        const QString code = generator.codeText(c);
        EXPECT_TRUE(code.endsWith(QStringLiteral("+0"))) << code.toStdString();
        const QStringList parts = code.split(u'+');
        ASSERT_EQ(parts.size(), 3);
        EXPECT_TRUE(parameterIndexOfCode(parts[0]));
        EXPECT_TRUE(parameterIndexOfCode(parts[1]));
        // The code text is a formula the engine evaluates, and the Chinese text names the same parameters.
        EXPECT_TRUE(compileFormula(code)) << code.toStdString();
        EXPECT_EQ(generator.chineseText(c),
                  QStringLiteral("[三星直选杀]") + parameterName(c.operands[0]) + u'+' + parameterName(c.operands[1]) +
                      QStringLiteral("+0"));
    }
}

TEST(CandidateGenerator, GivenConstantTexts)
{
    struct Case {
        const char* text;
        int value;
    };
    for (const Case& c : {Case{"3.5", 4}, Case{"2.5", 2}, Case{"-2", -2}, Case{" 7 ", 7}, Case{"-0.5", 0},
                          Case{"32767", 32767}, Case{"-32768", -32768}, Case{"abc", 0}, Case{"", 0}}) {
        auto constant = TailConstant::fromText(QString::fromUtf8(c.text));
        ASSERT_TRUE(constant) << c.text;
        EXPECT_FALSE(constant->random);
        EXPECT_EQ(constant->given, c.value) << c.text;
    }
    const CandidateGenerator generator(shape(3, *TailConstant::fromText(QStringLiteral("-2"))), 9);
    EXPECT_TRUE(generator.codeText(generator.candidate(0)).endsWith(QStringLiteral("+-2")));
    // Outside the 16-bit range: refused with a message rather than a code text ending in "+".
    for (const char* text : {"32768", "-32769", "1e9", "32767.5"}) {
        auto refused = TailConstant::fromText(QString::fromUtf8(text));
        ASSERT_FALSE(refused) << text;
        EXPECT_TRUE(refused.error().message.contains(QStringLiteral("超出范围")));
    }
}

TEST(CandidateGenerator, PrefixAndSuffixForms)
{
    const CandidateGenerator prefix(shape(3, {false, 7}, FormulaForm::Prefix), 5);
    const CandidateGenerator suffix(shape(3, {false, 7}, FormulaForm::Suffix), 5);
    const Candidate c = prefix.candidate(3);
    const QString body = parameterName(c.operands[0]) + u'+' + parameterName(c.operands[1]) + u'+' +
                         parameterName(c.operands[2]) + QStringLiteral("+7");
    EXPECT_EQ(prefix.chineseText(c), QStringLiteral("[三星直选杀]") + body);
    EXPECT_EQ(suffix.chineseText(suffix.candidate(3)), body + QStringLiteral("=下期杀三星直选"));
    EXPECT_EQ(prefix.codeText(c), suffix.codeText(suffix.candidate(3)));  // never a prefix or suffix
    EXPECT_EQ(candidatePrefix(k2G, Kind::Keep), QStringLiteral("[二星组选生]"));
    EXPECT_EQ(candidateSuffix(k2G, Kind::Keep), QStringLiteral("=下期生二星组选"));
}

TEST(CandidateGenerator, RandomConstantsAndOperandsCoverTheirRangesOnly)
{
    const CandidateGenerator generator(shape(24, TailConstant::randomDigit()), 2024);
    std::set<int> constants;
    std::set<int> operands;
    for (std::uint64_t k = 0; k < 5000; ++k) {
        const Candidate c = generator.candidate(k);
        ASSERT_EQ(c.operandCount, 24);
        constants.insert(c.constant);
        for (int i = 0; i < c.operandCount; ++i)
            operands.insert(c.operands[size_t(i)]);
    }
    EXPECT_EQ(constants, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(operands.size(), size_t(kParameterCount));
    EXPECT_EQ(*operands.begin(), 1);
    EXPECT_EQ(*operands.rbegin(), kParameterCount);
}

TEST(CandidateGenerator, ACandidateDependsOnTheSeedAndItsNumberOnly)
{
    const CandidateGenerator a(shape(8, TailConstant::randomDigit()), 77);
    const CandidateGenerator b(shape(8, TailConstant::randomDigit()), 77);
    const CandidateGenerator other(shape(8, TailConstant::randomDigit()), 78);
    int differing = 0;
    for (std::uint64_t k : {0ull, 1ull, 1000ull, 123456789ull}) {
        EXPECT_EQ(a.codeText(a.candidate(k)), b.codeText(b.candidate(k)));
        differing += a.codeText(a.candidate(k)) != other.codeText(other.candidate(k));
    }
    EXPECT_EQ(differing, 4);
    EXPECT_NE(a.codeText(a.candidate(0)), a.codeText(a.candidate(1)));
}

TEST(CandidateGenerator, OperandCountText)
{
    EXPECT_EQ(*parseOperandCount(QStringLiteral("2")), 2);
    EXPECT_EQ(*parseOperandCount(QStringLiteral("24")), 24);
    for (const char* bad : {"1", "25", "eight", "8.5", ""})
        EXPECT_FALSE(parseOperandCount(QString::fromUtf8(bad))) << bad;
}
