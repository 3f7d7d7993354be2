#pragma once
// The main window's spreadsheet exports: the history list ("导出列表到Excel" cmdDcexl and the
// history menu's "导出历史号码(&O)" mnuDcls) and the formula list (the formula menu's
// "导出到EXCEL表格(&E)" mnuExl). The history list with its verification columns can take a
// while, so it is written off the window thread with progress and a way to stop.

#include "export/list_sheets.h"

#include <QObject>

#include <vector>

namespace qeltaro::gui {

class WindowHost;

class ListExportCommands : public QObject {
    Q_OBJECT
public:
    explicit ListExportCommands(WindowHost& host);

    // The history list, with the formulas' verification columns when the grid shows them.
    void exportHistory(bool withVerification);
    // The formula list's rows as it shows them, in its current order.
    void exportFormulaList(const std::vector<FormulaSheetRow>& rows, bool showChinese);

private:
    WindowHost& host_;
};

}  // namespace qeltaro::gui
