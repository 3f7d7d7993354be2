#pragma once
// The main window's spreadsheet exports: the history list ("导出列表到Excel" cmdDcexl and the
// history menu's "导出历史号码(&O)" mnuDcls) and the formula list (the formula menu's
// "导出到EXCEL表格(&E)" mnuExl). The history list with its verification columns can take a
// while, so it is written off the window thread with progress and a way to stop.

#include <QObject>

namespace qeltaro::gui {

class MainWindow;

class ListExportCommands : public QObject {
    Q_OBJECT
public:
    // Connects the button and the two menu entries.
    explicit ListExportCommands(MainWindow& window);

    void exportHistory();
    void exportFormulaList();

private:
    MainWindow& window_;
};

}  // namespace qeltaro::gui
