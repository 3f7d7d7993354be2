#pragma once

#include <QString>

namespace qeltaro {

// The data folder: the given option, else $QELTARO_DATA_DIR, else the per-user application data
// folder (~/.local/share/Qeltaro on Linux). Every file the program writes goes there.
QString resolveDataDir(const QString& option = QString());

// A file shipped with the program (e.g. "data/sample-history.txt", "docs/index.html"): looked
// for in the installed share/qeltaro folder beside the program, then in the source tree of a
// build. Empty when not found.
QString bundledFile(const QString& relative);

// Whether files written for the user should be opened with the desktop's default application.
bool openWrittenFiles();

}  // namespace qeltaro
