#include "gui/export/list_export_commands.h"

#include "export/history_sheet.h"
#include "export/list_sheets.h"
#include "gui/app/formula_list_model.h"
#include "gui/app/main_window.h"
#include "gui/common/background_task.h"
#include "gui/common/dialogs.h"
#include "gui/export/sheet_export.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTableView>

#include <memory>

namespace qeltaro::gui {

ListExportCommands::ListExportCommands(MainWindow& window) : QObject(&window), window_(window)
{
    setObjectName(QStringLiteral("listExportCommands"));
    connect(window.findChild<QPushButton*>(QStringLiteral("cmdDcexl")), &QPushButton::clicked, this,
            &ListExportCommands::exportHistory);
    connect(window.findChild<QAction*>(QStringLiteral("mnuDcls")), &QAction::triggered, this,
            &ListExportCommands::exportHistory);
    connect(window.findChild<QAction*>(QStringLiteral("mnuExl")), &QAction::triggered, this,
            &ListExportCommands::exportFormulaList);
}

void ListExportCommands::exportHistory()
{
    const QString failureTitle = QString::fromUtf16(kExportFailureTitle);
    BackgroundTask& task = window_.task();
    if (task.busy()) {
        Dialogs::warn(&window_, failureTitle, QStringLiteral("另一项任务正在进行，请等它结束或按“停止”后再导出。"));
        return;
    }
    const bool withVerification = window_.findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked();
    if (withVerification &&
        !Dialogs::confirm(&window_, QStringLiteral("查询等待确认"),
                          QStringLiteral("将本表导出到EXCEL，因为公式每一期验证数据较多可能需要数分钟，确认需要执行并等待吗？")))
        return;

    // The worker gets its own copies: the window may load another history or list meanwhile.
    AnalysisSession& session = window_.session();
    auto history = std::make_shared<const HistoryColumns>(session.history());
    auto list = withVerification ? std::make_shared<const FormulaList>(session.formulaList()) : nullptr;
    const bool showOnCurrentRow = session.mirror().showOnCurrentRow;
    const BacktestEngine engine = session.engine();
    const QString dataDir = session.store().dataDir();
    auto written = std::make_shared<Result<QString>>(Error{});
    task.start(
        [=](Progress& progress) {
            *written = exportHistoryWorkbook(dataDir, *history, list.get(), showOnCurrentRow, engine, &progress);
        },
        [this, written] { finishListExport(&window_, *written); });
}

void ListExportCommands::exportFormulaList()
{
    // The rows as the list shows them: in its current order, with the digits it shows.
    auto* model = qobject_cast<FormulaListModel*>(window_.findChild<QTableView*>(QStringLiteral("MSFlexGrid2"))->model());
    std::vector<FormulaSheetRow> rows;
    rows.reserve(model->rows().size());
    for (const FormulaListRow& shown : model->rows()) {
        rows.push_back({shown.kind, shown.code, shown.chinese, shown.starWord, shown.next, shown.rateText,
                        shown.maxMissRun, shown.maxHitRun, shown.lastMissRun, shown.lastHitRun});
    }
    exportListSheet(&window_, ListWorkbook::FormulaList,
                    formulaListSheet(rows, model->showChinese(), window_.session().mirror().weightedRate));
}

}  // namespace qeltaro::gui
