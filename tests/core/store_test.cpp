#include "store/formula_table.h"
#include "store/history_table.h"
#include "store/in_transaction.h"
#include "store/schema.h"
#include "store/sqlite_database.h"
#include "test_support.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace qeltaro;
using qeltaro::test::TempStore;

namespace {

std::vector<std::string> codes(const std::vector<StoredFormula>& formulas)
{
    std::vector<std::string> out;
    for (const auto& f : formulas)
        out.push_back(QStringLiteral("%1:%2:%3").arg(f.idx).arg(isKill(f.kind) ? 'K' : 'L').arg(f.code).toStdString());
    return out;
}

}  // namespace

TEST(Store, NewFileHasEveryTableAndTheTenErrarrRows)
{
    TempStore temp;
    Database& db = temp.store().database();
    for (const char* table : {"Lishi", "Errarr", "ErrarrLei", "Gongshi1D", "Gongshi2D", "Gongshi3D",
                              "Gongshi4D", "Gongshi5D", "Gongshi2G", "Gongshi3G", "Gongshi4G", "Gongshi5G"}) {
        auto n = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '%1'")
                               .arg(QLatin1String(table)));
        ASSERT_TRUE(n);
        EXPECT_EQ(n->value_or(0), 1) << table;
    }
    EXPECT_FALSE(db.scalar(QStringLiteral("SELECT count(*) FROM Gongshi1G")));  // no one-star group play
    auto rows = db.scalar(QStringLiteral("SELECT count(*) FROM Errarr WHERE ETrrcount = 0 AND num BETWEEN 0 AND 9"));
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->value_or(0), 10);
    // Every Lishi column a formula may name exists, plus the working columns.
    auto stmt = db.prepare(QStringLiteral("SELECT strQQH, %1, canshu, PreCanshu, GSCS, GSZCS, GSGL FROM Lishi")
                               .arg(historyValueColumns().join(u',')));
    EXPECT_TRUE(stmt.ok());

    // Reopening keeps the ten rows (not twenty).
    temp.reopen();
    rows = temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM Errarr"));
    EXPECT_EQ(rows->value_or(0), 10);
}

TEST(Store, BooleanAndOrderingStatementsWork)
{
    TempStore temp;
    FormulaTable table(temp.store(), *Category::fromSuffix(u"3D"));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A"), QStringLiteral("万位码"), 2));
    ASSERT_TRUE(table.append(Kind::Keep, QStringLiteral("L2A"), QStringLiteral("千位码"), 1));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L3A"), QStringLiteral("百位码"), 1));
    EXPECT_EQ(codes(*table.list(Kind::Kill)), (std::vector<std::string>{"1:K:L3A", "2:K:L1A"}));
    EXPECT_EQ(codes(*table.list(Kind::Keep)), (std::vector<std::string>{"1:L:L2A"}));
    auto n = temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM Gongshi3D WHERE bolKill = True"));
    EXPECT_EQ(n->value_or(-1), 2);
}

TEST(Store, WorkInATransactionIsKeptOnlyWhenItSucceeds)
{
    TempStore temp;
    Database& db = temp.store().database();
    ASSERT_TRUE(db.exec(QStringLiteral("CREATE TEMP TABLE t(n INTEGER)")));
    auto rows = [&] { return db.scalar(QStringLiteral("SELECT count(*) FROM t")).value().value_or(-1); };

    Result<int> kept = inTransaction(db, [&]() -> Result<int> {
        if (Status s = db.exec(QStringLiteral("INSERT INTO t VALUES (1)")); !s)
            return s.error();
        return 7;
    });
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, 7);
    EXPECT_EQ(rows(), 1);

    // Failed work is undone and its error handed on.
    Status failed = inTransaction(db, [&]() -> Status {
        EXPECT_TRUE(db.exec(QStringLiteral("DELETE FROM t")));
        return badInput(QStringLiteral("refused"));
    });
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().message, QStringLiteral("refused"));
    EXPECT_EQ(rows(), 1);

    // A transaction that cannot begin runs nothing.
    ASSERT_TRUE(db.exec(QStringLiteral("BEGIN")));
    bool ran = false;
    Status nested = inTransaction(db, [&] {
        ran = true;
        return success();
    });
    EXPECT_FALSE(nested);
    EXPECT_FALSE(ran);
    ASSERT_TRUE(db.exec(QStringLiteral("ROLLBACK")));
}

