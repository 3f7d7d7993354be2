#include "search/found_formula_save.h"

#include "export/found_formula_export.h"
#include "store/formula_table.h"
#include "test_support.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

const Category k3D{3, false};
const Category k2D{2, false};
const Category k2G{2, true};

FoundFormula found(Category category, const QString& code, const QString& text)
{
    FoundFormula f;
    f.category = category;
    f.code = code;
    f.text = text;
    return f;
}

std::vector<QString> codesOf(Store& store, Category category)
{
    std::vector<QString> codes;
    const auto rows = FormulaTable(store, category).all();
    for (const StoredFormula& f : *rows)
        codes.push_back(f.code);
    return codes;
}

void storeFormula(Store& store, Category category, bool kill, const QString& code, const QString& text, int idx)
{
    ASSERT_TRUE(FormulaTable(store, category).append(kindOfKillFlag(kill), code, text, idx));
}

int backupCount(const test::TempStore& temp)
{
    return int(QDir(temp.dataDir() + QStringLiteral("/backups")).entryList(QDir::Files).size());
}

}  // namespace

TEST(FoundFormulaSave, AppendKeepsOneCopyOfADuplicateAndNumbersTheTable)
{
    test::TempStore temp;
    storeFormula(temp.store(), k3D, true, QStringLiteral("L1A+L2A+0"), QStringLiteral("[三星直选杀]万位码+千位码+0"), 7);
    const std::vector<FoundFormula> list = {
        found(k3D, QStringLiteral("L1A+L2A+0"), QStringLiteral("[三星直选杀]万位码+千位码+0")),  // stored already
        found(k3D, QStringLiteral("L3A+L4A+1"), QStringLiteral("[三星直选杀]百位码+十位码+1")),
        found(k3D, QStringLiteral("L3A+L4A+1"), QStringLiteral("[三星直选杀]百位码+十位码+1")),  // found twice
    };
    auto report = saveFoundFormulas(temp.store(), list, SaveMode::Append, Kind::Kill);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->tables.size(), 1u);
    const TableSaveReport& t = report->tables[0];
    EXPECT_EQ(t.heldBefore, 1);
    EXPECT_EQ(t.written, 3);
    EXPECT_EQ(t.added, 1);
    EXPECT_EQ(t.heldAfter, 2);
    EXPECT_TRUE(report->backupPath.isEmpty());
    const auto rows = *FormulaTable(temp.store(), k3D).all();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].idx, 1);
    EXPECT_EQ(rows[1].idx, 2);
    EXPECT_EQ(rows[1].code, QStringLiteral("L3A+L4A+1"));
    EXPECT_FALSE(rows[1].statistics);  // filled by the next back-test
    EXPECT_EQ(report->lastCategory, k3D);
    EXPECT_EQ(saveFinishedMessage(), QStringLiteral("公式追加完毕！"));
}

TEST(FoundFormulaSave, ReplaceEmptiesOnlyTheTablesItWritesAndKeepsABackup)
{
    test::TempStore temp;
    storeFormula(temp.store(), k3D, true, QStringLiteral("L1A"), QStringLiteral("万位码"), 1);
    storeFormula(temp.store(), k3D, false, QStringLiteral("L2A"), QStringLiteral("千位码"), 2);
    storeFormula(temp.store(), k2D, true, QStringLiteral("L5A"), QStringLiteral("个位码"), 1);
    // 3D, then 2G, then 3D again (found in several manual runs): every 3D formula stays.
    const std::vector<FoundFormula> list = {
        found(k3D, QStringLiteral("L3A+1"), QStringLiteral("百位码+1")),
        found(k2G, QStringLiteral("L4A+2"), QStringLiteral("十位码+2")),
        found(k3D, QStringLiteral("L3A+3"), QStringLiteral("百位码+3")),
    };
    const int backupsBefore = backupCount(temp);
    auto report = saveFoundFormulas(temp.store(), list, SaveMode::Replace, Kind::Keep);
    ASSERT_TRUE(report);
    EXPECT_EQ(backupCount(temp), backupsBefore + 1);
    EXPECT_FALSE(report->backupPath.isEmpty());
    EXPECT_EQ(codesOf(temp.store(), k3D), (std::vector<QString>{QStringLiteral("L3A+1"), QStringLiteral("L3A+3")}));
    EXPECT_EQ(codesOf(temp.store(), k2G), (std::vector<QString>{QStringLiteral("L4A+2")}));
    EXPECT_EQ(codesOf(temp.store(), k2D), (std::vector<QString>{QStringLiteral("L5A")}));  // untouched
    // Stored with the kill flag in force when saving.
    const auto rows = FormulaTable(temp.store(), k3D).all();
    for (const StoredFormula& f : *rows)
        EXPECT_EQ(f.kind, Kind::Keep);
    EXPECT_EQ(report->tables[0].heldBefore, 2);
    EXPECT_EQ(report->tables[0].added, 2);
    EXPECT_EQ(report->lastCategory, k3D);
}

