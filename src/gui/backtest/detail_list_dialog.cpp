#include "gui/backtest/detail_list_dialog.h"

#include "export/list_sheets.h"
#include "gui/common/cell_table_model.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/common/sheet_export.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace qeltaro::gui {

DetailListDialog::DetailListDialog(std::vector<DetailListRow> rows, const QString& dataFolder, QWidget* parent)
    : QDialog(parent)
{
    // The model's functions hold the rows, so the grid never reads rows that are gone.
    auto shown = std::make_shared<const std::vector<DetailListRow>>(std::move(rows));
    setObjectName(QStringLiteral("frmXxlb"));
    setWindowTitle(QString::fromUtf16(kDetailListCaption));
    setModal(true);

    grid_ = new QTableView;
    setUpReadOnlyGrid(grid_, "MSFlexGrid1");
    model_ = new CellTableModel(this);
    const QStringList headers = detailListHeaders();
    model_->reset({int(shown->size()), int(headers.size()), [headers](int c) { return headers[c]; },
                   [shown](int r, int c) { return (*shown)[size_t(r)].cellText(c); }, {}, {},
                   [](int c) { return c == 1 || c == 5 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter; }});
    grid_->setModel(model_);
    const int widths[] = {600, 6000, 600, 600, 600, 2400};
    for (int c = 0; c < int(std::size(widths)); ++c)
        grid_->setColumnWidth(c, std::max(twipsToPixels(widths[c]), 44));
    // Weighted rates carry long sums: the rate column is as wide as its widest text.
    grid_->resizeColumnToContents(5);
    grid_->setColumnWidth(5, std::max(grid_->columnWidth(5) + 8, twipsToPixels(2400)));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    auto* exportButton = namedButton(QStringLiteral("Command1"), QStringLiteral("导出数据(&E)"));
    connect(exportButton, &QPushButton::clicked, this, [this, shown, dataFolder] {
        exportListSheet(this, dataFolder, ListWorkbook::DetailList, detailListSheet(*shown));
    });
    layout->addLayout(rightButtons({exportButton}));

    // As tall as the rows need, within reason; as wide as the columns.
    int width = 0;
    for (int c = 0; c < int(headers.size()); ++c)
        width += grid_->columnWidth(c);
    const int rowsShown = std::clamp(int(shown->size()), 1, 25);
    const int height = grid_->horizontalHeader()->sizeHint().height() + rowsShown * 20 + 4 +
                       exportButton->sizeHint().height() + layout->spacing();
    resize(width + 2 * layout->contentsMargins().left() + grid_->verticalScrollBar()->sizeHint().width() + 4,
           height + layout->contentsMargins().top() + layout->contentsMargins().bottom());
}

}  // namespace qeltaro::gui
