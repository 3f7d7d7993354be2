// qeltaro: the desktop program.

#include "io/data_location.h"
#include "gui/app/data_folders.h"
#include "gui/app/main_window.h"
#include "gui/common/qt_translations.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include <memory>

int main(int argc, char** argv)
{
    auto chinese = std::make_unique<qeltaro::gui::ChineseSystemLocale>();
    QApplication application(argc, argv);
    chinese.reset();
    QApplication::setApplicationName(QStringLiteral("Qeltaro"));
    QApplication::setApplicationVersion(QStringLiteral(QELTARO_VERSION));
    qeltaro::gui::installQtTranslations(application);

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Qeltaro: draw history, formulas and their back-tests for the five-digit lottery"));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QStringLiteral("data folder (default: $QELTARO_DATA_DIR or ~/.local/share/Qeltaro)"),
                                     QStringLiteral("DIR"));
    options.addOption(dataDir);
    options.process(application);

    qeltaro::gui::MainWindowLauncher launcher;
    if (auto opened = launcher.open(qeltaro::resolveDataDir(options.value(dataDir))); !opened) {
        QMessageBox::critical(nullptr, QStringLiteral("Qeltaro"), opened.error().message);
        return 3;
    }
    QTimer::singleShot(0, launcher.window(), [&launcher] { launcher.window()->offerSampleOnFirstStart(); });
    return QApplication::exec();
}
