#pragma once
// What failure tests ask of a store after the failure: does it open, is the file sound, and what
// does it hold. Each question opens the data folder's store on its own and closes it again, so a
// journal left by a killed or failed writer is rolled back first, as the program would.

#include <QString>

namespace qeltaro::test {

struct StoreState {
    QString problem;    // empty when the store opened
    QString integrity;  // PRAGMA integrity_check's answer, "ok" when sound
    QString snapshot;   // storeSnapshot of every table
};

StoreState inspectStore(const QString& dataDir);

// A copy of a data folder's store file (only formula.db) into another folder, created if missing.
void copyStoreFile(const QString& fromDataDir, const QString& toDataDir);

}  // namespace qeltaro::test
