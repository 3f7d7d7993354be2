#pragma once
// frmErrarr "杀留值排序(鼠标双击列表反向排序)": the Err values of the category's own table after a
// group-play calculation. Created once and reused, so the per-digit table keeps its reverse flag.

#include "aggregate/err_counts.h"
#include "domain/kind.h"

#include <QWidget>

class QPushButton;

namespace qeltaro::gui {

class ErrCountsPanel;

class ErrValueWindow : public QWidget {
    Q_OBJECT
public:
    explicit ErrValueWindow(QWidget* parent = nullptr);

    // FormActivate: rebuilds the tables from the slot's counts, then shows the window;
    // "详细结果列表(&D)" only after a calculation by the selected formulas.
    void showCounts(const ErrCounts& counts, Kind kind, bool detailListAvailable);

signals:
    void detailListRequested();

private:
    ErrCountsPanel* panel_ = nullptr;
    QPushButton* detailButton_ = nullptr;  // Command2
    QPushButton* exportButton_ = nullptr;  // Command1
};

}  // namespace qeltaro::gui
