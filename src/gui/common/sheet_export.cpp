#include "gui/common/sheet_export.h"

#include "gui/common/dialogs.h"
#include "gui/common/open_file.h"

#include <QApplication>

namespace qeltaro::gui {

void finishListExport(QWidget* parent, const Result<QString>& written)
{
    if (written) {
        openWrittenFile(*written);
        return;
    }
    if (written.error().kind != ErrorKind::Cancelled)
        Dialogs::warn(parent, QString::fromUtf16(kExportFailureTitle), written.error().message);
}

void exportListSheet(QWidget* parent, const QString& dataFolder, ListWorkbook which, const SheetRows& rows)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto written = writeListWorkbook(dataFolder, which, rows);
    QApplication::restoreOverrideCursor();
    finishListExport(parent, written);
}

}  // namespace qeltaro::gui
