#pragma once

#include <QString>

namespace qeltaro::gui {

// Opens a file the program wrote for the user with the desktop's default application, unless
// QELTARO_NO_OPEN=1 is set.
void openWrittenFile(const QString& path);

}  // namespace qeltaro::gui
