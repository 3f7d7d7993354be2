#include "gui/formula/formula_commands.h"

#include "export/backtest_hit_runs.h"
#include "export/formula_text_export.h"
#include "library/formula_entry.h"
#include "library/formula_library.h"
#include "library/formula_update.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/common/online_address.h"
#include "gui/common/open_file.h"
#include "gui/common/window_host.h"

#include <QApplication>
#include <QDir>

#include <memory>

namespace qeltaro::gui {

FormulaCommands::FormulaCommands(ListCommandsHost& host) : QObject(host.hostWidget()), host_(host) {}

void FormulaCommands::addTyped()
{
    AnalysisSession& session = host_.session();
    const QString typed = host_.typedFormula();
    if (typed.trimmed().isEmpty()) {
        Dialogs::warn(host_.hostWidget(), emptyTypedFormulaTitle(), emptyTypedFormulaMessage());
        host_.focusTypedFormula();
        return;
    }
    auto added = addTypedFormula(session.store(), typed, session.listKey());
    if (!added) {
        Dialogs::warn(host_.hostWidget(), typedFormulaRefusalTitle(added.error()), added.error().message);
        host_.focusTypedFormula();
        return;
    }
    host_.takeTypedFormula();
    host_.showList(added->list);
}

void FormulaCommands::importFile()
{
    AnalysisSession& session = host_.session();
    const QString folder = session.store().dataDir() + QStringLiteral("/公式文本");
    QDir().mkpath(folder);
    const QString path = Dialogs::openFile(host_.hostWidget(), QStringLiteral("读取公式文本"), folder, QStringLiteral("Text(*.txt)"));
    if (path.isEmpty() || !path.toLower().endsWith(QLatin1String("txt")))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto report = importFormulaFile(session.store(), path, session.listKey());
    QApplication::restoreOverrideCursor();
    if (!report) {
        Dialogs::warn(host_.hostWidget(), QStringLiteral("读取公式文本"), report.error().message);
        return;
    }
    host_.showList(report->list);
    const QString summary = formulaImportSummary(*report);
    if (report->unrecognised.empty()) {
        Dialogs::inform(host_.hostWidget(), QStringLiteral("读取公式文本"), summary);
        return;
    }
    if (Dialogs::confirm(host_.hostWidget(), unrecognisedFormulaTitle(),
                         summary + QStringLiteral("\n\n") + viewUnrecognisedQuestion()))
        openWrittenFile(report->unrecognisedFilePath);
}

void FormulaCommands::updateOnline()
{
    AnalysisSession& session = host_.session();
    if (host_.task().busy())
        return;
    const auto address = onlineAddressOrAsk(host_.hostWidget(), session.settings(), OnlineSource::Formulas);
    if (!address)
        return;
    const QString url = *address;
    if (!Dialogs::confirm(host_.hostWidget(), formulaUpdateTitle(), formulaUpdateQuestion()))
        return;
    auto downloaded = std::make_shared<Result<QByteArray>>(Error{});
    host_.task().start(
        [downloaded, url](Progress& progress) {
            progress.report(0, 1, QStringLiteral("正在下载公式文件"));
            *downloaded = httpGet(QUrl(url), {}, &progress);
        },
        [this, downloaded] {
            if (!*downloaded) {
                Dialogs::warn(host_.hostWidget(), formulaUpdateTitle(), downloaded->error().message);
                return;
            }
            AnalysisSession& session = host_.session();
            auto report = applyFormulaDownload(session.store(), **downloaded, session.listKey());
            if (!report) {
                Dialogs::warn(host_.hostWidget(), formulaUpdateTitle(), report.error().message);
                return;
            }
            host_.showList(report->list);
            Dialogs::inform(host_.hostWidget(), formulaUpdateTitle(),
                            QStringLiteral("公式更新完毕：读入%1条公式，跳过%2行。").arg(report->stored).arg(report->skipped));
        });
}

void FormulaCommands::clearAll()
{
    if (!Dialogs::confirm(host_.hostWidget(), clearAllTitle(), clearAllQuestion()))
        return;
    auto cleared = clearAllFormulas(host_.session().store());
    if (!cleared)
        Dialogs::warn(host_.hostWidget(), clearAllTitle(), cleared.error().message);
    host_.refresh();
}

void FormulaCommands::deleteOne(bool flagsFollowFormulas)
{
    AnalysisSession& session = host_.session();
    const std::optional<int> chosen = host_.chosenFormulaIdx();
    if (!chosen) {
        Dialogs::warn(host_.hostWidget(), deleteFormulasTitle(), ListCommandsHost::noChosenFormulaMessage());
        return;
    }
    auto report = deleteFormula(session.store(), session.listKey(), *chosen,
                                flagsFollowFormulas ? FlagsAfterDelete::FollowFormulas : FlagsAfterDelete::StayWithNumbers,
                                session.selection());
    if (!report) {
        Dialogs::warn(host_.hostWidget(), deleteFormulasTitle(), report.error().message);
        return;
    }
    // Renumbering may give its idx to a copy of the same formula.
    host_.forgetChosenFormula();
    host_.refreshKeepingSelection();
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
    deleteByFlag(true);
}

void FormulaCommands::deleteUnselected()
{
    deleteByFlag(false);
}

void FormulaCommands::deleteByFlag(bool selected)
{
    if (!Dialogs::confirm(host_.hostWidget(), deleteFormulasTitle(),
                          selected ? deleteSelectedQuestion() : deleteUnselectedQuestion()))
        return;
    AnalysisSession& session = host_.session();
    auto report = selected ? deleteSelectedFormulas(session.store(), session.listKey(), session.selection())
                           : deleteUnselectedFormulas(session.store(), session.listKey(), session.selection());
    if (!report)
        Dialogs::warn(host_.hostWidget(), deleteFormulasTitle(), report.error().message);
    host_.refresh();
}

void FormulaCommands::exportAllCategories()
{
    exportText(true);
}

void FormulaCommands::exportSelectedCategory()
{
    exportText(false);
}

void FormulaCommands::exportText(bool allCategories)
{
    AnalysisSession& session = host_.session();
    const auto runs = backtestHitRuns(session.store(), session.history(), BacktestSettings::fromMirror(session.mirror()),
                                      session.engine());
    auto report = allCategories
                      ? qeltaro::exportAllCategories(session.store(), host_.currentPeriod(), session.kind(), runs)
                      : exportCategory(session.store(), host_.currentPeriod(), session.listKey(), runs);
    if (!report) {
        Dialogs::warn(host_.hostWidget(), QStringLiteral("公式中文导出"), report.error().message);
        return;
    }
    openWrittenFile(report->path);
}

}  // namespace qeltaro::gui
