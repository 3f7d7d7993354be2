#include "calculation_fixtures.h"
#include "store_snapshot.h"
#include "test_support.h"
#include "workbook_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::runCli;
using qeltaro::test::WorkbookContents;

namespace {

class ExportCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::storeDraws(temp.store(), test::drawsOf({"12345", "67890", "24680", "13579", "38146", "55555"}));
        // Kill counts of 1D: 7 twice, 2 and 4 once.
        test::storeFormulas(temp.store(), {1, false},
                            {{"L5A"}, {"L1A*0+7"}, {"L1A*0+2"}, {"L1A*0+7"}, {"L1A*0+4"}, {"L2A/0"}});
        test::storeFormulas(temp.store(), {3, true}, {{"L3A"}, {"L4A+1"}});
    }

    // Runs the export, expects success and the printed path; returns the workbook read back.
    WorkbookContents exported(const QStringList& arguments, const char* fileName)
    {
        const auto r = runCli(temp, QStringList{"export", "xlsx"} + arguments);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString path = QDir(temp.dataDir()).filePath(QLatin1String(fileName));
        EXPECT_EQ(r.out.trimmed(), path);
        auto book = WorkbookContents::read(path);
        EXPECT_TRUE(book) << fileName;
        return book.value_or(WorkbookContents());
    }

    test::TempStore temp;
};

}  // namespace

TEST_F(ExportCli, HistoryWithAndWithoutTheVerificationColumns)
{
    WorkbookContents book = exported({"history"}, "lishi.xlsx");
    EXPECT_EQ(book.sheetNames(), QStringList{"Sheet1"});
    EXPECT_EQ(book.rowTexts(1), (QStringList{"期号", "万位", "千位", "百位", "十位", "个位"}));
    EXPECT_EQ(book.rowTexts(7), (QStringList{"160121006", "5", "5", "5", "5", "5"}));
    EXPECT_EQ(book.rowCount(), 7);

    book = exported({"history", "--category", "1D", "--kind", "kill"}, "lishi.xlsx");
    EXPECT_EQ(book.columnCount(1), 12);
    EXPECT_EQ(book.shown(1, 7), "公式1");
    EXPECT_EQ(book.shown(2, 7), "公式L5A") << "the Chinese text above the first period";
    // L5A killed 5 (个位 of 12345) for 67890, whose 个位 is 0: right, blue.
    EXPECT_EQ(book.shown(3, 7), "5");
    EXPECT_EQ(book.fill(3, 7), 0x0000FFu);
    // A division by 0 names nothing: a blank green miss.
    EXPECT_EQ(book.shown(7, 12), "");
    EXPECT_EQ(book.fill(7, 12), 0x00FF00u);
}

TEST_F(ExportCli, FormulaListHasTenColumnsAndTheStoreStaysAsItWas)
{
    const QString before = test::storeSnapshot(temp.store());
    WorkbookContents book = exported({"formulas", "--category", "1D", "--kind", "kill"}, "gongshi.xlsx");
    EXPECT_EQ(book.columnCount(1), 10);
    EXPECT_EQ(book.rowCount(), 7);
    EXPECT_EQ(book.shown(1, 6), "正确率（加权算法）");
    EXPECT_EQ(book.rowTexts(3).mid(0, 5), (QStringList{"2", "公式L1A*0+7", "一星", "杀", "7"}));
    EXPECT_EQ(test::storeSnapshot(temp.store()), before) << "the back-test of an export is not stored";

    book = exported({"formulas", "--category", "3G", "--kind", "kill", "--code"}, "gongshi.xlsx");
    EXPECT_EQ(book.rowTexts(2).mid(0, 4), (QStringList{"1", "L3A", "三星", "杀"}));
    EXPECT_EQ(book.rowCount(), 3) << "the second export replaced the first";

    const auto r = runCli(temp, {"--json", "export", "xlsx", "formulas", "--category", "2D", "--kind", "keep"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(doc["path"].toString(), QDir(temp.dataDir()).filePath("gongshi.xlsx"));
    EXPECT_EQ(doc["rows"].toInt(), 1) << "an empty list has its header row only";
}

TEST_F(ExportCli, ErrValuesAndRankingList)
{
    const QString before = test::storeSnapshot(temp.store());
    WorkbookContents book = exported({"err", "--category", "1D", "--kind", "kill", "--method", "selected"}, "ErrarrLei.xlsx");
    EXPECT_EQ(book.rowTexts(1), (QStringList{"排序序号", "号码", "杀留Err值（公式错误值）"}));
    QStringList digits, totals;
    for (int r = 2; r <= 11; ++r) {
        digits << book.shown(r, 2);
        totals << book.shown(r, 3);
    }
    // L5A names 5 (the newest draw 55555); 7 twice, 2 and 4 once.
    EXPECT_EQ(digits, (QStringList{"0", "1", "3", "6", "8", "9", "2", "4", "5", "7"}));
    EXPECT_EQ(totals, (QStringList{"0", "0", "0", "0", "0", "0", "1", "1", "1", "2"}));

    book = exported({"ranking", "--category", "1D", "--kind", "kill"}, "Print.xlsx");
    EXPECT_EQ(book.shown(1, 1), "期号");
    EXPECT_EQ(book.shown(1, 8), "排列1");
    EXPECT_EQ(book.rowCount(), 6) << "one row per period after the first";
    EXPECT_EQ(book.shown(2, 1), "160121002");
    EXPECT_EQ(book.shown(2, 2), "0") << "个位 of 67890";
    EXPECT_EQ(test::storeSnapshot(temp.store()), before) << "neither the calculation nor the replay is stored";
}

TEST_F(ExportCli, BadInputAndUnwritableFilesAreRefusedWithAMessage)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"history", "--category", "1D"}, 1, "--kind"},
        {{"formulas", "--category", "6D", "--kind", "kill"}, 1, "未知类别"},
        {{"err", "--category", "3D", "--kind", "kill", "--slot", "4"}, 1, "--slot"},
        {{"err", "--category", "1D", "--kind", "kill", "--method", "fast"}, 1, "未知计算方法"},
        {{"ranking", "--category", "1D", "--kind", "kill", "--position", "6"}, 1, "码位6无效"},
        {{"ranking", "--category", "1D", "--kind", "kill", "--select", "9"}, 1, "没有序号为9"},
        {{"formulas", "--category", "1D"}, 2, "--kind"},
    };
    for (const Case& c : cases) {
        const auto r = runCli(temp, QStringList{"export", "xlsx"} + c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.arguments.join(' ').toStdString() << '\n' << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    EXPECT_EQ(QDir(temp.dataDir()).entryList({"*.xlsx"}, QDir::Files), QStringList());

    // A folder in the way of the workbook: a storage failure with the reason, nothing else written.
    ASSERT_TRUE(QDir(temp.dataDir()).mkpath("lishi.xlsx/inside"));
    const auto r = runCli(temp, {"export", "xlsx", "history"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("无法写入表格文件")) << r.err.toStdString();
    EXPECT_TRUE(QFileInfo(QDir(temp.dataDir()).filePath("lishi.xlsx")).isDir());
    EXPECT_EQ(QDir(temp.dataDir()).entryList({"*.partial"}, QDir::Files | QDir::Hidden), QStringList());
}
