#include "watch/watch_hold.h"

#include <QLockFile>

namespace qeltaro {

WatchHold::WatchHold(std::unique_ptr<QLockFile> lock) : lock_(std::move(lock)) {}

WatchHold::~WatchHold() = default;

Result<std::unique_ptr<WatchHold>> WatchHold::take(const QString& dataDir)
{
    auto lock = std::make_unique<QLockFile>(dataDir + QStringLiteral("/watch.lock"));
    // Never stale by age: a watch runs for days. A dead holder is recognised by its process id.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return std::unique_ptr<WatchHold>(new WatchHold(std::move(lock)));
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock->error() == QLockFile::LockFailedError && lock->getLockInfo(&pid, &host, &application))
        return badInput(QStringLiteral("数据文件夹 %1 已有一个自动更新开奖在运行（进程号 %2）；同一数据文件夹只能有一个")
                            .arg(dataDir)
                            .arg(pid));
    return storageError(QStringLiteral("无法在数据文件夹 %1 中建立自动更新开奖的锁文件 watch.lock").arg(dataDir));
}

}  // namespace qeltaro
