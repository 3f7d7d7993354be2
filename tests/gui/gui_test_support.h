#pragma once
// A main window on a temporary store and settings file, with dialogs answered by the test.

#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "test_support.h"

#include <QTableView>
#include <QtTest>

#include <memory>

namespace qeltaro::test {

struct WindowFixture {
    TempStore temp;
    std::unique_ptr<gui::MainWindow> window;

    // Opens the window; `prepare` may fill the store first.
    void open()
    {
        temp.close();
        gui::Dialogs::setScripted(true);
        auto session = AnalysisSession::open(temp.dataDir(), std::make_unique<Settings>(temp.settingsFile()));
        QVERIFY2(session.ok(), session ? "" : qPrintable(session.error().message));
        window = std::make_unique<gui::MainWindow>(std::move(*session));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    // Makes a formula list row the chosen one: a click on the 种类 column picks the row without
    // toggling its selection.
    void chooseFormula(int row) const
    {
        auto* grid = find<QTableView>(QStringLiteral("MSFlexGrid2"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(row, 2)).center());
    }

    template <typename T>
    T* find(const QString& name) const
    {
        T* widget = window->findChild<T*>(name);
        if (!widget)
            qWarning("no widget %s", qPrintable(name));
        return widget;
    }
};

}  // namespace qeltaro::test
