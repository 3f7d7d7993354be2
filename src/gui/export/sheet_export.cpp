#include "gui/export/sheet_export.h"

#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "gui/common/open_file.h"

#include <QApplication>

namespace qeltaro::gui {

MainWindow* owningMainWindow(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* main = qobject_cast<MainWindow*>(w))
            return main;
    }
    return nullptr;
}

void finishListExport(QWidget* parent, const Result<QString>& written)
{
    if (written) {
        openWrittenFile(*written);
        return;
    }
    if (written.error().kind != ErrorKind::Cancelled)
        Dialogs::warn(parent, QString::fromUtf16(kExportFailureTitle), written.error().message);
}

void exportListSheet(QWidget* from, ListWorkbook which, const SheetRows& rows)
{
    MainWindow* main = owningMainWindow(from);
    if (!main) {
        finishListExport(from, storageError(QStringLiteral("找不到数据文件夹，无法导出%1").arg(listWorkbookName(which))));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto written = writeListWorkbook(main->session().store().dataDir(), which, rows);
    QApplication::restoreOverrideCursor();
    finishListExport(from, written);
}

}  // namespace qeltaro::gui
