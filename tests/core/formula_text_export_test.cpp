#include "export/formula_text_export.h"
#include "io/text_codec.h"
#include "store/formula_table.h"
#include "store/sqlite_database.h"
#include "test_support.h"

#include <QFileInfo>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

const QString kDash12(12, QChar(0x2014));

bool isSeparator(const QString& line)
{
    return line.startsWith(kDash12);
}

// The count a separator line carries.
int separatorCount(const QString& line)
{
    QString digits;
    for (qsizetype i = 12; i < line.size() && line[i].isDigit(); ++i)
        digits += line[i];
    return digits.toInt();
}

// Stores `count` formulas of the kind in the table, with text "<prefix>n" and hit run n % 9 written
// back for every other one.
void storeFormulas(Store& store, Category category, bool kill, int count, const QString& prefix)
{
    FormulaTable table(store, category);
    Transaction transaction(store.database());
    const int first = table.count().value() + 1;
    for (int i = 0; i < count; ++i) {
        const int idx = first + i;
        ASSERT_TRUE(table.append(kindOfKillFlag(kill), QStringLiteral("L1A+%1").arg(idx), prefix + QString::number(idx), idx));
        if (idx % 2 == 0) {
            ASSERT_TRUE(table.writeStatistics(idx, {50.0, 3, 4, 0, idx % 9}));
        }
    }
    ASSERT_TRUE(transaction.commit());
}

QStringList fileLines(const QString& path)
{
    const QByteArray bytes = qeltaro::test::readFile(path);
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n')) << "every line ends in CR LF";
    return splitLines(decodeText(bytes));
}

HitRunSource fixedRuns(std::vector<ExportedFormula> formulas)
{
    return [formulas](const FormulaListKey&) -> Result<std::vector<ExportedFormula>> { return formulas; };
}

}  // namespace

TEST(FormulaTextExport, AllCategoriesFile)
{
    TempStore temp;
    storeFormulas(temp.store(), {5, false}, true, 60, QStringLiteral("五直"));
    storeFormulas(temp.store(), {3, false}, false, 7, QStringLiteral("留"));  // other kind: not exported
    storeFormulas(temp.store(), {3, false}, true, 40, QStringLiteral("三直"));
    storeFormulas(temp.store(), {1, false}, true, 5, QStringLiteral("一直"));
    storeFormulas(temp.store(), {2, true}, true, 15, QStringLiteral("二组"));

    auto report = exportAllCategories(temp.store(), QStringLiteral("160121001"), Kind::Kill);
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->path, temp.dataDir() + QStringLiteral("/160121001期时时彩公式.txt"));
    EXPECT_EQ(report->formulas, 120);

    const QStringList lines = fileLines(report->path);
    ASSERT_EQ(lines.size(), 4 + 120 + 3);
    EXPECT_EQ(lines[0].toStdString(), "本组公式由《Qeltaro》软件搜索而来");
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("          《Qeltaro》")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("          《Qeltaro》")));
    EXPECT_TRUE(lines[3].isEmpty());

    std::vector<int> separators;  // positions in the formula part, with their counts
    QStringList texts;
    for (qsizetype i = 4; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (isSeparator(line)) {
            separators.push_back(separatorCount(line));
            EXPECT_TRUE(line.mid(12).contains(QStringLiteral("——————————————本公式由《Qeltaro》生成")));
            continue;
        }
        const qsizetype run = line.indexOf(QStringLiteral("连准："));
        ASSERT_GT(run, 11);
        EXPECT_EQ(line.mid(run - 11, 11), QString(11, QChar(0x3000))) << line.toStdString();
        EXPECT_NE(line[run - 12], QChar(0x3000));
        EXPECT_TRUE(line.endsWith(u'期'));
        texts << line.left(run - 11);
    }
    EXPECT_EQ(separators, (std::vector<int>{50, 100, 120}));
    EXPECT_TRUE(isSeparator(lines[4 + 50]));
    EXPECT_TRUE(isSeparator(lines[4 + 101]));
    // Direct play from five stars down, then group play; in idx order within a table.
    EXPECT_EQ(texts.first().toStdString(), "五直1");
    EXPECT_EQ(texts[60].toStdString(), "三直8");
    EXPECT_EQ(texts[100].toStdString(), "一直1");
    EXPECT_EQ(texts.last().toStdString(), "二组15");
    // The stored final run of hits, 0 where none was stored.
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("连准：0期")));
    EXPECT_TRUE(lines[5].endsWith(QStringLiteral("连准：2期")));
    EXPECT_EQ(lines.last().toStdString(),
              "————————————120——————————————本公式由《Qeltaro》生成");
}