TEST(Store, RebuildDedupesResetsStatisticsAndRenumbers)
{
    TempStore temp;
    FormulaTable table(temp.store(), *Category::fromSuffix(u"2G"));
    const struct { bool kill; const char* code; const char* text; } rows[] = {
        {true, "L1A", "万位码"}, {true, "L1A+1", "万位码+1"}, {true, "L1A", "万位码"},
        {false, "L1A", "万位码"}, {true, "L1A", "万位码 "},  // other text: stays separate
        {true, "L1A+1", "万位码+1"}};
    int idx = 7;
    for (const auto& r : rows)
        ASSERT_TRUE(table.append(kindOfKillFlag(r.kill), QString::fromUtf8(r.code), QString::fromUtf8(r.text), idx += 3));
    ASSERT_TRUE(table.writeStatistics(10, {55.5, 3, 4, 1, 0}));
    ASSERT_TRUE(table.all()->front().statistics.has_value());

    ASSERT_TRUE(table.rebuild());
    temp.reopen();
    FormulaTable reopened(temp.store(), *Category::fromSuffix(u"2G"));
    const auto all = *reopened.all();
    EXPECT_EQ(codes(all), (std::vector<std::string>{"1:K:L1A", "2:K:L1A+1", "3:L:L1A", "4:K:L1A"}));
    for (const auto& f : all)
        EXPECT_FALSE(f.statistics.has_value());
}

TEST(Store, RenumberKeepsOrderAndClosesGaps)
{
    TempStore temp;
    FormulaTable table(temp.store(), *Category::fromSuffix(u"1D"));
    ASSERT_TRUE(table.appendUnnumbered(Kind::Kill, QStringLiteral("L2A"), QString()));
    for (int idx : {9, 3, 5})
        ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A+%1").arg(idx), QString(), idx));
    ASSERT_TRUE(table.appendUnnumbered(Kind::Kill, QStringLiteral("L3A"), QString()));
    ASSERT_TRUE(table.renumber());
    // Rows an import appended without an idx follow the numbered ones, in stored order.
    EXPECT_EQ(codes(*table.all()),
              (std::vector<std::string>{"1:K:L1A+3", "2:K:L1A+5", "3:K:L1A+9", "4:K:L2A", "5:K:L3A"}));
}

TEST(Store, HistoryIsReadInPeriodTextOrderAndSurvivesCompaction)
{
    TempStore temp;
    HistoryTable history(temp.store());
    for (const char* p : {"160121003", "160121001", "151231120", "160121002"}) {
        DrawRecord r;
        r.period = QString::fromLatin1(p);
        r.values[0] = r.period.right(1).toInt();
        ASSERT_TRUE(history.insert(r));
    }
    ASSERT_TRUE(temp.store().compact());
    temp.reopen();
    auto rows = HistoryTable(temp.store()).all();
    ASSERT_TRUE(rows);
    std::vector<std::string> periods;
    for (const auto& r : *rows)
        periods.push_back(r.period.toStdString());
    EXPECT_EQ(periods, (std::vector<std::string>{"151231120", "160121001", "160121002", "160121003"}));
    EXPECT_EQ(rows->back().values[0], 3);
    // The unique index refuses a second row for one period.
    DrawRecord again;
    again.period = QStringLiteral("160121001");
    EXPECT_FALSE(HistoryTable(temp.store()).insert(again));
}

TEST(Store, BackupIsACompleteCopyAndOldCopiesArePruned)
{
    TempStore temp;
    FormulaTable table(temp.store(), *Category::fromSuffix(u"5G"));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("LH"), QStringLiteral("和数"), 1));
    auto path = temp.store().backup(QStringLiteral("test"));
    ASSERT_TRUE(path) << path.error().message.toStdString();
    auto copy = Database::open(*path);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->scalar(QStringLiteral("SELECT count(*) FROM Gongshi5G"))->value_or(0), 1);
    for (int i = 0; i < Store::kKeptBackups + 3; ++i)
        ASSERT_TRUE(temp.store().backup(QStringLiteral("n%1").arg(i)));
    EXPECT_EQ(QDir(temp.dataDir() + QStringLiteral("/backups")).entryList(QDir::Files).size(), Store::kKeptBackups);
}

TEST(Store, RefusesFilesItCannotUse)
{
    TempStore temp;
    temp.close();
    // A file that is not a database.
    qeltaro::test::writeFile(temp.dataDir() + QStringLiteral("/formula.db"), QByteArray(4096, 'x'));
    auto garbage = Store::open(temp.dataDir());
    ASSERT_FALSE(garbage);
    EXPECT_EQ(garbage.error().kind, ErrorKind::Storage);
    EXPECT_EQ(qeltaro::test::readFile(temp.dataDir() + QStringLiteral("/formula.db")), QByteArray(4096, 'x'));

    // A store from a newer version is left alone.
    QFile::remove(temp.dataDir() + QStringLiteral("/formula.db"));
    {
        auto db = Database::open(temp.dataDir() + QStringLiteral("/formula.db"));
        ASSERT_TRUE(db->exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion + 1)));
    }
    auto newer = Store::open(temp.dataDir());
    ASSERT_FALSE(newer);
    EXPECT_TRUE(newer.error().message.contains(QStringLiteral("更新版本")));
}

