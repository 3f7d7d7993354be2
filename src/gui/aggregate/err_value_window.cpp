#include "gui/aggregate/err_value_window.h"

#include "aggregate/err_window_rows.h"
#include "export/list_sheets.h"
#include "gui/aggregate/err_counts_panel.h"
#include "gui/export/sheet_export.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qeltaro::gui {

ErrValueWindow::ErrValueWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmErrarr"));
    setWindowTitle(QString::fromUtf16(kErrWindowCaption));

    panel_ = new ErrCountsPanel(this);
    detailButton_ = new QPushButton(QStringLiteral("详细结果列表(&D)"));
    detailButton_->setObjectName(QStringLiteral("Command2"));
    connect(detailButton_, &QPushButton::clicked, this, &ErrValueWindow::detailListRequested);
    exportButton_ = new QPushButton(QStringLiteral("导出列表(&E)"));
    exportButton_->setObjectName(QStringLiteral("Command1"));
    connect(exportButton_, &QPushButton::clicked, this,
            [this] { exportListSheet(this, ListWorkbook::ErrValues, errValuesSheet(panel_->counts())); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(exportButton_);
    buttons->addWidget(detailButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel_, 1);
    layout->addLayout(buttons);
    resize(860, 550);
}

void ErrValueWindow::showCounts(const ErrCounts& counts, Kind kind, bool detailListAvailable)
{
    panel_->showCounts(counts, kind);
    detailButton_->setVisible(detailListAvailable);
    show();
    raise();
    activateWindow();
}

}  // namespace qeltaro::gui
