// qeltaro: the desktop program.

#include "gui/app/main_window.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qeltaro"));
    qeltaro::gui::MainWindow window;
    window.show();
    return QApplication::exec();
}
