#include "backtest/formula_filter.h"

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

struct Listed {
    float rate;
    int maxMiss, maxHit, lastMiss, lastHit;
    bool selected;
};

struct Fixture {
    FormulaList list{Category{1, false}, Kind::Kill};
    FormulaStatsTable table;
};

Fixture make(const std::vector<Listed>& formulas)
{
    Fixture f;
    for (size_t i = 0; i < formulas.size(); ++i)
        f.list.append(int(i) + 1, QStringLiteral("L1A"), QString(), Kind::Kill);
    f.table = FormulaStatsTable(f.list.idxs());
    for (size_t i = 0; i < formulas.size(); ++i) {
        const Listed& l = formulas[i];
        FormulaStats& s = f.table.at(int(i));
        s.rate = l.rate;
        s.maxMissRun = l.maxMiss;
        s.maxHitRun = l.maxHit;
        s.lastMissRun = l.lastMiss;
        s.lastHitRun = l.lastHit;
        f.list.selection().set(int(i) + 1, l.selected);
    }
    return f;
}

std::vector<int> selected(const Fixture& f)
{
    return f.list.selection().selectedAmong(f.list.idxs());
}

}  // namespace

TEST(FormulaFilter, PrefillTakesTheSelectedFormulasExtremes)
{
    Fixture none = make({{50, 1, 2, 3, 4, false}});
    EXPECT_EQ(prefillBounds(none.list, none.table), (FilterBounds{100, 0, 32767, 0, 32767, 0, 32767, 0, 32767, 0}));

    Fixture f = make({{66.666664f, 3, 5, 0, 2, true}, {71.42857f, 6, 2, 1, 0, true}, {99, 0, 0, 9, 9, false}});
    f.table.at(1).error = QStringLiteral("坏公式");  // no statistics: left out of the bounds
    f.list.append(4, QStringLiteral("L1A"), QString(), Kind::Kill);
    const FilterBounds b = prefillBounds(f.list, f.table);  // the table is shorter than the list now
    EXPECT_EQ(b, (FilterBounds{double(66.666664f), double(66.666664f), 3, 3, 5, 5, 0, 0, 2, 2}));
    EXPECT_EQ(boundText(0, b[0]), QStringLiteral("66.666664"));
    EXPECT_EQ(boundText(1, 100), QStringLiteral("100"));
    EXPECT_EQ(boundText(2, 32767), QStringLiteral("32767"));
}

TEST(FormulaFilter, KeepsOnlySelectedFormulasInsideTheBounds)
{
    const std::vector<Listed> formulas = {
        {66.666664f, 3, 5, 0, 2, true}, {71.42857f, 6, 2, 1, 0, true}, {80, 2, 4, 0, 1, false},
        {50, 9, 1, 4, 0, true},         {71.4286f, 2, 2, 0, 1, true},
    };
    struct Case {
        const char* what;
        FilterBounds bounds;
        std::vector<int> kept;
    };
    const Case cases[] = {
        {"the selection's own extremes keep it whole", {50, 71.42857, 2, 9, 1, 5, 0, 4, 0, 2}, {1, 2, 4, 5}},
        // Rates equal to the bounds as the list shows them (66.6667, 71.4285) pass by the margin.
        {"rate at the displayed precision", {66.6667, 71.4285, 0, 100, 0, 100, 0, 100, 0, 100}, {1, 2, 5}},
        // 66.66676415 - 0.0001 lies above 66.666664f, but the bound in single precision does not.
        {"bound in single precision", {66.66676415, 100, 0, 100, 0, 100, 0, 100, 0, 100}, {1, 2, 5}},
        {"margin missed", {66.66678, 100, 0, 100, 0, 100, 0, 100, 0, 100}, {2, 5}},
        {"every statistic is tested", {0, 100, 0, 100, 0, 100, 0, 100, 1, 1}, {5}},
        {"longest miss run", {0, 100, 2.9999, 6.00009, 0, 100, 0, 100, 0, 100}, {1, 2}},
        {"nothing fits", {0, 10, 0, 100, 0, 100, 0, 100, 0, 100}, {}},
    };
    for (const Case& c : cases) {
        Fixture f = make(formulas);
        const int remaining = applyFilter(c.bounds, f.list, f.table);
        EXPECT_EQ(selected(f), c.kept) << c.what;
        EXPECT_EQ(remaining, int(c.kept.size())) << c.what;
    }

    Fixture f = make(formulas);
    f.table.at(0).error = QStringLiteral("坏公式");
    EXPECT_EQ(applyFilter(prefillBounds(f.list, f.table), f.list, f.table), 3);
    EXPECT_EQ(filterResultText(3), QStringLiteral("过滤后公式剩余3条"));

    Fixture nothing = make({{50, 1, 1, 1, 1, false}});
    EXPECT_EQ(applyFilter(prefillBounds(nothing.list, nothing.table), nothing.list, nothing.table), 0);
}

TEST(FormulaFilter, BoundsTextsAreNumbers)
{
    auto ok = parseBounds(QStringLiteral("0, 100,0,5,1,9,0,3,0,2").split(u','));
    ASSERT_TRUE(ok);
    EXPECT_EQ(*ok, (FilterBounds{0, 100, 0, 5, 1, 9, 0, 3, 0, 2}));
    const std::pair<const char*, const char*> refused[] = {
        {"0,100,0,5,1,9,0,3,0", "10个数"},
        {"0,100,0,5,1,9,0,3,0,2,7", "10个数"},
        {"0,abc,0,5,1,9,0,3,0,2", "正确率上限“abc”不是数字"},
        {"0,100,0,5,1,9,0,3,,2", "最后连对下限“”不是数字"},
        {"0,100,0,inf,1,9,0,3,0,2", "最大连错上限"},
    };
    for (const auto& [text, message] : refused) {
        auto bounds = parseBounds(QString::fromUtf8(text).split(u','));
        ASSERT_FALSE(bounds) << text;
        EXPECT_TRUE(bounds.error().message.contains(QString::fromUtf8(message))) << bounds.error().message.toStdString();
    }
}
