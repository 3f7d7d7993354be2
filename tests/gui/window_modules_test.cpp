// The window modules depend on the shared pieces of gui/common and on the core, never on each
// other nor on the main window: only the main window's folder (gui/app) puts them together.

#include "source_includes.h"
#include "test_support.h"

#include <QtTest>

#include <vector>

namespace {

using qeltaro::test::SourceInclude;

// One message per include of another window folder from a folder other than gui/app.
QStringList moduleViolations(const std::vector<SourceInclude>& includes)
{
    QStringList out;
    for (const auto& [file, target] : includes) {
        const QString from = file.section(QLatin1Char('/'), 0, 0);
        if (from == QLatin1String("app") || !target.startsWith(QLatin1String("gui/")))
            continue;
        const QString to = target.section(QLatin1Char('/'), 1, 1);
        if (to != from && to != QLatin1String("common"))
            out << QStringLiteral("%1 includes %2").arg(file, target);
    }
    return out;
}

}  // namespace

class WindowModulesTest : public QObject {
    Q_OBJECT
private slots:
    void windowModulesIncludeOnlyTheirOwnFolderAndTheCommonOne()
    {
        const auto includes = qeltaro::test::quotedIncludes(qeltaro::test::sourcePath(QStringLiteral("src/gui")));
        QVERIFY2(includes.size() > 100, "the window sources were not found");
        const QStringList violations = moduleViolations(includes);
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join(u'\n')));
    }

    void theCheckRefusesTheMainWindowAndOtherModules()
    {
        QVERIFY(moduleViolations({{"search/formula_search_window.cpp", "gui/search/search_progress_chart.h"},
                                  {"search/formula_search_window.cpp", "gui/common/window_host.h"},
                                  {"search/formula_search_window.cpp", "search/scheme_run.h"},
                                  {"app/main_window.cpp", "gui/search/search_window_commands.h"}})
                    .isEmpty());
        QCOMPARE(moduleViolations({{"search/formula_search_window.cpp", "gui/app/main_window.h"}}).size(), 1);
        QCOMPARE(moduleViolations({{"aggregate/err_value_window.cpp", "gui/export/list_export_commands.h"}}).size(), 1);
        QCOMPARE(moduleViolations({{"common/widgets.cpp", "gui/app/formula_list_model.h"}}).size(), 1);
    }
};

QTEST_MAIN(WindowModulesTest)
#include "window_modules_test.moc"
