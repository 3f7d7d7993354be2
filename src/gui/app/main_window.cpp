#include "gui/app/main_window.h"

namespace qeltaro::gui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Qeltaro"));
    resize(1280, 720);
}

}  // namespace qeltaro::gui
