#include "export/spreadsheet_writer.h"
#include "test_support.h"
#include "workbook_reader.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::WorkbookContents;

namespace {

class StopAfter : public Progress {
public:
    explicit StopAfter(int reports) : left_(reports) {}
    void report(int done, int, const QString&) override
    {
        lastDone = done;
        --left_;
    }
    bool cancelled() const override { return left_ <= 0; }
    int lastDone = -1;

private:
    int left_;
};

}  // namespace

TEST(SpreadsheetWriter, WritesCellsFromA1WithFillsAndReplacesOlderFiles)
{
    qeltaro::test::TempStore temp;
    const QString path = temp.path(QStringLiteral("lishi.xlsx"));
    SheetRows rows = {
        {SheetCell::ofText(QStringLiteral("期号")), SheetCell::ofText(QStringLiteral("万位"))},
        {SheetCell::ofText(QStringLiteral("160121001")), SheetCell::ofNumber(7, colourFromBgr(0xFF0000))},
        {SheetCell::ofText(QString()), SheetCell::ofText(QStringLiteral("3"), colourFromBgr(0x00FF00))},
    };
    ASSERT_TRUE(writeWorkbook(path, rows));
    auto book = WorkbookContents::read(path);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames(), QStringList{QStringLiteral("Sheet1")});
    EXPECT_EQ(book->shown(1, 1), QStringLiteral("期号"));
    EXPECT_EQ(book->shown(2, 1), QStringLiteral("160121001"));
    ASSERT_TRUE(book->cell(2, 2) && book->cell(2, 2)->number);
    EXPECT_EQ(*book->cell(2, 2)->number, 7);
    EXPECT_EQ(book->fill(2, 2), 0x0000FFu) << "blue stays blue";
    EXPECT_EQ(book->fill(3, 2), 0x00FF00u);
    EXPECT_EQ(book->fill(2, 1), std::nullopt);
    EXPECT_EQ(book->cell(3, 1), nullptr) << "an empty cell without a fill is not written";

    // Writing again replaces the file; no partial file is left behind.
    ASSERT_TRUE(writeWorkbook(path, {{SheetCell::ofText(QStringLiteral("again"))}}));
    book = WorkbookContents::read(path);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->shown(1, 1), QStringLiteral("again"));
    EXPECT_EQ(book->rowCount(), 1);
    EXPECT_EQ(QDir(temp.path(QString())).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("lishi.xlsx")});
}

TEST(SpreadsheetWriter, RowsAreAskedForOnceInOrderAndProgressIsTold)
{
    qeltaro::test::TempStore temp;
    const QString path = temp.path(QStringLiteral("rows.xlsx"));
    std::vector<int> asked;
    const SheetSource source{1000, [&asked](int r) {
                                 asked.push_back(r);
                                 return SheetRow{SheetCell::ofNumber(r)};
                             }};
    StopAfter progress(1'000'000);
    ASSERT_TRUE(writeWorkbook(path, source, &progress));
    ASSERT_EQ(asked.size(), 1000u);
    for (int r = 0; r < 1000; ++r)
        ASSERT_EQ(asked[size_t(r)], r);
    EXPECT_EQ(progress.lastDone, 1000);
    auto book = WorkbookContents::read(path);
    ASSERT_TRUE(book);
    EXPECT_EQ(book->rowCount(), 1000);
    EXPECT_EQ(book->shown(1000, 1), QStringLiteral("999"));
}

// Every failure leaves the older workbook as it was and no partial file beside it.
TEST(SpreadsheetWriter, FailuresAreReportedAndTheOlderFileStays)
{
    struct Case {
        const char* what;
        QString target;  // relative to the temporary folder
        SheetSource source;
        int stopAfterReports;
        ErrorKind kind;
        QString reasonPart;
    };
    const SheetRow wide(16385, SheetCell::ofNumber(1));
    const std::vector<Case> cases = {
        {"missing folder", QStringLiteral("no/such/folder/x.xlsx"), {1, [](int) { return SheetRow{SheetCell::ofNumber(1)}; }},
         1'000'000, ErrorKind::Storage, QStringLiteral("不存在")},
        {"a folder has the name", QStringLiteral("taken.xlsx"), {1, [](int) { return SheetRow{SheetCell::ofNumber(1)}; }},
         1'000'000, ErrorKind::Storage, QStringLiteral("无法替换原有文件")},
        {"too many columns", QStringLiteral("old.xlsx"), {1, [&wide](int) { return wide; }}, 1'000'000,
         ErrorKind::Storage, QStringLiteral("16384列")},
        {"stopped", QStringLiteral("old.xlsx"), {5000, [](int r) { return SheetRow{SheetCell::ofNumber(r)}; }}, 2,
         ErrorKind::Cancelled, QStringLiteral("已停止")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qeltaro::test::TempStore temp;
        ASSERT_TRUE(QDir().mkpath(temp.path(QStringLiteral("taken.xlsx/inside"))));
        const QString old = temp.path(QStringLiteral("old.xlsx"));
        ASSERT_TRUE(writeWorkbook(old, {{SheetCell::ofText(QStringLiteral("older"))}}));
        const QByteArray oldBytes = qeltaro::test::readFile(old);

        StopAfter progress(c.stopAfterReports);
        const Status result = writeWorkbook(temp.path(c.target), c.source, &progress);
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().kind, c.kind);
        EXPECT_TRUE(result.error().message.contains(c.reasonPart)) << result.error().message.toStdString();
        EXPECT_EQ(qeltaro::test::readFile(old), oldBytes);
        EXPECT_TRUE(QFileInfo(temp.path(QStringLiteral("taken.xlsx"))).isDir());
        EXPECT_EQ(QDir(temp.path(QString())).entryList({QStringLiteral(".*partial")}, QDir::Files | QDir::Hidden),
                  QStringList());
    }
}
