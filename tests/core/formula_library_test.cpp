#include "domain/formula_selection.h"
#include "library/formula_library.h"
#include "store/formula_table.h"
#include "store_snapshot.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

const FormulaListKey k3DKill{{3, false}, Kind::Kill};

// Stores formulas "L1A+1".."L1A+n" (text "f1".."fn") numbered 1..n; `keepAt` lists the idx
// stored as keep formulas instead of kill ones.
void storeFormulas(Store& store, const FormulaListKey& list, int n, std::vector<int> keepAt = {})
{
    FormulaTable table(store, list.category);
    for (int i = 1; i <= n; ++i) {
        const bool keep = std::find(keepAt.begin(), keepAt.end(), i) != keepAt.end();
        ASSERT_TRUE(table.append(keep == isKill(list.kind) ? Kind::Keep : Kind::Kill, QStringLiteral("L1A+%1").arg(i),
                                 QStringLiteral("f%1").arg(i), i));
    }
}

// "text:flag" of the listed formulas in list order, and the idx sequence.
std::vector<std::string> listedFlags(Store& store, const FormulaListKey& list, const FormulaSelection& selection)
{
    std::vector<std::string> out;
    const auto formulas = FormulaTable(store, list.category).list(list.kind).value();
    for (const StoredFormula& f : formulas)
        out.push_back(QStringLiteral("%1:%2:%3").arg(f.idx).arg(f.text).arg(selection.isSelected(f.idx) ? "on" : "off").toStdString());
    return out;
}

FormulaSelection flags(const std::vector<std::pair<int, bool>>& values)
{
    FormulaSelection selection;
    for (const auto& [idx, on] : values)
        selection.set(idx, on);
    return selection;
}

}  // namespace

TEST(FormulaLibrary, DeletingOneFormulaMovesOrKeepsTheFlags)
{
    const struct {
        FlagsAfterDelete mode;
        std::vector<std::string> expected;
    } cases[] = {
        // 删除该公式: every formula keeps its own flag.
        {FlagsAfterDelete::FollowFormulas, {"1:f1:on", "2:f2:off", "3:f4:off", "4:f5:on"}},
        // 删除最后公式: every number keeps the flag it had.
        {FlagsAfterDelete::StayWithNumbers, {"1:f1:on", "2:f2:off", "3:f4:on", "4:f5:off"}},
    };
    for (const auto& c : cases) {
        TempStore temp;
        storeFormulas(temp.store(), k3DKill, 5);
        FormulaSelection selection = flags({{1, true}, {2, false}, {3, true}, {4, false}, {5, true}});
        auto report = deleteFormula(temp.store(), k3DKill, 3, c.mode, selection);
        ASSERT_TRUE(report) << report.error().message.toStdString();
        EXPECT_EQ(report->deleted, 1);
        EXPECT_EQ(report->remaining, 4);
        EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), c.expected);
    }
}

TEST(FormulaLibrary, DeletingInATableOfBothKindsFollowsEachFormula)
{
    TempStore temp;
    // Kill formulas at idx 1, 3, 5; keep formulas at 2 and 4.
    storeFormulas(temp.store(), k3DKill, 5, {2, 4});
    FormulaSelection selection = flags({{1, false}, {3, true}, {5, true}});
    ASSERT_TRUE(deleteFormula(temp.store(), k3DKill, 1, FlagsAfterDelete::FollowFormulas, selection));
    EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), (std::vector<std::string>{"2:f3:on", "4:f5:on"}));

    selection = flags({{2, false}, {4, true}});
    ASSERT_TRUE(deleteFormula(temp.store(), k3DKill, 2, FlagsAfterDelete::StayWithNumbers, selection));
    // The first listed formula takes the first flag.
    EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), (std::vector<std::string>{"3:f5:off"}));
    EXPECT_EQ(FormulaTable(temp.store(), k3DKill.category).count().value(), 3);

    // Only formulas of the list can be deleted: idx 1 is a keep formula now.
    const QString before = qeltaro::test::storeSnapshot(temp.store());
    auto refused = deleteFormula(temp.store(), k3DKill, 1, FlagsAfterDelete::FollowFormulas, selection);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);
    EXPECT_EQ(qeltaro::test::storeSnapshot(temp.store()).toStdString(), before.toStdString());
}

