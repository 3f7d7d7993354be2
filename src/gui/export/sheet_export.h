#pragma once
// Writing a list's workbook from a window: into the data folder of the main window the window
// belongs to, then opened with the desktop's spreadsheet program; a workbook that cannot be
// written is reported under "列表显示错误" with the reason.

#include "export/list_workbook.h"

class QWidget;

namespace qeltaro::gui {

class MainWindow;

inline constexpr const char16_t* kExportFailureTitle = u"列表显示错误";

// The main window `widget` belongs to (itself, or a parent of it), or nullptr.
MainWindow* owningMainWindow(QWidget* widget);

// Opens the written workbook, or says why it was not written (a stop by the user says nothing).
void finishListExport(QWidget* parent, const Result<QString>& written);

// Writes `rows` to the workbook `which` in the data folder of `from`'s main window and opens it.
void exportListSheet(QWidget* from, ListWorkbook which, const SheetRows& rows);

}  // namespace qeltaro::gui
