#include "store/store.h"

#include "store/game_table.h"
#include "store/in_transaction.h"
#include "store/schema.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace qeltaro {

Result<std::unique_ptr<Store>> Store::open(const QString& dataDir)
{
    QDir dir(dataDir);
    if (!dir.exists() && !QDir().mkpath(dataDir))
        return storageError(QStringLiteral("无法创建数据文件夹 %1").arg(dataDir));
    std::unique_ptr<Store> store(new Store);
    store->dataDir_ = QDir::cleanPath(dir.absolutePath());
    auto db = Database::open(store->filePath());
    if (!db)
        return db.error();
    store->db_ = std::move(*db);
    if (Status s = ensureSchema(store->db_); !s)
        return s.error();
    auto game = readStoreGame(store->db_);
    if (!game)
        return game.error();
    store->game_ = *game;
    return store;
}

Status Store::setGame(const Game& game)
{
    if (auto problem = game.problem())
        return badInput(*problem + QStringLiteral("；彩种没有改变"));
    Status written = inTransaction(db_, [&]() -> Status {
        auto draws = db_.scalar(QStringLiteral("SELECT COUNT(*) FROM Lishi"));
        if (!draws)
            return draws.error();
        // A new name alone changes nothing stored.
        Game renamed = game_;
        renamed.name = game.name;
        if (draws->value_or(0) > 0 && !(game == renamed))
            return badInput(QStringLiteral("历史号码中已有%1期号码，不能更改彩种：期号和派生列都按当前彩种计算。"
                                           "请为新彩种使用另一个数据文件夹；彩种没有改变")
                                .arg(**draws));
        return writeStoreGame(db_, game);
    });
    if (!written)
        return written;
    game_ = game;
    return success();
}

QString Store::filePath() const
{
    return dataDir_ + QLatin1Char('/') + QLatin1String(kStoreFileName);
}

Status Store::compact()
{
    return db_.exec(QStringLiteral("VACUUM"));
}

QString Store::backupFolder() const
{
    return dataDir_ + QLatin1Char('/') + QLatin1String(kBackupFolderName);
}

Result<QString> Store::backup(const QString& reason, const QString& keep)
{
    const QString folder = backupFolder();
    if (!QDir().mkpath(folder))
        return storageError(QStringLiteral("无法创建备份文件夹 %1").arg(folder));
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString path = QStringLiteral("%1/formula-%2-%3.db").arg(folder, stamp, reason);
    // The copy is written under a name no backup has and renamed once complete, so a copy cut
    // short (a full disk, the program killed) never passes for a backup nor pushes out a good one.
    QDir backups(folder);
    // Copies left by a program killed while writing one; a recent one may still be written by
    // another instance.
    const QDateTime staleBefore = QDateTime::currentDateTime().addSecs(-600);
    for (const QFileInfo& stale : backups.entryInfoList({QStringLiteral("*.partial")}, QDir::Files)) {
        if (stale.lastModified() < staleBefore)
            QFile::remove(stale.absoluteFilePath());
    }
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    auto stmt = db_.prepare(QStringLiteral("VACUUM INTO ?1"));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, partial);
    if (Status s = stmt->run(); !s) {
        QFile::remove(partial);
        return storageError(QStringLiteral("备份数据库失败，操作已取消：%1").arg(s.error().message));
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        return storageError(QStringLiteral("备份数据库失败，操作已取消：无法保存备份文件 %1").arg(path));
    }
    // Oldest first by name (the name starts with the time), keep the newest few.
    QStringList copies = backups.entryList({QStringLiteral("formula-*.db")}, QDir::Files, QDir::Name);
    const bool keeping = !keep.isEmpty() && QFileInfo(keep).absolutePath() == QFileInfo(path).absolutePath() &&
                         copies.removeAll(QFileInfo(keep).fileName()) > 0;
    while (copies.size() > kKeptBackups - (keeping ? 1 : 0))
        backups.remove(copies.takeFirst());
    return path;
}

}  // namespace qeltaro
