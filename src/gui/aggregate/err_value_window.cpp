#include "gui/aggregate/err_value_window.h"

#include "aggregate/err_window_rows.h"
#include "export/list_sheets.h"
#include "gui/aggregate/err_counts_panel.h"
#include "gui/common/widgets.h"
#include "gui/common/sheet_export.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace qeltaro::gui {

ErrValueWindow::ErrValueWindow(QString dataFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), dataFolder_(std::move(dataFolder))
{
    setObjectName(QStringLiteral("frmErrarr"));
    setWindowTitle(QString::fromUtf16(kErrWindowCaption));

    panel_ = new ErrCountsPanel(this);
    detailButton_ = namedButton(QStringLiteral("Command2"), QStringLiteral("详细结果列表(&D)"));
    connect(detailButton_, &QPushButton::clicked, this, &ErrValueWindow::detailListRequested);
    exportButton_ = namedButton(QStringLiteral("Command1"), QStringLiteral("导出列表(&E)"));
    connect(exportButton_, &QPushButton::clicked, this,
            [this] { exportListSheet(this, dataFolder_, ListWorkbook::ErrValues, errValuesSheet(panel_->counts())); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_, 1);
    layout->addLayout(rightButtons({exportButton_, detailButton_, closeWindowButton(this)}));
    resize(860, 550);
}

void ErrValueWindow::showCounts(const ErrCounts& counts, Kind kind, bool detailListAvailable)
{
    panel_->showCounts(counts, kind);
    detailButton_->setVisible(detailListAvailable);
    showInFront(this);
}

}  // namespace qeltaro::gui
