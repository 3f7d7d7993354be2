#include "history/draw_history.h"
#include "history/history_maintenance.h"
#include "store/history_table.h"
#include "store/sqlite_database.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

void add(Store& store, const QString& lines)
{
    auto report = DrawHistory(store).importText(lines);
    ASSERT_TRUE(report) << report.error().message.toStdString();
}

QStringList periods(Store& store)
{
    QStringList list;
    auto all = HistoryTable(store).all();
    EXPECT_TRUE(all);
    for (const DrawRecord& row : *all)
        list << row.period;
    return list;
}

// 150209118, 150209119, 150209120, 150210001, 150210002, 150210003, 150210005
const QString kHistory = QStringLiteral(
    "150209118 11111\n150209119 22222\n150209120 33333\n150210001 44444\n150210002 55555\n"
    "150210003 66666\n150210005 77777\n");

}  // namespace

TEST(HistoryMaintenance, DeletingAllKeepsACopyOfTheStoreFirst)
{
    TempStore temp;
    add(temp.store(), qeltaro::test::sampleHistoryLines(240));
    auto report = deleteAllDraws(temp.store());
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->removed, 240);
    EXPECT_EQ(report->remaining, 0);
    EXPECT_TRUE(periods(temp.store()).isEmpty());
    ASSERT_TRUE(QFile::exists(report->backupPath));
    auto backup = Database::open(report->backupPath);
    ASSERT_TRUE(backup);
    EXPECT_EQ(backup->scalar(QStringLiteral("SELECT count(*) FROM Lishi"))->value_or(-1), 240);

    report = deleteAllDraws(temp.store());  // nothing left to lose: no copy
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 0);
    EXPECT_TRUE(report->backupPath.isEmpty());
}

TEST(HistoryMaintenance, TheProposalIsTheDrawBeforeTheSelectedOne)
{
    TempStore temp;
    add(temp.store(), kHistory);
    auto proposal = [&](const char* selected) { return proposeDeleteAfter(temp.store(), QString::fromLatin1(selected))->toStdString(); };
    EXPECT_EQ(proposal("150210002"), "150210001");  // the selected period minus 1
    EXPECT_EQ(proposal("150210001"), "150209120");  // not 150210000, which would be refused
    EXPECT_EQ(proposal("150210005"), "150210003");  // across a missing issue
    EXPECT_EQ(proposal("150209118"), "");           // the first draw

    // Accepting the proposal removes the selected draw and every later one.
    auto report = deleteDrawsAfter(temp.store(), QString::fromStdString(proposal("150210001")));
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->removed, 4);
    EXPECT_EQ(periods(temp.store()), QStringList({"150209118", "150209119", "150209120"}));
}

TEST(HistoryMaintenance, DeleteAfterAPeriodKeepsThatPeriodAndRefusesBadAnswers)
{
    TempStore temp;
    add(temp.store(), kHistory);
    for (const char* bad : {"", "  ", "150210000", "abc", "15021000x", "1502100011", "15021001", "150230001",
                            "150210121", "-150210001"}) {
        auto report = deleteDrawsAfter(temp.store(), QString::fromLatin1(bad));
        ASSERT_FALSE(report) << bad;
        EXPECT_EQ(report.error().kind, ErrorKind::BadInput) << bad;
        EXPECT_FALSE(report.error().message.isEmpty());
    }
    EXPECT_EQ(periods(temp.store()).size(), 7);

    auto report = deleteDrawsAfter(temp.store(), QStringLiteral("150210005"));  // the last: nothing
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 0);
    report = deleteDrawsAfter(temp.store(), QStringLiteral("150210004"));  // not stored itself
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 1);
    EXPECT_EQ(periods(temp.store()).last().toStdString(), "150210003");
    report = deleteDrawsAfter(temp.store(), QStringLiteral("150209117"));  // before the first: all
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 6);
    EXPECT_EQ(report->remaining, 0);
}

TEST(HistoryMaintenance, DeleteTheLastNDraws)
{
    TempStore temp;
    add(temp.store(), kHistory);
    for (const char* bad : {"", "0", "-1", "x", "1.5", "2 draws"}) {
        auto report = deleteLastDraws(temp.store(), QString::fromLatin1(bad));
        ASSERT_FALSE(report) << bad;
        EXPECT_EQ(report.error().kind, ErrorKind::BadInput) << bad;
    }
    EXPECT_EQ(periods(temp.store()).size(), 7);

    auto report = deleteLastDraws(temp.store(), QStringLiteral("5"));
    ASSERT_TRUE(report) << report.error().message.toStdString();
    EXPECT_EQ(report->removed, 5);
    EXPECT_EQ(periods(temp.store()), QStringList({"150209118", "150209119"}));

    report = deleteLastDraws(temp.store(), QStringLiteral("3"));  // more than the two stored
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 2);
    EXPECT_TRUE(periods(temp.store()).isEmpty());
}

TEST(HistoryMaintenance, DeletingManyDrawsCompactsTheFile)
{
    TempStore temp;
    add(temp.store(), qeltaro::test::sampleHistoryLines(4080));
    const qint64 before = QFileInfo(temp.store().filePath()).size();
    auto report = deleteLastDraws(temp.store(), QStringLiteral("4000"));
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->compactionProblem.isEmpty());
    EXPECT_EQ(report->remaining, 80);
    EXPECT_LT(QFileInfo(temp.store().filePath()).size(), before / 4);
}

TEST(HistoryMaintenance, DeleteTheLastDraw)
{
    TempStore temp;
    auto report = deleteLastDraw(temp.store());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 0);
    add(temp.store(), kHistory);
    report = deleteLastDraw(temp.store());
    ASSERT_TRUE(report);
    EXPECT_EQ(report->removed, 1);
    EXPECT_EQ(periods(temp.store()).last().toStdString(), "150210003");
}
