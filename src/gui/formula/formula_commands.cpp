#include "gui/formula/formula_commands.h"

#include "export/backtest_hit_runs.h"
#include "export/formula_text_export.h"
#include "gui/app/formula_list_model.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "library/formula_update.h"
#include "gui/app/main_window.h"
#include "gui/app/settings_menu.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/common/open_file.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>

#include <memory>

namespace qeltaro::gui {

FormulaCommands::FormulaCommands(MainWindow& window) : QObject(&window), window_(window) {}

void FormulaCommands::addTyped()
{
    AnalysisSession& session = window_.session();
    QLineEdit* box = window_.formulaBox();
    if (box->text().trimmed().isEmpty()) {
        Dialogs::warn(&window_, emptyTypedFormulaTitle(), emptyTypedFormulaMessage());
        box->setFocus();
        return;
    }
    auto added = addTypedFormula(session.store(), box->text(), session.listKey());
    if (!added) {
        Dialogs::warn(&window_, typedFormulaRefusalTitle(added.error()), added.error().message);
        box->setFocus();
        return;
    }
    box->clear();
    window_.showList(added->list);
}

void FormulaCommands::importFile()
{
    AnalysisSession& session = window_.session();
    const QString folder = session.store().dataDir() + QStringLiteral("/公式文本");
    QDir().mkpath(folder);
    const QString path = Dialogs::openFile(&window_, QStringLiteral("读取公式文本"), folder, QStringLiteral("Text(*.txt)"));
    if (path.isEmpty() || !path.toLower().endsWith(QLatin1String("txt")))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = importFormulaFile(session.store(), path, session.listKey());
    QApplication::restoreOverrideCursor();
    if (!report) {
        Dialogs::warn(&window_, QStringLiteral("读取公式文本"), report.error().message);
        return;
    }
    window_.showList(report->list);
    if (!report->unrecognised.empty() &&
        Dialogs::confirm(&window_, unrecognisedFormulaTitle(), viewUnrecognisedQuestion()))
        openWrittenFile(report->unrecognisedFilePath);
}

void FormulaCommands::updateOnline()
{
    AnalysisSession& session = window_.session();
    if (window_.task().busy())
        return;
    const auto address = onlineAddressOrAsk(&window_, session.settings(), OnlineSource::Formulas);
    if (!address)
        return;
    const QString url = *address;
    if (!Dialogs::confirm(&window_, formulaUpdateTitle(), formulaUpdateQuestion()))
        return;
    auto downloaded = std::make_shared<Result<QByteArray>>(Error{});
    window_.task().start(
        [downloaded, url](Progress& progress) {
            progress.report(0, 1, QStringLiteral("正在下载公式文件"));
            *downloaded = httpGet(QUrl(url), {}, &progress);
        },
        [this, downloaded] {
            if (!*downloaded) {
                Dialogs::warn(&window_, formulaUpdateTitle(), downloaded->error().message);
                return;
            }
            AnalysisSession& session = window_.session();
            auto report = applyFormulaDownload(session.store(), **downloaded, session.listKey());
            if (!report) {
                Dialogs::warn(&window_, formulaUpdateTitle(), report.error().message);
                return;
            }
            window_.showList(report->list);
            Dialogs::inform(&window_, formulaUpdateTitle(),
                            QStringLiteral("公式更新完毕：读入%1条公式，跳过%2行。").arg(report->stored).arg(report->skipped));
        });
}

void FormulaCommands::clearAll()
{
    if (!Dialogs::confirm(&window_, clearAllTitle(), clearAllQuestion()))
        return;
    auto cleared = clearAllFormulas(window_.session().store());
    if (!cleared)
        Dialogs::warn(&window_, clearAllTitle(), cleared.error().message);
    window_.refresh();
}

void FormulaCommands::deleteOne(bool flagsFollowFormulas)
{
    AnalysisSession& session = window_.session();
    const FormulaListRow* chosen = window_.chosenFormula();
    if (!chosen) {
        Dialogs::warn(&window_, deleteFormulasTitle(), MainWindow::noChosenFormulaMessage());
        return;
    }
    auto report = deleteFormula(session.store(), session.listKey(), chosen->idx,
                                flagsFollowFormulas ? FlagsAfterDelete::FollowFormulas : FlagsAfterDelete::StayWithNumbers,
                                session.selection());
    if (!report) {
        Dialogs::warn(&window_, deleteFormulasTitle(), report.error().message);
        return;
    }
    // Renumbering may give its idx to a copy of the same formula.
    window_.forgetChosenFormula();
    window_.refreshKeepingSelection();
}

void FormulaCommands::deleteThis()
{
    deleteOne(true);
}

void FormulaCommands::deleteLast()
{
    deleteOne(false);
}

void FormulaCommands::deleteSelected()
{
    if (!Dialogs::confirm(&window_, deleteFormulasTitle(), deleteSelectedQuestion()))
        return;
    AnalysisSession& session = window_.session();
    auto report = deleteSelectedFormulas(session.store(), session.listKey(), session.selection());
    if (!report)
        Dialogs::warn(&window_, deleteFormulasTitle(), report.error().message);
    window_.refresh();
}

void FormulaCommands::deleteUnselected()
{
    if (!Dialogs::confirm(&window_, deleteFormulasTitle(), deleteUnselectedQuestion()))
        return;
    AnalysisSession& session = window_.session();
    auto report = deleteUnselectedFormulas(session.store(), session.listKey(), session.selection());
    if (!report)
        Dialogs::warn(&window_, deleteFormulasTitle(), report.error().message);
    window_.refresh();
}

void FormulaCommands::exportAllCategories()
{
    AnalysisSession& session = window_.session();
    const auto runs = backtestHitRuns(session.store(), session.history(), BacktestSettings::fromMirror(session.mirror()),
                                      session.engine());
    auto report = qeltaro::exportAllCategories(session.store(), window_.currentPeriod(), session.kind(), runs);
    if (!report) {
        Dialogs::warn(&window_, QStringLiteral("公式中文导出"), report.error().message);
        return;
    }
    openWrittenFile(report->path);
}

void FormulaCommands::exportSelectedCategory()
{
    AnalysisSession& session = window_.session();
    const auto runs = backtestHitRuns(session.store(), session.history(), BacktestSettings::fromMirror(session.mirror()),
                                      session.engine());
    auto report = exportCategory(session.store(), window_.currentPeriod(), session.listKey(), runs);
    if (!report) {
        Dialogs::warn(&window_, QStringLiteral("公式中文导出"), report.error().message);
        return;
    }
    openWrittenFile(report->path);
}

}  // namespace qeltaro::gui
