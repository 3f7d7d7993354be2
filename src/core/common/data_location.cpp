#include "common/data_location.h"

#include <QDir>
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

bool openWrittenFiles()
{
    return qEnvironmentVariable("QELTARO_NO_OPEN") != QLatin1String("1");
}

}  // namespace qeltaro
