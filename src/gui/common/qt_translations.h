#pragma once
// Qt's own words (the standard buttons, input boxes, file dialogs, the text boxes' context
// menus) in Chinese, to match the rest of the program.

class QCoreApplication;

namespace qeltaro::gui {

// Loads Qt's Chinese translations from Qt's translations folder into `application`. Returns
// false when they are not installed: Qt's own words then stay English.
bool installQtTranslations(QCoreApplication& application);

}  // namespace qeltaro::gui
