#pragma once
// MSFlexGrid2 as the main window shows it: the formulas of the list with their statistics and
// their figures against chance, sortable by any column both ways, every numeric column as wide
// as its widest number.

#include "gui/app/formula_list_model.h"

#include <QTableView>

#include <optional>
#include <utility>

class QFontMetrics;

namespace qeltaro {
class FormulaList;
class FormulaStatsTable;
}  // namespace qeltaro

namespace qeltaro::gui {

class FormulaListView : public QTableView {
    Q_OBJECT
public:
    explicit FormulaListView(QWidget* parent = nullptr);

    FormulaListModel& model() const { return *model_; }
    // The list's formulas in list order with the statistics of the last back-test; no sort shown.
    void showRows(const FormulaList& list, const FormulaStatsTable& statistics, bool weightedRate);
    // The rows in the order of one column, up or down, by the statistics the last full back-test
    // stored; the header shows it.
    void sortBy(int column, Qt::SortOrder order, const FormulaStatsTable& statistics);
    // A header click sorts by its column, a second one on the same column the other way round.
    Qt::SortOrder nextOrderFor(int column) const;

private:
    void fitColumns();
    // The row of the widest text in `column`, or -1 when every cell is empty.
    int widestCell(int column, const QFontMetrics& metrics) const;

    FormulaListModel* model_ = nullptr;
    std::optional<std::pair<int, Qt::SortOrder>> sort_;
};

}  // namespace qeltaro::gui
