#pragma once
// The copies of the store kept under backups/ before destructive commands: what each holds, and
// the way back to one of them.

#include <QDateTime>
#include <QString>

namespace qeltaro {

struct StoreBackup {
    QString path;
    QString fileName;
    QDateTime madeAt;
    QString reason;    // the command it was kept before, as named in the file name
    int draws = 0;
    int formulas = 0;  // over every category and kind
    QString problem;   // why it cannot be read as a store; empty when it can

    bool readable() const { return problem.isEmpty(); }
    // "删除所有历史前" and the like; the file name's own word for a reason this program does not know.
    QString reasonText() const;
};

inline constexpr const char* kBackupFolderName = "backups";

}  // namespace qeltaro
