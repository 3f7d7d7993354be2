#include "calculation_fixtures.h"
#include "export/history_sheet.h"
#include "export/list_workbook.h"
#include "test_support.h"
#include "workbook_reader.h"

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::WorkbookContents;

namespace {

constexpr std::uint32_t kBlueFill = 0x0000FF;
constexpr std::uint32_t kGreenFill = 0x00FF00;

FormulaList listOf(const QStringList& codes, bool kill = true)
{
    FormulaList list(Category{1, false}, kindOfKillFlag(kill));
    int idx = 0;
    for (const QString& code : codes) {
        ++idx;
        list.append(idx, code, QStringLiteral("名称%1").arg(idx), kindOfKillFlag(kill));
    }
    return list;
}

std::optional<WorkbookContents> exported(const QString& dataDir, const HistoryColumns& history, const FormulaList* list,
                                         bool showOnCurrentRow)
{
    auto written = exportHistoryWorkbook(dataDir, history, list, showOnCurrentRow, BacktestEngine(1));
    EXPECT_TRUE(written) << (written ? "" : written.error().message.toStdString());
    if (!written)
        return std::nullopt;
    EXPECT_EQ(*written, listWorkbookPath(dataDir, ListWorkbook::History));
    return WorkbookContents::read(*written);
}

}  // namespace

TEST(HistorySheet, WithoutVerificationOnlyThePeriodAndTheDigits)
{
    qeltaro::test::TempStore temp;
    const HistoryColumns history = qeltaro::test::columnsOf({"12345", "67890", "01234"});
    auto book = exported(temp.dataDir(), history, nullptr, false);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames(), QStringList{QStringLiteral("Sheet1")});
    EXPECT_EQ(book->rowTexts(1), (QStringList{QStringLiteral("期号"), QStringLiteral("万位"), QStringLiteral("千位"),
                                              QStringLiteral("百位"), QStringLiteral("十位"), QStringLiteral("个位")}));
    EXPECT_EQ(book->rowCount(), 4);
    EXPECT_EQ(book->rowTexts(2), (QStringList{QStringLiteral("160121001"), "1", "2", "3", "4", "5"}));
    EXPECT_EQ(book->rowTexts(4), (QStringList{QStringLiteral("160121003"), "0", "1", "2", "3", "4"}));
    for (int r = 1; r <= 4; ++r)
        EXPECT_EQ(book->columnCount(r), 6) << r;
    ASSERT_TRUE(book->cell(2, 2) && book->cell(2, 2)->number) << "digits are numbers";
    EXPECT_EQ(book->cell(2, 1)->number, std::nullopt) << "periods stay text";
}

// The cells of a made-up verification: digits 5, 0, 1 computed on three rows; the second row's
// prediction hit, the third's missed.
TEST(HistorySheet, VerificationCellsKeepTheGridsColoursAndTheNamesGoAboveTheFirstPeriod)
{
    const HistoryColumns history = qeltaro::test::columnsOf({"12345", "67890", "11111"});
    const FormulaVerification column({5, 0, 1}, {0, 1, 0});
    const FormulaVerification unevaluated;  // a formula that could not be compiled
    struct Case {
        bool showOnCurrentRow;
        QStringList header;
        QStringList second;  // sheet row 2
        QStringList last;    // sheet row 4
        std::optional<std::uint32_t> secondFill, thirdFill, lastFill;
    };
    const Case cases[] = {
        // 在下期: the first period is blank in the grid, so the name takes its place.
        {false, {QStringLiteral("公式1"), QStringLiteral("公式2")}, {QStringLiteral("万位码"), QStringLiteral("坏公式")},
         {"0", ""}, std::nullopt, kBlueFill, kGreenFill},
        // 在当期: the first period holds a digit; the name joins the header instead.
        {true, {QStringLiteral("公式1：万位码"), QStringLiteral("公式2")}, {"5", QStringLiteral("坏公式")}, {"1", ""},
         kBlueFill, kGreenFill, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.showOnCurrentRow ? "在当期" : "在下期");
        const HistorySheet sheet(history, {column, unevaluated}, {QStringLiteral("万位码"), QStringLiteral("坏公式")},
                                 c.showOnCurrentRow);
        ASSERT_EQ(sheet.rowCount(), 4);
        ASSERT_EQ(sheet.columnCount(), 8);
        auto texts = [&sheet](int sheetRow) {
            QStringList out;
            const SheetRow row = sheet.row(sheetRow - 1);
            for (size_t i = 6; i < row.size(); ++i)
                out << (row[i].number ? QString::number(*row[i].number) : row[i].text);
            return out;
        };
        EXPECT_EQ(texts(1), c.header);
        EXPECT_EQ(texts(2), c.second);
        EXPECT_EQ(texts(4), c.last);
        EXPECT_EQ(sheet.row(1)[6].fill, c.secondFill);
        EXPECT_EQ(sheet.row(2)[6].fill, c.thirdFill);
        EXPECT_EQ(sheet.row(3)[6].fill, c.lastFill);
        // The grid's own cell: the sheet shows every formula cell as the grid does, except the name.
        const VerificationCell lastCell = column.cell(2, c.showOnCurrentRow);
        EXPECT_EQ(QString::number(*sheet.row(3)[6].number), lastCell.text);
        EXPECT_EQ(sheet.row(2)[1].number, 6.0);
    }
}

