#pragma once
// Qt's own words (the standard buttons, input boxes, file dialogs, the text boxes' context
// menus), dates and numbers in Chinese, to match the rest of the program, whatever the system's
// language.

#include <QByteArray>

class QCoreApplication;

namespace qeltaro::gui {

// Qt reads the system's language once, from the environment, when the application starts; the
// file dialogs write their dates and sizes in it. Held from before the application object is
// made until after: Qt then takes Chinese, and the environment is put back as it was, so the
// programs started later (an editor, a browser) keep the user's language.
class ChineseSystemLocale {
public:
    ChineseSystemLocale();
    ~ChineseSystemLocale();
    ChineseSystemLocale(const ChineseSystemLocale&) = delete;
    ChineseSystemLocale& operator=(const ChineseSystemLocale&) = delete;

private:
    QByteArray saved_;
    bool wasSet_ = false;
};

// Loads Qt's Chinese translations from Qt's translations folder into `application`, with the
// few words they lack (the file dialogs' "Folder"), and makes Chinese the default locale.
// Returns false when Qt's translations are not installed: Qt's own words then stay English.
bool installQtTranslations(QCoreApplication& application);

}  // namespace qeltaro::gui
