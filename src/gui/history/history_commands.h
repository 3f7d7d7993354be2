#pragma once
// The history commands of the main window: the online update (Command21), the history text file
// (cmdLsdcTxt), deleting the last draw (Command3) and the menu "历史管理" (with the clipboard import).

#include <QObject>

namespace qeltaro {
struct StoreBackup;
}

namespace qeltaro::gui {

class ListCommandsHost;

class HistoryCommands : public QObject {
    Q_OBJECT
public:
    explicit HistoryCommands(ListCommandsHost& host);

    void updateOnline();
    void exportText();
    void deleteLast();
    void deleteAll();
    void deleteAfterSelected();
    void deleteLastN();
    // Draws from a table copied to the clipboard (a web page, a spreadsheet), read as a history
    // file is.
    void importClipboard();
    // "从备份恢复...": the copies under backups/, and the chosen one restored after asking.
    void openBackups();

private:
    bool restore(const StoreBackup& backup);

    ListCommandsHost& host_;
};

}  // namespace qeltaro::gui
