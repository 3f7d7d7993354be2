#include "store/store_backups.h"

#include "domain/category.h"
#include "store/game_table.h"
#include "store/schema.h"
#include "store/store.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace qeltaro {
namespace {

// "formula-20261209-034500-123-delete-all-history.db": the time it was made and why.
void readName(StoreBackup& backup)
{
    static const QRegularExpression form(QStringLiteral("^formula-(\\d{8}-\\d{6}-\\d{3})-(.+)\\.db$"));
    const QRegularExpressionMatch match = form.match(backup.fileName);
    if (match.hasMatch()) {
        backup.madeAt = QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss-zzz"));
        backup.reason = match.captured(2);
    }
    if (!backup.madeAt.isValid())
        backup.madeAt = QFileInfo(backup.path).lastModified();
}

// The draws and formulas a copy holds; a file that is no store says so in `problem`.
void readCounts(StoreBackup& backup, bool checkWhole)
{
    auto db = Database::openReadOnly(backup.path);
    if (!db) {
        backup.problem = db.error().message;
        return;
    }
    auto fail = [&](const Error& error) { backup.problem = error.message; };
    if (checkWhole) {
        auto check = db->prepare(QStringLiteral("PRAGMA quick_check"));
        if (!check)
            return fail(check.error());
        if (!check->next() || check->text(0) != QLatin1String("ok"))
            return fail(storageError(QStringLiteral("备份文件已损坏：%1").arg(check->error() ? check->error()->message : check->text(0))));
    }
    auto draws = db->scalar(QStringLiteral("SELECT count(*) FROM Lishi"));
    if (!draws)
        return fail(storageError(QStringLiteral("这个文件不是本程序的数据库备份：%1").arg(draws.error().message)));
    backup.draws = int(draws->value_or(0));
    backup.formulas = 0;
    for (const Category& category : Category::all()) {
        auto formulas = db->scalar(QStringLiteral("SELECT count(*) FROM %1").arg(category.tableName()));
        if (!formulas)
            return fail(storageError(QStringLiteral("这个文件不是本程序的数据库备份：%1").arg(formulas.error().message)));
        backup.formulas += int(formulas->value_or(0));
    }
}

StoreBackup describe(const QString& path, bool checkWhole)
{
    StoreBackup backup;
    backup.path = QFileInfo(path).absoluteFilePath();
    backup.fileName = QFileInfo(path).fileName();
    readName(backup);
    readCounts(backup, checkWhole);
    return backup;
}

}  // namespace

QString StoreBackup::reasonText() const
{
    static const std::pair<const char*, const char16_t*> words[] = {
        {"delete-all-history", u"删除所有历史前"}, {"clear-formulas", u"清空所有公式前"},
        {"formula-update", u"公式在线更新前"},     {"history-update", u"开奖历史在线更新前"},
        {"search-replace", u"搜索结果替换公式前"}, {"before-restore", u"从备份恢复前"}};
    for (const auto& [name, text] : words) {
        if (reason == QLatin1String(name))
            return QString::fromUtf16(text);
    }
    return reason;
}

Result<std::vector<StoreBackup>> Store::backups() const
{
    QDir folder(backupFolder());
    std::vector<StoreBackup> found;
    if (!folder.exists())
        return found;
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("formula-*.db")}, QDir::Files, QDir::Name | QDir::Reversed))
        found.push_back(describe(file.absoluteFilePath(), false));
    std::stable_sort(found.begin(), found.end(),
                     [](const StoreBackup& a, const StoreBackup& b) { return a.madeAt > b.madeAt; });
    return found;
}

Result<QString> Store::restore(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return badInput(QStringLiteral("找不到备份文件 %1").arg(path));
    const StoreBackup chosen = describe(path, true);
    if (!chosen.readable())
        return badInput(QStringLiteral("无法从 %1 恢复：%2").arg(chosen.fileName, chosen.problem));
    auto source = Database::openReadOnly(chosen.path);
    if (!source)
        return source.error();
    auto game = readStoreGame(*source);
    if (!game)
        return badInput(QStringLiteral("无法从 %1 恢复：%2").arg(chosen.fileName, game.error().message));
    // The store as it is now is kept first, so the restore itself can be undone.
    auto kept = backup(QStringLiteral("before-restore"), chosen.path);
    if (!kept)
        return kept.error();
    if (Status s = db_.replaceContentFrom(*source); !s)
        return s.error();
    // A copy from an older program lacks the newer tables.
    if (Status s = ensureSchema(db_); !s)
        return s.error();
    markHistoryChanged();
    game_ = *game;
    return *kept;
}

}  // namespace qeltaro
