#include "export/spreadsheet_writer.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace qeltaro;

namespace {

// A workbook is a zip of XML parts; read one part with unzip.
QString part(const QString& workbook, const char* name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), workbook, QString::fromLatin1(name)});
    unzip.waitForFinished(30000);
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

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
    EXPECT_TRUE(part(path, "xl/workbook.xml").contains(QStringLiteral("name=\"Sheet1\"")));
    const QString sheet = part(path, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains(QStringLiteral("r=\"A1\""))) << sheet.toStdString();
    EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"B2\" s=\"1\"><v>7</v></c>"))) << sheet.toStdString();
    const QString strings = part(path, "xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains(QStringLiteral("期号")));
    EXPECT_TRUE(strings.contains(QStringLiteral("160121001")));
    const QString styles = part(path, "xl/styles.xml");
    EXPECT_TRUE(styles.contains(QStringLiteral("FF0000FF"))) << "blue stays blue";
    EXPECT_TRUE(styles.contains(QStringLiteral("FF00FF00")));

    // Writing again replaces the file; no partial file is left behind.
    ASSERT_TRUE(writeWorkbook(path, {{SheetCell::ofText(QStringLiteral("again"))}}));
    EXPECT_TRUE(part(path, "xl/sharedStrings.xml").contains(QStringLiteral("again")));
    EXPECT_FALSE(QFile::exists(temp.path(QStringLiteral(".lishi.xlsx.partial"))));
}

TEST(SpreadsheetWriter, AnUnwritableFolderIsReportedAndTheOldFileStays)
{
    qeltaro::test::TempStore temp;
    auto result = writeWorkbook(temp.path(QStringLiteral("no/such/folder/x.xlsx")), {{SheetCell::ofText(QStringLiteral("a"))}});
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().kind, ErrorKind::Storage);
    EXPECT_FALSE(result.error().message.isEmpty());
}
