#pragma once

#include <QString>

namespace qeltaro {

// The data folder: the given option, else $QELTARO_DATA_DIR, else the per-user application data
// folder (~/.local/share/Qeltaro on Linux). Every file the program writes goes there.
QString resolveDataDir(const QString& option = QString());

// Whether files written for the user should be opened with the desktop's default application.
bool openWrittenFiles();

}  // namespace qeltaro