TEST(HistorySheet, BackTestedVerificationColumnsMatchTheEngineCellForCell)
{
    qeltaro::test::TempStore temp;
    const HistoryColumns history = qeltaro::test::columnsOf({"12345", "67890", "11111", "38146", "90909", "55555"});
    const FormulaList list = listOf({QStringLiteral("L1A"), QStringLiteral("L5A+3"), QStringLiteral("L2A/0")});
    auto book = exported(temp.dataDir(), history, &list, false);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->rowTexts(1).mid(6), (QStringList{QStringLiteral("公式1"), QStringLiteral("公式2"), QStringLiteral("公式3")}));
    EXPECT_EQ(book->rowTexts(2).mid(6), (QStringList{QStringLiteral("名称1"), QStringLiteral("名称2"), QStringLiteral("名称3")}));

    const auto verification = BacktestEngine(1).verify(list, 0, list.size(), history);
    int blue = 0, green = 0;
    for (int k = 0; k < list.size(); ++k) {
        for (int row = 1; row < history.rowCount(); ++row) {
            const VerificationCell expected = verification[size_t(k)].cell(row, false);
            const int sheetRow = row + 2, sheetColumn = 7 + k;
            EXPECT_EQ(book->shown(sheetRow, sheetColumn), expected.text) << k << ' ' << row;
            const auto fill = book->fill(sheetRow, sheetColumn);
            switch (expected.mark) {
            case VerificationMark::Hit: EXPECT_EQ(fill, kBlueFill); ++blue; break;
            case VerificationMark::Miss: EXPECT_EQ(fill, kGreenFill); ++green; break;
            case VerificationMark::None: EXPECT_EQ(fill, std::nullopt); break;
            }
        }
    }
    EXPECT_GT(blue, 0);
    EXPECT_GT(green, 0);
    // A formula with no value on any row (division by 0) shows blank green misses.
    EXPECT_EQ(book->shown(3, 9), QString());
    EXPECT_EQ(book->fill(3, 9), kGreenFill);
}

TEST(HistorySheet, FormulaHeadersAndAnEmptyHistory)
{
    qeltaro::test::TempStore temp;
    QStringList codes;
    for (int k = 1; k <= 120; ++k)
        codes << QStringLiteral("L1A+%1").arg(k);
    const FormulaList list = listOf(codes);
    auto book = exported(temp.dataDir(), HistoryColumns(), &list, false);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->shown(1, 7), QStringLiteral("公式1"));
    EXPECT_EQ(book->shown(1, 6 + 99), QStringLiteral("公式99"));
    EXPECT_EQ(book->shown(1, 6 + 100), QStringLiteral("式100"));
    EXPECT_EQ(book->shown(1, 6 + 120), QStringLiteral("式120"));
    EXPECT_EQ(book->columnCount(1), 126);
    // No draw yet: the names still have their row.
    EXPECT_EQ(book->rowCount(), 2);
    EXPECT_EQ(book->shown(2, 7), QStringLiteral("名称1"));
    EXPECT_EQ(book->shown(2, 1), QString());

    // An empty list with the verification display on adds no column.
    const FormulaList none = listOf({});
    book = exported(temp.dataDir(), qeltaro::test::columnsOf({"12345"}), &none, false);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->columnCount(1), 6);
    EXPECT_EQ(book->rowCount(), 2);
}
