#pragma once
// Writing a list's workbook from a window: into the data folder the window was given, then
// opened with the desktop's spreadsheet program; a workbook that cannot be written is reported
// under "列表显示错误" with the reason.

#include "export/list_workbook.h"

class QWidget;

namespace qeltaro::gui {

inline constexpr const char16_t* kExportFailureTitle = u"列表显示错误";

// Opens the written workbook, or says why it was not written (a stop by the user says nothing).
void finishListExport(QWidget* parent, const Result<QString>& written);

// Writes `rows` to the workbook `which` in `dataFolder` and opens it.
void exportListSheet(QWidget* parent, const QString& dataFolder, ListWorkbook which, const SheetRows& rows);

}  // namespace qeltaro::gui
