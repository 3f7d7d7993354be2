#pragma once
// The workbook part (libqeltaro-workbook.so, see part_module.h): writing a list to a workbook
// through libxlsxwriter. writeWorkbook() loads it when first called.

#include "export/spreadsheet_writer.h"
#include "io/part_module.h"

namespace qeltaro {

struct WorkbookPart {
    Status (*write)(const QString& path, const SheetSource& source, Progress* progress);
};

// The module's own function behind the table.
Status writeWorkbookFile(const QString& path, const SheetSource& source, Progress* progress);

inline const WorkbookPart* workbookPart(QString* error = nullptr)
{
    return static_cast<const WorkbookPart*>(loadPart("workbook", error));
}

}  // namespace qeltaro