TEST(Store, BackupsCutShortNeverPassForBackups)
{
    TempStore temp;
    const QString folder = temp.dataDir() + QStringLiteral("/backups");
    ASSERT_TRUE(QDir().mkpath(folder));
    // Left by a program killed while copying: one long ago, one that may still be written.
    const QString stale = folder + QStringLiteral("/formula-20200101-000000-000-test.db.partial");
    const QString recent = folder + QStringLiteral("/formula-20990101-000000-000-test.db.partial");
    for (const QString& path : {stale, recent})
        qeltaro::test::writeFile(path, QByteArray("SQLite format 3"));
    {
        QFile old(stale);
        ASSERT_TRUE(old.open(QIODevice::ReadWrite));
        ASSERT_TRUE(old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
    }
    auto path = temp.store().backup(QStringLiteral("test"));
    ASSERT_TRUE(path) << path.error().message.toStdString();
    EXPECT_TRUE((*path).endsWith(QStringLiteral("-test.db")));
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(recent));
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("formula-*.db")}, QDir::Files).size(), 1);
}

TEST(Store, OpeningACurrentStoreLeavesTheFileAsItWas)
{
    TempStore temp;
    FormulaTable table(temp.store(), *Category::fromSuffix(u"3D"));
    ASSERT_TRUE(table.append(Kind::Kill, QStringLiteral("L1A"), QStringLiteral("万位码"), 1));
    temp.close();
    const QString file = temp.dataDir() + QStringLiteral("/formula.db");
    const QByteArray before = qeltaro::test::readFile(file);
    for (int i = 0; i < 3; ++i)
        temp.reopen();
    temp.close();
    EXPECT_TRUE(qeltaro::test::readFile(file) == before);

    // A store missing a table of this version is completed on opening.
    {
        auto db = Database::open(file);
        ASSERT_TRUE(db);
        ASSERT_TRUE(db->exec(QStringLiteral("DROP TABLE Gongshi5G")));
    }
    temp.reopen();
    EXPECT_TRUE(temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM Gongshi5G")));
    EXPECT_EQ(temp.store().database().scalar(QStringLiteral("SELECT count(*) FROM Gongshi3D"))->value_or(0), 1);
}

TEST(Store, AStoreWithoutAGameServesTheStandardOneAndKeepsAChosenGame)
{
    TempStore temp;
    EXPECT_EQ(temp.store().game(), Game{});
    // Opening does not add the game's table: older tools see the file they know.
    EXPECT_EQ(temp.store().database().scalar(QStringLiteral(
                  "SELECT count(*) FROM sqlite_master WHERE name = 'Caizhong'"))->value_or(-1), 0);

    const Game minute{QStringLiteral("分分彩"), 1440, 4, Numbering::Date};
    ASSERT_TRUE(temp.store().setGame(minute));
    temp.reopen();
    EXPECT_EQ(temp.store().game(), minute);

    const Game broken{QStringLiteral("x"), 1441, 4, Numbering::Date};
    auto refused = temp.store().setGame(broken);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);
    EXPECT_EQ(temp.store().game(), minute);

    // A game edited by hand into something unservable is told on opening, not used.
    ASSERT_TRUE(temp.store().database().exec(QStringLiteral("UPDATE Caizhong SET numbering = 'week'")));
    temp.close();
    auto reopened = Store::open(temp.dataDir());
    ASSERT_FALSE(reopened);
    EXPECT_NE(reopened.error().message.indexOf(QStringLiteral("week")), -1);
}

TEST(Store, TheGameOfAStoreWithDrawsCannotChangeButItsNameCan)
{
    TempStore temp;
    const auto first = PeriodNumber::parse(QStringLiteral("160121001"), Game{});
    ASSERT_TRUE(HistoryTable(temp.store()).insert(deriveDrawRecord(*first, {1, 2, 3, 4, 5}, std::nullopt, Game{})));
    const Game minute{QStringLiteral("分分彩"), 1440, 4, Numbering::Date};
    auto refused = temp.store().setGame(minute);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().kind, ErrorKind::BadInput);
    temp.reopen();
    EXPECT_EQ(temp.store().game(), Game{});

    Game renamed;
    renamed.name = QStringLiteral("重庆");
    ASSERT_TRUE(temp.store().setGame(renamed));
    temp.reopen();
    EXPECT_EQ(temp.store().game().name, QStringLiteral("重庆"));
}
