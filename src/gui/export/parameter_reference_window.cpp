#include "gui/export/parameter_reference_window.h"

#include "export/parameter_reference.h"
#include "gui/common/widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qeltaro::gui {

ParameterReferenceWindow::ParameterReferenceWindow(const HistoryColumns& history, QWidget* parent)
    : QDialog(parent), grid_(new QTableWidget(this))
{
    setObjectName(QStringLiteral("frmShuoming"));
    setWindowTitle(QStringLiteral("参数对照"));
    grid_->setObjectName(QStringLiteral("MSFlexGrid1"));
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);

    const auto rows = parameterReferenceRows(history);
    grid_->setColumnCount(7);
    grid_->setRowCount(int(rows.size()));
    grid_->setHorizontalHeaderLabels(QStringList{QString()} + parameterReferenceHeaders());
    grid_->verticalHeader()->setVisible(false);
    for (int r = 0; r < int(rows.size()); ++r) {
        grid_->setItem(r, 0, new QTableWidgetItem(rows[size_t(r)].label));
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(rows[size_t(r)].cells[size_t(c)]);
            item->setTextAlignment(Qt::AlignCenter);
            grid_->setItem(r, c + 1, item);
        }
    }
    grid_->setColumnWidth(0, 200);
    for (int c = 1; c <= 6; ++c)
        grid_->setColumnWidth(c, 64);
    grid_->verticalHeader()->setDefaultSectionSize(22);

    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        const QTableWidgetItem* item = grid_->item(row, column);
        QApplication::clipboard()->setText(item ? item->text() : QString());
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(rightButtons({closeWindowButton(this)}));
    resize(660, 690);
}

}  // namespace qeltaro::gui
