#include "io/data_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qeltaro {

QString resolveDataDir(const QString& option)
{
    if (!option.isEmpty())
        return QDir(option).absolutePath();
    const QString fromEnvironment = qEnvironmentVariable("QELTARO_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return QDir(fromEnvironment).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Qeltaro");
}

QString bundledFile(const QString& relative)
{
    const QStringList roots = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../" QELTARO_INSTALL_DATADIR "/qeltaro"),
        QStringLiteral(QELTARO_SOURCE_DIR)};
    for (const QString& root : roots) {
        const QFileInfo candidate(root + u'/' + relative);
        if (candidate.exists())
            return candidate.canonicalFilePath();
    }
    return {};
}

bool openWrittenFiles()
{
    return qEnvironmentVariable("QELTARO_NO_OPEN") != QLatin1String("1");
}

}  // namespace qeltaro
