#include "backtest/backtest_engine.h"
#include "calculation_fixtures.h"
#include "export/list_sheets.h"
#include "export/list_workbook.h"
#include "test_support.h"
#include "workbook_reader.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::WorkbookContents;

namespace {

QString shownText(const SheetCell& cell)
{
    return cell.number ? QString::number(*cell.number, 'g', 15) : cell.text;
}

QStringList texts(const SheetRow& row)
{
    QStringList out;
    for (const SheetCell& cell : row)
        out << shownText(cell);
    return out;
}

// Writes the rows and reads them back, so each test sees what a spreadsheet program would.
WorkbookContents roundTrip(const SheetRows& rows, ListWorkbook which)
{
    qeltaro::test::TempStore temp;
    auto written = writeListWorkbook(temp.dataDir(), which, rows);
    EXPECT_TRUE(written);
    auto book = WorkbookContents::read(written ? *written : QString());
    EXPECT_TRUE(book);
    return book.value_or(WorkbookContents());
}

}  // namespace

TEST(ListSheets, WorkbookNamesKeepTheirBaseNamesWithTheWorkbookEnding)
{
    const std::pair<ListWorkbook, const char*> names[] = {
        {ListWorkbook::History, "lishi.xlsx"},       {ListWorkbook::FormulaList, "gongshi.xlsx"},
        {ListWorkbook::ErrValues, "ErrarrLei.xlsx"}, {ListWorkbook::RankingQuery, "Print.xlsx"},
        {ListWorkbook::RankingList, "Jieguo.xlsx"},  {ListWorkbook::DetailList, "gongshi.xlsx"},
        {ListWorkbook::FormulaSteps, "LSJS.xlsx"}};
    for (const auto& [which, name] : names) {
        EXPECT_EQ(listWorkbookName(which), QLatin1String(name));
        EXPECT_EQ(listWorkbookPath(QStringLiteral("/data"), which), QStringLiteral("/data/") + QLatin1String(name));
    }
}

TEST(ListSheets, ShownCellsAreNumbersOnlyWhereTheTextIsAPlainWholeNumber)
{
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"7", 7},       {"-3", -3},        {"0", 0},          {"160121001", 160121001}, {"07", std::nullopt},
        {"3 ", std::nullopt}, {"", std::nullopt}, {"2.5", std::nullopt}, {"无值", std::nullopt}, {"1 2 ", std::nullopt}};
    for (const auto& [text, number] : cases) {
        const SheetCell cell = shownCell(QString::fromUtf8(text));
        EXPECT_EQ(cell.number, number) << text;
        if (!number) {
            EXPECT_EQ(cell.text, QString::fromUtf8(text));
        }
        EXPECT_EQ(cell.fill, std::nullopt);
    }
}

TEST(ListSheets, FormulaListHasTenColumnsWithoutTheIdx)
{
    const HistoryColumns history = qeltaro::test::columnsOf({"12345", "67890", "11111", "38146"});
    FormulaList list(Category{1, false}, Kind::Kill);
    list.append(7, QStringLiteral("L1A"), QStringLiteral("万位码"), Kind::Kill);
    list.append(9, QStringLiteral("L2A+)"), QStringLiteral("坏公式"), Kind::Kill);
    const FormulaStatsTable statistics = BacktestEngine(1).backtest(list, history, BacktestSettings{0, true, false});
    const auto rows = formulaSheetRows(list, statistics);
    ASSERT_EQ(rows.size(), 2u);

    struct Case {
        bool chinese, weighted;
        QString textHeader, rateHeader, firstText;
    };
    const Case cases[] = {{true, true, QStringLiteral("公式"), QStringLiteral("正确率（加权算法）"), QStringLiteral("万位码")},
                          {false, false, QStringLiteral("公式"), QStringLiteral("正确率"), QStringLiteral("L1A")}};
    for (const Case& c : cases) {
        const WorkbookContents book = roundTrip(formulaListSheet(rows, c.chinese, c.weighted), ListWorkbook::FormulaList);
        EXPECT_EQ(book.rowTexts(1), (QStringList{QStringLiteral("序号"), c.textHeader, QStringLiteral("种类"), QStringLiteral("生杀"),
                                                 QStringLiteral("计算值"), c.rateHeader, QStringLiteral("最大连错"),
                                                 QStringLiteral("最大连对"), QStringLiteral("最后连错"), QStringLiteral("最后连对")}));
        const FormulaStats& stats = statistics.at(0);
        EXPECT_EQ(book.rowTexts(2), (QStringList{"1", c.firstText, QStringLiteral("一星"), QStringLiteral("杀"), stats.next,
                                                 rateText(stats), QString::number(stats.maxMissRun),
                                                 QString::number(stats.maxHitRun), QString::number(stats.lastMissRun),
                                                 QString::number(stats.lastHitRun)}));
        // The sequence number is the list ordinal, not the idx; the formula that cannot be
        // evaluated shows its message and no runs.
        EXPECT_EQ(book.shown(3, 1), "2");
        EXPECT_EQ(book.shown(3, 6), statistics.at(1).error);
        EXPECT_FALSE(statistics.at(1).error.isEmpty());
        EXPECT_EQ(book.columnCount(3), 6);
        EXPECT_EQ(book.rowCount(), 3);
        EXPECT_EQ(book.columnCount(1), 10);
        EXPECT_EQ(book.columnCount(2), 10);
    }
    EXPECT_EQ(texts(formulaListSheet({}, true, true)[0]).size(), 10);
    EXPECT_EQ(formulaListSheet({}, true, true).size(), 1u);
}

