#pragma once
// One page of an Err value window: the ten digits with their three counts and verdicts
// (MSFlexGrid1, a double-click re-sorts it), a bar chart of the digits' counts coloured by
// verdict, and the digits grouped by count (MSFlexGrid2).

#include "aggregate/err_window_rows.h"
#include "domain/kind.h"

#include <QWidget>

class QTableWidget;

class QBarSet;
class QChart;
class QChartView;
class QValueAxis;

namespace qeltaro::gui {

class ErrCountsPanel : public QWidget {
    Q_OBJECT
public:
    explicit ErrCountsPanel(QWidget* parent = nullptr);

    // Fills the tables and the chart; the reverse flag of the per-digit table is kept.
    void showCounts(const ErrCounts& counts, Kind kind);
    // The counts shown, for the export.
    const ErrCounts& counts() const { return counts_; }

private:
    void showDigitRows();
    void showStatistics();
    void showChart(const ErrCounts& counts, Kind kind);

    ErrWindowTable table_;
    ErrCounts counts_{};
    QTableWidget* digitGrid_ = nullptr;       // MSFlexGrid1
    QTableWidget* statisticsGrid_ = nullptr;  // MSFlexGrid2
    QChart* chart_ = nullptr;
    QChartView* chartView_ = nullptr;
    QBarSet* keptBars_ = nullptr;
    QBarSet* killedBars_ = nullptr;
    QValueAxis* countAxis_ = nullptr;
};

}  // namespace qeltaro::gui
