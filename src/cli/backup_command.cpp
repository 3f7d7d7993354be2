// qeltaro-cli backup list | restore

#include "cli_context.h"

#include "store/store.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace qeltaro::cli {
namespace {

QString timeText(const StoreBackup& backup)
{
    return backup.madeAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QJsonObject backupJson(const StoreBackup& backup)
{
    QJsonObject json{{QStringLiteral("file"), backup.fileName},
                     {QStringLiteral("path"), backup.path},
                     {QStringLiteral("time"), backup.madeAt.toString(Qt::ISODate)},
                     {QStringLiteral("reason"), backup.reason}};
    if (backup.readable()) {
        json.insert(QStringLiteral("draws"), backup.draws);
        json.insert(QStringLiteral("formulas"), backup.formulas);
    } else {
        json.insert(QStringLiteral("problem"), backup.problem);
    }
    return json;
}

QString backupLine(const StoreBackup& backup)
{
    const QString contents = backup.readable()
                                 ? QStringLiteral("开奖号码%1期\t公式%2条").arg(backup.draws).arg(backup.formulas)
                                 : QStringLiteral("无法读取：%1").arg(backup.problem);
    return QStringLiteral("%1\t%2\t%3\t%4").arg(timeText(backup), backup.reasonText(), contents, backup.fileName);
}

Outcome list(Context&, Store& store, const NoOptions&)
{
    auto backups = store.backups();
    if (!backups)
        return backups.error();
    QStringList lines;
    QJsonArray json;
    for (const StoreBackup& backup : *backups) {
        lines << backupLine(backup);
        json.append(backupJson(backup));
    }
    if (backups->empty())
        lines << QStringLiteral("%1 中没有备份").arg(store.backupFolder());
    return answer(lines, json);
}

struct RestoreOptions {
    std::string file;
    void bind(CLI::App* command)
    {
        command->add_option("FILE", file, "a file name that backup list shows, or the path of a copy")->required();
    }
};

Outcome restore(Context&, Store& store, const RestoreOptions& o)
{
    // A bare name is one of the copies in the data folder's backups/.
    QString path = fromStd(o.file);
    if (!path.contains(u'/'))
        path = store.backupFolder() + QLatin1Char('/') + path;
    auto kept = store.restore(path);
    if (!kept)
        return kept.error();
    auto backups = store.backups();
    if (!backups)
        return backups.error();
    const QString name = QFileInfo(path).fileName();
    const auto restored = std::find_if(backups->begin(), backups->end(),
                                       [&](const StoreBackup& b) { return b.fileName == name; });
    QJsonObject json{{QStringLiteral("restored"), name}, {QStringLiteral("backup"), *kept}};
    QString contents;
    if (restored != backups->end() && restored->readable()) {
        json.insert(QStringLiteral("draws"), restored->draws);
        json.insert(QStringLiteral("formulas"), restored->formulas);
        contents = QStringLiteral("：开奖号码%1期，公式%2条").arg(restored->draws).arg(restored->formulas);
    }
    return answer({QStringLiteral("已从备份 %1 恢复%2").arg(name, contents),
                   QStringLiteral("恢复前的数据库已备份到 %1").arg(*kept)},
                  json);
}

}  // namespace

void addBackupCommands(CLI::App& app, Context& context)
{
    addCommandGroup(app, context, "backup", "the copies of the store kept before destructive commands",
                    {{"list", "list the copies in the data folder's backups/, newest first, with their counts", list},
                     {"restore", "make the store what a copy holds (the store as it is now is kept first)", restore}});
}

}  // namespace qeltaro::cli
