#pragma once
// frmErrarrLei "杀留值排序(鼠标双击列表反向排序)": the Err values of the direct-play tables from
// one position up to the category's, one tab each ("1星".."5星"). Each tab keeps its own
// tables and reverse flag for as long as the window lives.

#include "aggregate/err_counts.h"
#include "domain/kind.h"

#include <QWidget>

#include <array>
#include <vector>

class QPushButton;
class QTabWidget;

namespace qeltaro::gui {

class ErrCountsPanel;

class ErrValueTabsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ErrValueTabsWindow(QWidget* parent = nullptr);

    // FormActivate: one tab per slot 1..slotCounts.size(), the first tab in front, then shows the
    // window; "详细结果列表(&D)" only after a calculation by the selected formulas.
    void showSlots(const std::vector<ErrCounts>& slotCounts, Kind kind, bool detailListAvailable);

signals:
    void detailListRequested();

private:
    QTabWidget* tabs_ = nullptr;  // TabStrip1
    std::array<ErrCountsPanel*, 5> panels_{};
    QPushButton* detailButton_ = nullptr;  // Command2
    QPushButton* exportButton_ = nullptr;  // Command1
};

}  // namespace qeltaro::gui
