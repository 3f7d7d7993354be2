#include "domain/parameter_catalogue.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <set>

using namespace qeltaro;

namespace {
std::string s(const QString& text) { return text.toStdString(); }
}

TEST(ParameterCatalogue, IndicesNamesAndCodesFollowTheLayout)
{
    struct Row { int index; const char* code; const char* name; };
    const Row rows[] = {
        {1, "L1A", "万位码"},       {5, "L5A", "个位码"},      {6, "L1B", "万位大小"},
        {13, "L3C", "百位单双"},    {19, "L4D", "十位5余"},    {25, "L5E", "个位3余"},
        {26, "L1F", "万位5段"},     {31, "L1G", "万位平方"},   {36, "L1H", "除5余1"},
        {39, "L4H", "除5余4"},      {40, "L5H", "除5余0"},     {41, "L1I", "万位互补数"},
        {46, "L1J", "万位2指数方"}, {51, "L1K", "万位立方"},   {56, "L1L", "万位邻号和"},
        {65, "L5M", "个位邻号差"},  {66, "L1P", "除3余1"},     {68, "L3P", "除3余0"},
        {69, "L1Q", "最大振幅"},    {70, "L2Q", "合数个"},     {73, "L5Q", "质数和"},
        {74, "LH", "和数"},         {75, "LI", "和个位"},      {90, "LX", "重上期号"},
        {91, "LY", "同上期数"},     {92, "QH", "本期号"},      {95, "SQHW", "上期号合"},
        {100, "NF", "年份"},        {101, "NFW", "年份合"},    {102, "L1LA", "万位冷码"},
        {106, "L5LA", "个位冷码"},  {107, "L1RA", "万位热码"},  {111, "L5RA", "个位热码"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(s(parameterCode(row.index)), row.code) << row.index;
        EXPECT_EQ(s(parameterName(row.index)), row.name) << row.index;
    }
    std::set<QString> codes, names;
    for (const Parameter& p : parameterCatalogue()) {
        codes.insert(p.code);
        names.insert(p.name);
    }
    EXPECT_EQ(codes.size(), 111u);
    EXPECT_EQ(names.size(), 111u);
}

TEST(ParameterCatalogue, EveryNameTranslatesToItsOwnCode)
{
    for (int index = 1; index <= kFormulaParameterCount; ++index)
        EXPECT_EQ(s(translateToCode(parameterName(index))), s(parameterCode(index))) << s(parameterName(index));
}

TEST(ParameterCatalogue, TranslatesFormulaTexts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"和个位+个位码", "LI+L5A"},
        {"本期号合*2", "QHW*2"},
        {"上期号+重上期号", "SQH+LX"},
        {"3+4", "3+4"},
        {"万位码+千位大小*3", "L1A+L2B*3"},
        {"(万位5余+除5余0) MOD 7", "(L1D+L5H) MOD 7"},
        {"个位邻号差-除3余0+年份合", "L5M-L3P+NFW"},
        {"个位冷码+万位热码*2+个位码", "L5LA+L1RA*2+L5A"},
        {"", ""},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(s(translateToCode(QString::fromUtf8(text))), code) << text;
}

TEST(ParameterCatalogue, ReplaceVariants)
{
    EXPECT_EQ(s(replaceAllOccurrences(QStringLiteral("a+a+a"), QStringLiteral("a"), QStringLiteral("bb"))), "bb+bb+bb");
    EXPECT_EQ(s(replaceFirstOccurrence(QStringLiteral("a+a+a"), QStringLiteral("a"), QStringLiteral("bb"))), "bb+a+a");
    // A splice that forms the search text again across its edge is replaced again.
    EXPECT_EQ(s(replaceAllOccurrences(QStringLiteral("aab"), QStringLiteral("ab"), QStringLiteral("b"))), "b");
    EXPECT_EQ(s(replaceAllOccurrences(QStringLiteral("abc"), QString(), QStringLiteral("x"))), "abc");
}

TEST(ParameterCatalogue, CodesAreFoundCaseInsensitively)
{
    EXPECT_EQ(parameterIndexOfCode(u"l1a"), 1);
    EXPECT_EQ(parameterIndexOfCode(u"NFW"), 101);
    EXPECT_EQ(parameterIndexOfCode(u"L6A"), std::nullopt);
    EXPECT_EQ(parameterIndexOfCode(u"strQQH"), std::nullopt);
    // The quick lookup against a case-blind comparison with every code: each code in lower
    // case, near misses, and words that match a code only by folding a letter beyond ASCII.
    QStringList words = {QStringLiteral("L\u017F"), QStringLiteral("L\u212A"), QStringLiteral("L1AA"), QString(),
                         QStringLiteral("QH "), QStringLiteral("\uFF2CH"), QStringLiteral("L1")};
    for (const Parameter& p : parameterCatalogue())
        words << p.code.toLower();
    for (const QString& word : words) {
        std::optional<int> expected;
        for (int i = 1; i <= kFormulaParameterCount && !expected; ++i) {
            if (parameterCode(i).compare(word, Qt::CaseInsensitive) == 0)
                expected = i;
        }
        EXPECT_EQ(parameterIndexOfCode(word), expected) << word.toStdString();
    }
}
