#include "gui/app/main_window.h"

#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithTheProgramTitle()
    {
        qeltaro::gui::MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Qeltaro"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
