#pragma once
// frmLslb "历史开奖列表": for every period, where the digit then drawn stood in the ranking the
// formulas had produced the period before, with the whole ranking and the digits grouped by
// count; above the grid, how often the drawn digit stood at each rank. A new replay refills
// the open window at once, keeping the chosen position and play.

#include "aggregate/history_replay.h"
#include "aggregate/ranking_list_rows.h"
#include "export/list_workbook.h"

#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QBarSet;
class QBoxLayout;
class QGroupBox;
class QChart;
class QLineSeries;
class QLabel;
class QRadioButton;
class QTableView;
class QValueAxis;

namespace qeltaro::gui {

class CellTableModel;

class RankingListWindow : public QWidget {
    Q_OBJECT
public:
    // Opens on the position the category tests (一星 个位 .. 五星 万位) and on its play; exports
    // are written to `dataFolder`.
    RankingListWindow(int categoryPositions, bool group, QString dataFolder, QWidget* parent = nullptr);

    // Takes the rankings of a replay and fills the grid for the chosen position and play.
    void showReplay(std::vector<PeriodRanking> periods);
    // Command2: fills the grid again for the chosen position and play.
    void query();

    int position() const;
    bool group() const;

private:
    QBoxLayout* buildControls(int categoryPositions, bool group);
    QGroupBox* buildSummary();
    void showHistogram();
    void exportList(ListWorkbook which);

    QString dataFolder_;
    std::vector<PeriodRanking> periods_;
    std::shared_ptr<const RankingList> list_;
    std::array<QRadioButton*, 6> positionOptions_{};  // Option2(1..5)
    std::array<QRadioButton*, 2> playOptions_{};      // opTDG(0..1)
    QLabel* summary_ = nullptr;
    QChart* histogramChart_ = nullptr;
    QBarSet* histogramBars_ = nullptr;
    QValueAxis* histogramAxis_ = nullptr;
    QLineSeries* chanceLine_ = nullptr;  // 10% of the periods: a ranking that knows nothing
    QTableView* grid_ = nullptr;  // MSFlexGrid1
    CellTableModel* model_ = nullptr;
};

}  // namespace qeltaro::gui
