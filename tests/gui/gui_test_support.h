#pragma once
// A main window on a temporary store and settings file, with dialogs answered by the test.

#include "gui/app/main_window.h"
#include "gui/common/dialogs.h"
#include "test_support.h"

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
