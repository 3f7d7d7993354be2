#include "store_checks.h"

#include "store/store.h"
#include "store_snapshot.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

namespace qeltaro::test {

StoreState inspectStore(const QString& dataDir)
{
    StoreState state;
    auto store = Store::open(dataDir);
    if (!store) {
        state.problem = store.error().message;
        return state;
    }
    auto check = (*store)->database().prepare(QStringLiteral("PRAGMA integrity_check"));
    if (!check) {
        state.integrity = check.error().message;
        return state;
    }
    QStringList answers;
    while (check->next())
        answers << check->text(0);
    if (check->error())
        answers << check->error()->message;
    state.integrity = answers.join(u'\n');
    state.snapshot = storeSnapshot(**store);
    return state;
}

void copyStoreFile(const QString& fromDataDir, const QString& toDataDir)
{
    const QString name = QLatin1String(kStoreFileName);
    ASSERT_TRUE(QDir().mkpath(toDataDir));
    QFile::remove(toDataDir + u'/' + name);
    ASSERT_TRUE(QFile::copy(fromDataDir + u'/' + name, toDataDir + u'/' + name)) << toDataDir.toStdString();
    // A copy of a read-only file stays read-only; the copy is meant to be written.
    QFile::setPermissions(toDataDir + u'/' + name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

}  // namespace qeltaro::test
