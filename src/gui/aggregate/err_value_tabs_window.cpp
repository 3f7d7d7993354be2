#include "gui/aggregate/err_value_tabs_window.h"

#include "aggregate/err_window_rows.h"
#include "export/list_sheets.h"
#include "gui/aggregate/err_counts_panel.h"
#include "gui/common/widgets.h"
#include "gui/common/sheet_export.h"

#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qeltaro::gui {

ErrValueTabsWindow::ErrValueTabsWindow(QString dataFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), dataFolder_(std::move(dataFolder))
{
    setObjectName(QStringLiteral("frmErrarrLei"));
    setWindowTitle(QString::fromUtf16(kErrWindowCaption));

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    for (int slot = 1; slot <= 5; ++slot) {
        auto* panel = new ErrCountsPanel(this);
        panel->setObjectName(QStringLiteral("page_%1").arg(slot));
        panel->hide();
        panels_[size_t(slot - 1)] = panel;
    }
    detailButton_ = namedButton(QStringLiteral("Command2"), QStringLiteral("详细结果列表(&D)"));
    connect(detailButton_, &QPushButton::clicked, this, &ErrValueTabsWindow::detailListRequested);
    // The export writes the page in front, the one the user is looking at.
    exportButton_ = namedButton(QStringLiteral("Command1"), QStringLiteral("导出列表(&E)"));
    connect(exportButton_, &QPushButton::clicked, this, [this] {
        if (auto* panel = qobject_cast<ErrCountsPanel*>(tabs_->currentWidget()))
            exportListSheet(this, dataFolder_, ListWorkbook::ErrValues, errValuesSheet(panel->counts()));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_, 1);
    layout->addLayout(rightButtons({exportButton_, detailButton_, closeWindowButton(this)}));
    resize(860, 580);
}

void ErrValueTabsWindow::showSlots(const std::vector<ErrCounts>& slotCounts, Kind kind, bool detailListAvailable)
{
    // Removing a tab keeps its page: the panels, and their reverse flags, live with the window.
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (int slot = 1; slot <= int(slotCounts.size()) && slot <= 5; ++slot) {
        ErrCountsPanel* panel = panels_[size_t(slot - 1)];
        tabs_->addTab(panel, errWindowTabCaption(slot));
        panel->showCounts(slotCounts[size_t(slot - 1)], kind);
    }
    tabs_->setCurrentIndex(0);
    detailButton_->setVisible(detailListAvailable);
    showInFront(this);
}

}  // namespace qeltaro::gui