TEST(FoundFormulaSave, NothingFoundWritesNothing)
{
    test::TempStore temp;
    storeFormula(temp.store(), k3D, true, QStringLiteral("L1A"), QStringLiteral("万位码"), 5);
    for (SaveMode mode : {SaveMode::Append, SaveMode::Replace}) {
        auto report = saveFoundFormulas(temp.store(), {}, mode, Kind::Kill);
        ASSERT_TRUE(report);
        EXPECT_TRUE(report->tables.empty());
        EXPECT_EQ(FormulaTable(temp.store(), k3D).all()->front().idx, 5);
    }
    EXPECT_EQ(backupCount(temp), 0);
}

TEST(FoundFormulaSave, SelectionFlagsOfEachPath)
{
    // A table that held 3 formulas and received 2 new ones.
    const TableSaveReport append{k3D, 3, 2, 2, 5};
    const TableSaveReport replace{k3D, 3, 2, 2, 2};
    auto flags = [](const FormulaSelection& s) {
        std::vector<int> on;
        for (int idx = 1; idx <= 6; ++idx) {
            if (s.isSelected(idx))
                on.push_back(idx);
        }
        return on;
    };
    FormulaSelection s;
    s.set(5, true);
    applySaveSelection(append, SaveMode::Append, SavePath::Manual, s);
    EXPECT_EQ(flags(s), (std::vector<int>{1, 2, 3, 5}));
    FormulaSelection scheme;
    applySaveSelection(append, SaveMode::Append, SavePath::Scheme, scheme);
    EXPECT_EQ(flags(scheme), (std::vector<int>{4, 5}));
    FormulaSelection manualReplace;
    manualReplace.set(3, true);
    applySaveSelection(replace, SaveMode::Replace, SavePath::Manual, manualReplace);
    EXPECT_EQ(flags(manualReplace), (std::vector<int>{1, 2, 3}));
    FormulaSelection schemeReplace;
    schemeReplace.set(3, true);
    schemeReplace.set(6, true);
    applySaveSelection(replace, SaveMode::Replace, SavePath::Scheme, schemeReplace);
    EXPECT_EQ(flags(schemeReplace), (std::vector<int>{1, 2, 6}));
}

TEST(FoundFormulaSave, OnlyTheListedTableChangesTheListedFlags)
{
    test::TempStore temp;
    storeFormula(temp.store(), k3D, true, QStringLiteral("L1A"), QStringLiteral("万位码"), 1);
    const Category k2G{2, true};
    std::vector<FoundFormula> found;
    for (int i = 1; i <= 3; ++i)
        found.push_back({QStringLiteral("L2A+%1").arg(i), QStringLiteral("千位码+%1").arg(i), k2G, {}, 0});
    found.push_back({QStringLiteral("L3A+1"), QStringLiteral("百位码+1"), k3D, {}, 0});
    auto report = saveFoundFormulas(temp.store(), found, SaveMode::Append, Kind::Kill);
    ASSERT_TRUE(report);
    ASSERT_EQ(report->tables.size(), 2u);

    // The main window lists 三星直选: a scheme append selects its one new formula (idx 2) only,
    // however many formulas went to 二星组选.
    FormulaSelection listed;
    applySaveSelection(*report, k3D, SaveMode::Append, SavePath::Scheme, listed);
    EXPECT_FALSE(listed.isSelected(1));
    EXPECT_TRUE(listed.isSelected(2));
    EXPECT_FALSE(listed.isSelected(3));

    FormulaSelection other;
    other.set(1, true);
    applySaveSelection(*report, Category{5, false}, SaveMode::Append, SavePath::Scheme, other);
    EXPECT_TRUE(other.isSelected(1));
    EXPECT_FALSE(other.isSelected(2));
}

TEST(FoundFormulaExport, SeparatorsAfterEveryFiftyAndAtTheEnd)
{
    test::TempStore temp;
    QStringList texts;
    for (int i = 1; i <= 120; ++i)
        texts << QStringLiteral("[三星直选杀]万位码+%1").arg(i);
    auto report = exportFoundFormulas(temp.store(), QStringLiteral("160121002"), texts);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->path, temp.dataDir() + QStringLiteral("/160121002期时时彩公式.txt"));
    const QStringList lines = QString::fromUtf8(test::readFile(report->path)).split(QStringLiteral("\r\n"));
    const QStringList banner = formulaTextBanner();
    EXPECT_EQ(lines.mid(0, banner.size()), banner);
    QStringList separators;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QString(12, QChar(0x2014))))
            separators << QString::number(i - int(banner.size()));
    }
    // After formula 50 (line 50), after formula 100 (line 101) and after the last (line 122).
    EXPECT_EQ(separators, (QStringList{QStringLiteral("50"), QStringLiteral("101"), QStringLiteral("122")}));
    EXPECT_EQ(lines[banner.size()], texts[0]);  // a formula line is its Chinese text
    EXPECT_TRUE(lines[banner.size() + 122].contains(QStringLiteral("120")));
    EXPECT_FALSE(exportFoundFormulas(temp.store(), QStringLiteral("../x"), texts));
}
