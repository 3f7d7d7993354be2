#include "gui/export/list_export_commands.h"

#include "export/history_sheet.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/common/window_host.h"
#include "gui/common/sheet_export.h"

#include <memory>

namespace qeltaro::gui {

ListExportCommands::ListExportCommands(WindowHost& host) : QObject(host.hostWidget()), host_(host)
{
    setObjectName(QStringLiteral("listExportCommands"));
}

void ListExportCommands::exportHistory(bool withVerification)
{
    QWidget* parent = host_.hostWidget();
    const QString failureTitle = QString::fromUtf16(kExportFailureTitle);
    BackgroundTask& task = host_.task();
    if (task.busy()) {
        Dialogs::warn(parent, failureTitle, QStringLiteral("另一项任务正在进行，请等它结束或按“停止”后再导出。"));
        return;
    }
    if (withVerification &&
        !Dialogs::confirm(parent, QStringLiteral("查询等待确认"),
                          QStringLiteral("将本表导出到EXCEL，因为公式每一期验证数据较多可能需要数分钟，确认需要执行并等待吗？")))
        return;

    // The worker gets its own copies: the window may load another history or list meanwhile.
    AnalysisSession& session = host_.session();
    auto history = std::make_shared<const HistoryColumns>(session.history());
    auto list = withVerification ? std::make_shared<const FormulaList>(session.formulaList()) : nullptr;
    const bool showOnCurrentRow = session.mirror().showOnCurrentRow;
    const BacktestEngine engine = session.engine();
    const QString dataDir = host_.dataFolder();
    auto written = std::make_shared<Result<QString>>(Error{});
    task.start(
        [=](Progress& progress) {
            *written = exportHistoryWorkbook(dataDir, *history, list.get(), showOnCurrentRow, engine, &progress);
        },
        [this, written] { finishListExport(host_.hostWidget(), *written); });
}

void ListExportCommands::exportFormulaList(const std::vector<FormulaSheetRow>& rows, bool showChinese)
{
    exportListSheet(host_.hostWidget(), host_.dataFolder(), ListWorkbook::FormulaList,
                    formulaListSheet(rows, showChinese, host_.session().mirror().weightedRate));
}

}  // namespace qeltaro::gui
