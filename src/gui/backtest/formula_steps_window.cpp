#include "gui/backtest/formula_steps_window.h"

#include "export/list_sheets.h"
#include "gui/common/cell_table_model.h"
#include "gui/common/grid_view.h"
#include "gui/common/widgets.h"
#include "gui/common/sheet_export.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace qeltaro::gui {

FormulaStepsWindow::FormulaStepsWindow(QString dataFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), dataFolder_(std::move(dataFolder))
{
    setObjectName(QStringLiteral("frmGsbz"));
    setWindowTitle(QString::fromUtf16(kBreakdownCaption));

    formulaLabel_ = textLabel(QStringLiteral("Label1"));
    grid_ = new QTableView;
    setUpReadOnlyGrid(grid_, "MSFlexGrid1");
    model_ = new CellTableModel(this);
    grid_->setModel(model_);
    grid_->setToolTip(QString::fromUtf16(kBreakdownToolTip));
    // A double-click, as the tool tip says: a single click only picks a cell.
    connect(grid_, &QTableView::doubleClicked, this, [this] {
        if (shown_)
            exportListSheet(this, dataFolder_, ListWorkbook::FormulaSteps, formulaStepsSheet(*shown_));
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formulaLabel_);
    layout->addWidget(grid_, 1);
    layout->addLayout(rightButtons({closeWindowButton(this)}));
    resize(900, 640);
}

void FormulaStepsWindow::showBreakdown(FormulaBreakdown breakdown, const QString& code, const QString& text)
{
    // The model's functions hold the rows, so the grid never reads rows that are gone.
    auto shown = std::make_shared<const FormulaBreakdown>(std::move(breakdown));
    shown_ = shown;
    formulaLabel_->setText(QStringLiteral("公式：%1\n代码：%2%3")
                               .arg(text.isEmpty() ? code : text, code,
                                    shown->termwise ? QString()
                                                        : QStringLiteral("\n（该公式不是各项相加的形式，计算式列出代入各参数值后的算式）")));
    const int columns = int(shown->headers.size());
    model_->reset({int(shown->rows.size()), columns,
                   [shown](int c) { return shown->headers[c]; },
                   [shown](int r, int c) {
                       const BreakdownRow& row = shown->rows[size_t(r)];
                       switch (c) {
                       case 0: return row.period;
                       case 1: return row.digits;
                       case 2: return row.expression;
                       default: return row.value;
                       }
                   },
                   {}, {},
                   [](int c) { return (c == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter; }});
    // The expression takes the room the others leave, so the value stays in sight.
    const int widths[] = {1300, 1000, 12000, 1600};
    for (int c = 0; c < columns; ++c)
        grid_->setColumnWidth(c, twipsToPixels(widths[c]));
    grid_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    // The last row is the value for the next, not yet drawn, period: the one that matters most.
    const int rows = model_->rowCount();
    QTimer::singleShot(0, grid_, [this, rows] {
        if (rows > 0 && model_->rowCount() == rows)
            grid_->scrollTo(model_->index(rows - 1, 0), QAbstractItemView::PositionAtBottom);
    });
    showInFront(this);
}

}  // namespace qeltaro::gui
