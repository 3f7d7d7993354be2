// qeltaro: the desktop program.

#include "common/data_location.h"
#include "gui/app/main_window.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Qeltaro"));
    auto session = qeltaro::AnalysisSession::open(qeltaro::resolveDataDir(), std::make_unique<qeltaro::Settings>());
    if (!session) {
        QMessageBox::critical(nullptr, QStringLiteral("Qeltaro"), session.error().message);
        return 3;
    }
    qeltaro::gui::MainWindow window(std::move(*session));
    window.show();
    return QApplication::exec();
}
