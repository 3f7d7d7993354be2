#pragma once
// frmGsbz "公式计算步骤": for one formula and every history row, the value it forms from that
// row term by term and the value it carries to the next period. Asking for another formula
// while the window is open refills it.

#include "backtest/formula_breakdown.h"

#include <QWidget>

#include <memory>

class QLabel;
class QTableView;

namespace qeltaro::gui {

class CellTableModel;

class FormulaStepsWindow : public QWidget {
    Q_OBJECT
public:
    // Exports are written to `dataFolder`.
    explicit FormulaStepsWindow(QString dataFolder, QWidget* parent = nullptr);

    // Shows the breakdown of the formula whose Chinese text is `text`, scrolled to the newest row.
    void showBreakdown(FormulaBreakdown breakdown, const QString& code, const QString& text);

private:
    QString dataFolder_;
    QLabel* formulaLabel_ = nullptr;
    QTableView* grid_ = nullptr;  // MSFlexGrid1
    CellTableModel* model_ = nullptr;
    std::shared_ptr<const FormulaBreakdown> shown_;
};

}  // namespace qeltaro::gui