TEST(ListSheets, ErrValuesAreOrderedByTheKillCountWithEqualCountsByDigit)
{
    auto countsOf = [](std::array<int, 10> total, bool kill) {
        ErrCounts counts{};
        for (size_t d = 0; d < 10; ++d)
            counts[d] = kill ? ErrCount{total[d], total[d], 0} : ErrCount{total[d], 0, total[d]};
        return counts;
    };
    struct Case {
        const char* what;
        ErrCounts counts;
        QStringList digits, totals;
    };
    const Case cases[] = {
        {"kill", countsOf({0, 0, 2, 0, 1, 0, 0, 3, 0, 0}, true),
         {"0", "1", "3", "5", "6", "8", "9", "4", "2", "7"}, {"0", "0", "0", "0", "0", "0", "0", "1", "2", "3"}},
        // Keep formulas leave every kill count at 0: the digits come in digit order.
        {"keep", countsOf({0, 0, 2, 0, 1, 0, 0, 3, 0, 0}, false),
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, {"0", "0", "2", "0", "1", "0", "0", "3", "0", "0"}},
        {"all equal", countsOf({4, 4, 4, 4, 4, 4, 4, 4, 4, 4}, true),
         {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}, {"4", "4", "4", "4", "4", "4", "4", "4", "4", "4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WorkbookContents book = roundTrip(errValuesSheet(c.counts), ListWorkbook::ErrValues);
        EXPECT_EQ(book.rowTexts(1), (QStringList{QStringLiteral("排序序号"), QStringLiteral("号码"),
                                                 QStringLiteral("杀留Err值（公式错误值）")}));
        EXPECT_EQ(book.rowCount(), 11);
        QStringList order, digits, totals;
        for (int r = 2; r <= 11; ++r) {
            order << book.shown(r, 1);
            digits << book.shown(r, 2);
            totals << book.shown(r, 3);
        }
        EXPECT_EQ(order, (QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
        EXPECT_EQ(digits, c.digits);
        EXPECT_EQ(totals, c.totals);
    }
}

TEST(ListSheets, RankingListIsTheGridCellForCell)
{
    auto period = [](const char* number, Digits draw, std::array<int, 10> digits, std::array<int, 10> counts) {
        PeriodRanking p{QString::fromLatin1(number), draw, {}};
        for (size_t r = 0; r < 10; ++r)
            p.ranking[r] = {digits[r], counts[r]};
        return p;
    };
    const std::vector<PeriodRanking> periods = {
        period("160121001", {1, 2, 3, 4, 5}, {3, 8, 1, 0, 6, 2, 4, 5, 9, 7}, {0, 0, 0, 1, 1, 2, 2, 2, 2, 5}),
        period("160121002", {9, 9, 9, 9, 6}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1})};
    for (bool group : {false, true}) {
        SCOPED_TRACE(group ? "group" : "direct");
        auto list = RankingList::build(periods, group ? 3 : 5, group);
        ASSERT_TRUE(list);
        const SheetRows sheet = rankingListSheet(*list);
        const WorkbookContents book = roundTrip(sheet, ListWorkbook::RankingQuery);
        ASSERT_EQ(book.rowCount(), int(list->rows().size()) + 1);
        for (int c = 0; c < list->columnCount(); ++c) {
            EXPECT_EQ(book.shown(1, c + 1), list->headerText(c)) << c;
            EXPECT_EQ(book.shown(2, c + 1), list->cellText(0, c)) << c;
        }
        EXPECT_EQ(book.cell(2, 1)->number, std::nullopt) << "the period stays text";
        EXPECT_TRUE(book.cell(2, 18)->number) << "counts are numbers";
        EXPECT_EQ(book.fill(2, 12), std::nullopt) << "only the history list carries fills";
    }
}

TEST(ListSheets, DetailListAndCalculationHistory)
{
    DetailListRow a{1, 3, QStringLiteral("万位码"), QStringLiteral("一星"), QStringLiteral("杀"), QStringLiteral("7"),
                    QStringLiteral("66.6667% (2/3)")};
    DetailListRow b{2, 5, QStringLiteral("千位码"), QStringLiteral("一星"), QStringLiteral("杀"), QString(),
                    QStringLiteral("00.0000% (0/0)")};
    WorkbookContents book = roundTrip(detailListSheet({a, b}), ListWorkbook::DetailList);
    EXPECT_EQ(book.rowTexts(1), detailListHeaders());
    EXPECT_EQ(book.rowTexts(2), (QStringList{"1", QStringLiteral("万位码"), QStringLiteral("一星"), QStringLiteral("杀"), "7",
                                             QStringLiteral("66.6667% (2/3)")}));
    EXPECT_EQ(book.shown(3, 5), QString());
    EXPECT_EQ(book.rowCount(), 3);

    const HistoryColumns history = qeltaro::test::columnsOf({"38146", "01234"});
    auto breakdown = breakDownFormula(history, QStringLiteral("(L5A MOD 3)+L2A+7"), QStringLiteral("个位码模3+千位码+7"));
    ASSERT_TRUE(breakdown);
    book = roundTrip(formulaStepsSheet(*breakdown), ListWorkbook::FormulaSteps);
    EXPECT_EQ(book.rowTexts(1), breakdown->headers);
    EXPECT_EQ(book.rowTexts(2), (QStringList{QStringLiteral("160121001"), QStringLiteral("38146"), QStringLiteral("0+8+7"), "15"}));
    EXPECT_EQ(book.shown(3, 2), QStringLiteral("01234")) << "a leading 0 is kept";
    EXPECT_TRUE(book.cell(2, 4)->number);
}
