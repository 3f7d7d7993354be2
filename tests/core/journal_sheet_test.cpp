// The journal's workbook: one row per entry and slot in the window's words, the results in the
// grids' hit and miss colours, and the summary lines after the rows.

#include "export/journal_sheet.h"

#include "test_support.h"
#include "workbook_reader.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::WorkbookContents;

namespace {

JournalSlot judged(int slot, const Category& table, std::vector<int> kept, const char* drawn)
{
    std::optional<Digits> draw;
    if (drawn)
        draw = parseDigits(QString::fromLatin1(drawn));
    SlotOutcome outcome = judgeSlot(table, kept, draw);
    return {slot, table, std::move(kept), std::move(outcome)};
}

// Two entries: 二星直选杀码 judged against 00076 (1星 kept 6: 对, 2星 lost 7: 错), and a waiting
// 三星组选留码 that kept all ten digits (no evidence).
JournalReport twoEntries()
{
    JournalReport report;
    JournalEntry direct;
    direct.period = QStringLiteral("160121005");
    direct.category = {2, false};
    direct.kind = Kind::Kill;
    direct.method = CalculationMethod::Selected;
    direct.slotResults = {judged(1, {1, false}, {0, 1, 2, 3, 5, 6, 7, 8}, "00076"),
                          judged(2, {2, false}, {0, 1, 2, 3, 4, 5, 6, 8, 9}, "00076")};
    JournalEntry group;
    group.period = QStringLiteral("160121006");
    group.category = {3, true};
    group.kind = Kind::Keep;
    group.method = CalculationMethod::Best;
    group.slotResults = {judged(0, {3, true}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, nullptr)};
    report.entries = {direct, group};
    std::vector<SlotOutcome> all;
    for (const JournalEntry& entry : report.entries) {
        for (const JournalSlot& slot : entry.slotResults)
            all.push_back(slot.outcome);
    }
    report.summary = summarizeOutcomes(all);
    report.groups = {{{2, false}, Kind::Kill, 1, summarizeOutcomes({all[0], all[1]})},
                     {{3, true}, Kind::Keep, 1, summarizeOutcomes({all[2]})}};
    report.entries[0].money = judgedMoney(report.entries[0].category, report.entries[0].slotResults, report.prizes);
    report.money.add(*report.entries[0].money);
    return report;
}

}  // namespace

TEST(JournalSheet, RowsPerSlotInTheWindowsWordsThenTheSummaryLines)
{
    test::TempStore temp;
    auto written = writeJournalWorkbook(temp.dataDir(), twoEntries());
    ASSERT_TRUE(written) << written.error().message.toStdString();
    EXPECT_EQ(*written, journalWorkbookPath(temp.dataDir()));
    EXPECT_TRUE(written->endsWith(QStringLiteral("/yucejilu.xlsx")));
    auto book = WorkbookContents::read(*written);
    ASSERT_TRUE(book);

    EXPECT_EQ(book->rowTexts(1), (QStringList{"期号", "种类", "方法", "位置", "保留号码", "开奖号码", "结果", "随机概率(%)",
                                              "注数", "成本(元)", "奖金(元)", "盈亏(元)"}));
    EXPECT_EQ(book->rowTexts(2), (QStringList{"160121005", "二星直选杀码", "计算选中公式", "1星", "0 1 2 3 5 6 7 8", "6", "对", "80",
                                              "72", "144", "0", "-144"}));
    EXPECT_EQ(book->rowTexts(3), (QStringList{"160121005", "二星直选杀码", "计算选中公式", "2星", "0 1 2 3 4 5 6 8 9", "7", "错", "90"}));
    EXPECT_EQ(book->rowTexts(4), (QStringList{"160121006", "三星组选留码", "最优公式法", "三星组选", "0 1 2 3 4 5 6 7 8 9", "", "待开奖", "100"}));
    EXPECT_EQ(book->fill(2, 7), std::optional<std::uint32_t>(0x0000FF));
    EXPECT_EQ(book->fill(3, 7), std::optional<std::uint32_t>(0x00FF00));
    EXPECT_FALSE(book->fill(4, 7).has_value());

    // A blank row, a line per category and kind, the total and the verdict.
    EXPECT_TRUE(book->rowTexts(5).join(QString()).isEmpty());
    EXPECT_EQ(book->shown(6, 1), QStringLiteral("[二星直选杀码] 1条记录，可检验2个：成功1次，随机期望1.70次，p值0.98"));
    EXPECT_EQ(book->shown(7, 1), QStringLiteral("[三星组选留码] 1条记录，可检验0个：成功0次，随机期望0.00次，p值1；待开奖1个"));
    EXPECT_EQ(book->shown(8, 1), QStringLiteral("合计：可检验2个：成功1次，随机期望1.70次，p值0.98；待开奖1个"));
    EXPECT_EQ(book->shown(9, 1), predictionVerdict(twoEntries().summary));
    EXPECT_EQ(book->shown(10, 1), QStringLiteral("金额（按当前奖金表，每注2元）：已开奖1条预测，成本144元，奖金0元，盈亏-144元；随机期望盈亏-72.00元"));
    EXPECT_EQ(book->rowCount(), 10);
}