TEST(FormulaLibrary, DeletingBySelection)
{
    const struct {
        bool selected;  // delete the selected ones (else the unselected ones)
        std::vector<std::pair<int, bool>> before;
        std::vector<std::string> expected;
    } cases[] = {
        {true, {{1, true}, {2, false}, {3, true}, {4, false}}, {"1:f2:on", "2:f4:on"}},
        {false, {{1, true}, {2, false}, {3, true}, {4, false}}, {"1:f1:on", "2:f3:on"}},
        // Nothing selected: nothing deleted, still renumbered, and afterwards all selected.
        {true, {}, {"1:f1:on", "2:f2:on", "3:f3:on", "4:f4:on"}},
        {false, {{1, true}, {2, true}, {3, true}, {4, true}}, {"1:f1:on", "2:f2:on", "3:f3:on", "4:f4:on"}},
        {false, {}, {}},
    };
    for (const auto& c : cases) {
        TempStore temp;
        storeFormulas(temp.store(), k3DKill, 4);
        FormulaSelection selection = flags(c.before);
        auto report = c.selected ? deleteSelectedFormulas(temp.store(), k3DKill, selection)
                                 : deleteUnselectedFormulas(temp.store(), k3DKill, selection);
        ASSERT_TRUE(report);
        EXPECT_EQ(report->remaining, int(c.expected.size()));
        EXPECT_EQ(report->deleted, 4 - int(c.expected.size()));
        EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), c.expected);
    }
}

TEST(FormulaLibrary, DeletesRenumberRowsLeftUnnumbered)
{
    TempStore temp;
    storeFormulas(temp.store(), k3DKill, 3);
    FormulaTable table(temp.store(), k3DKill.category);
    ASSERT_TRUE(table.appendUnnumbered(Kind::Kill, QStringLiteral("L2A"), QStringLiteral("new")));
    FormulaSelection selection = flags({{1, true}, {2, true}, {3, true}});
    ASSERT_TRUE(deleteFormula(temp.store(), k3DKill, 2, FlagsAfterDelete::FollowFormulas, selection));
    // The unnumbered row stays last.
    EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), (std::vector<std::string>{"1:f1:on", "2:f3:on", "3:new:off"}));
}

TEST(FormulaLibrary, ClearAllEmptiesEveryTableAfterABackup)
{
    TempStore temp;
    for (const Category& c : Category::all())
        storeFormulas(temp.store(), {c, Kind::Kill}, 2);
    const QString before = qeltaro::test::storeSnapshot(temp.store());
    auto backup = clearAllFormulas(temp.store());
    ASSERT_TRUE(backup) << backup.error().message.toStdString();
    for (const Category& c : Category::all())
        EXPECT_EQ(FormulaTable(temp.store(), c).count().value(), 0) << c.suffix().toStdString();

    // The backup holds the library as it was.
    ASSERT_TRUE(QFile::exists(*backup));
    EXPECT_TRUE(backup->startsWith(temp.dataDir() + QStringLiteral("/backups/")));
    ASSERT_TRUE(QDir().mkpath(temp.path("restored")));
    ASSERT_TRUE(QFile::copy(*backup, temp.path("restored/formula.db")));
    auto restored = Store::open(temp.path("restored"));
    ASSERT_TRUE(restored);
    EXPECT_EQ(qeltaro::test::storeSnapshot(**restored).toStdString(), before.toStdString());
}

TEST(FormulaLibrary, SelectAllAndInvertTouchOnlyTheList)
{
    TempStore temp;
    storeFormulas(temp.store(), k3DKill, 4, {4});
    FormulaSelection selection = flags({{2, true}, {4, true}});
    ASSERT_TRUE(invertFormulaSelection(temp.store(), k3DKill, selection));
    EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), (std::vector<std::string>{"1:f1:on", "2:f2:off", "3:f3:on"}));
    EXPECT_TRUE(selection.isSelected(4));  // the keep formula is not in the list
    ASSERT_TRUE(selectAllFormulas(temp.store(), k3DKill, selection));
    EXPECT_EQ(listedFlags(temp.store(), k3DKill, selection), (std::vector<std::string>{"1:f1:on", "2:f2:on", "3:f3:on"}));
}