TEST(FormulaTextExport, SeparatorsAfterEveryFiftyAndAtTheEnd)
{
    const struct {
        int formulas;
        std::vector<int> separators;  // counts, in order
    } cases[] = {{0, {0}}, {49, {49}}, {50, {50, 50}}, {51, {50, 51}}, {100, {50, 100, 100}}};
    for (const auto& c : cases) {
        QStringList formulaLines;
        for (int i = 1; i <= c.formulas; ++i)
            formulaLines << QStringLiteral("f%1").arg(i);
        const QStringList file = formulaTextFile(formulaLines);
        std::vector<int> separators;
        for (const QString& line : file) {
            if (isSeparator(line))
                separators.push_back(separatorCount(line));
        }
        EXPECT_EQ(separators, c.separators) << c.formulas;
        EXPECT_EQ(file.size(), 4 + c.formulas + qsizetype(c.separators.size()));
        EXPECT_TRUE(isSeparator(file.last()));
    }
}

TEST(FormulaTextExport, CategoryLinesArePaddedToTheFirstFormulaOfTheirBlock)
{
    const QString first = QStringLiteral("万位码+千位码=下期杀三星直选");
    std::vector<ExportedFormula> formulas = {
        {first, 3},
        {first.left(first.size() - 3), 0},           // three shorter: 14 spaces
        {first + QStringLiteral("1234567890"), 1},  // ten longer: one space
        {first + QStringLiteral("12345678901"), 2}, // eleven longer: none
        {first + QStringLiteral("123456789012"), 2},
    };
    auto spaces = [](const QString& line) {
        const qsizetype run = line.indexOf(QStringLiteral("连准："));
        qsizetype n = 0;
        while (n < run && line[run - 1 - n] == QChar(0x3000))
            ++n;
        return int(n);
    };
    QStringList lines = categoryLines(formulas);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], first + QString(11, QChar(0x3000)) + QStringLiteral("连准：3期"));
    EXPECT_EQ(spaces(lines[1]), 14);
    EXPECT_EQ(spaces(lines[2]), 1);
    EXPECT_EQ(spaces(lines[3]), 0);
    EXPECT_EQ(spaces(lines[4]), 0);

    // After the 50th line the width follows the 50th formula.
    formulas.assign(52, {QStringLiteral("短"), 0});
    formulas[49].text = QStringLiteral("长长长长长");
    lines = categoryLines(formulas);
    EXPECT_EQ(spaces(lines[48]), 11);
    EXPECT_EQ(spaces(lines[49]), 7);
    EXPECT_EQ(spaces(lines[50]), 15);
    EXPECT_TRUE(categoryLines({}).isEmpty());
}

TEST(FormulaTextExport, CategoryFileNamesAndHitRunSource)
{
    TempStore temp;
    const FormulaListKey threeStarKill{{3, false}, Kind::Kill};
    const FormulaListKey twoStarGroupKeep{{2, true}, Kind::Keep};
    EXPECT_EQ(categoryFileName(QStringLiteral("160121001"), threeStarKill).toStdString(), "160121001期时时彩三星直选杀公式.txt");
    EXPECT_EQ(categoryFileName(QStringLiteral("160121001"), twoStarGroupKeep).toStdString(), "160121001期时时彩二星组选生公式.txt");

    // A back-test plugs in its own runs.
    auto report = exportCategory(temp.store(), QStringLiteral("160121002"), twoStarGroupKeep,
                                 fixedRuns({{QStringLiteral("跨度=下期生二星组选"), 7}}));
    ASSERT_TRUE(report);
    EXPECT_EQ(QFileInfo(report->path).fileName().toStdString(), "160121002期时时彩二星组选生公式.txt");
    const QStringList lines = fileLines(report->path);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[4], QStringLiteral("跨度=下期生二星组选") + QString(11, QChar(0x3000)) + QStringLiteral("连准：7期"));
    EXPECT_EQ(separatorCount(lines[5]), 1);

    // Bare formula lists give a file with banner and final separator only.
    report = exportCategory(temp.store(), QStringLiteral("160121002"), threeStarKill);
    ASSERT_TRUE(report);
    EXPECT_EQ(fileLines(report->path).size(), 5);

    for (const char* period : {"", "../160121001", "a/b", "x:y"}) {
        auto refused = exportAllCategories(temp.store(), QString::fromUtf8(period), Kind::Kill);
        ASSERT_FALSE(refused) << period;
        EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);
    }
}

TEST(FormulaTextExport, AllCategoriesOrderSkipsOneStarGroupPlay)
{
    QStringList suffixes;
    for (const Category& c : allCategoriesExportOrder())
        suffixes << c.suffix();
    EXPECT_EQ(suffixes.join(u' ').toStdString(), "5D 4D 3D 2D 1D 5G 4G 3G 2G");
}
