#include "history/draw_history.h"
#include "history/history_maintenance.h"
#include "history/history_text_export.h"
#include "store/history_table.h"
#include "test_support.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

TEST(HistoryTextExport, OneCrLfLinePerDrawInAFileNamedAfterTheNewestPeriod)
{
    TempStore temp;
    auto refused = exportHistoryText(temp.store());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);

    DrawHistory history(temp.store());
    ASSERT_TRUE(history.add(QStringLiteral("160121002"), QStringLiteral("09870")));
    ASSERT_TRUE(history.add(QStringLiteral("160121001"), QStringLiteral("12345")));
    auto file = exportHistoryText(temp.store());
    ASSERT_TRUE(file) << file.error().message.toStdString();
    EXPECT_EQ(file->path, temp.dataDir() + QStringLiteral("/更新至160121002期历史号码.txt"));
    EXPECT_EQ(file->draws, 2);
    EXPECT_EQ(qeltaro::test::readFile(file->path), QByteArray("160121001 12345\r\n160121002 09870\r\n"));
}

TEST(HistoryTextExport, YearNumberedDrawsCarryTheirDates)
{
    TempStore temp;
    ASSERT_TRUE(temp.store().setGame({QStringLiteral("每日一期"), 1, 3, Numbering::Year}));
    DrawHistory history(temp.store());
    ASSERT_TRUE(history.add(QStringLiteral("24001"), QStringLiteral("12345"), QDate(2024, 1, 1)));
    ASSERT_TRUE(history.add(QStringLiteral("24002"), QStringLiteral("09870"), QDate(2024, 1, 3)));
    auto file = exportHistoryText(temp.store());
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->path.endsWith(QStringLiteral("更新至24002期历史号码.txt")));
    EXPECT_EQ(qeltaro::test::readFile(file->path), QByteArray("24001 12345 2024-01-01\r\n24002 09870 2024-01-03\r\n"));
}

TEST(HistoryTextExport, TheFileReadBackRestoresEveryRow)
{
    TempStore temp;
    DrawHistory history(temp.store());
    ASSERT_TRUE(history.importFile(qeltaro::test::sampleHistoryPath()));
    const auto before = *HistoryTable(temp.store()).all();

    auto file = exportHistoryText(temp.store());
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->path.endsWith(QStringLiteral("更新至150210120期历史号码.txt")));
    ASSERT_TRUE(deleteAllDraws(temp.store()));
    ASSERT_EQ(*HistoryTable(temp.store()).count(), 0);
    auto report = history.importFile(file->path);
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->stored, 4080);

    const auto after = *HistoryTable(temp.store()).all();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        ASSERT_EQ(after[i].period, before[i].period);
        EXPECT_EQ(after[i].values, before[i].values) << before[i].period.toStdString();
    }
}
