#pragma once
// Every message box and input box of the program goes through here, so tests can answer them
// in advance instead of a person, and can read what the program said.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace qeltaro::gui {

class Dialogs {
public:
    // An OK/Cancel question with the question icon; true for OK.
    static bool confirm(QWidget* parent, const QString& title, const QString& text);
    static void inform(QWidget* parent, const QString& title, const QString& text);
    static void warn(QWidget* parent, const QString& title, const QString& text);
    // Closing with work not kept: save it, let it go, or stay. Scripted: "save", "discard",
    // anything else stays.
    enum class UnsavedChoice { Save, Discard, Stay };
    static UnsavedChoice askUnsaved(QWidget* parent, const QString& title, const QString& text);
    // An input box; nullopt for Cancel.
    static std::optional<QString> askText(QWidget* parent, const QString& title, const QString& prompt,
                                          const QString& defaultText);
    // An open-file dialog; empty for Cancel.
    static QString openFile(QWidget* parent, const QString& title, const QString& folder, const QString& filter);
    // A save-file dialog proposing `path`; empty for Cancel.
    static QString saveFile(QWidget* parent, const QString& title, const QString& path, const QString& filter);
    // A folder chooser starting at `folder`; empty for Cancel.
    static QString chooseFolder(QWidget* parent, const QString& title, const QString& folder);

    // Scripted mode for tests: nothing is shown; answers are taken from the queue ("ok",
    // "cancel", or the text/file name to return), and with an empty queue a question is
    // cancelled. Every title and text shown is recorded.
    static void setScripted(bool scripted);
    static void queueAnswer(const QString& answer);
    static QStringList takeLog();
    // The text the last scripted input box was prefilled with.
    static QString lastPrefill();
};

}  // namespace qeltaro::gui
