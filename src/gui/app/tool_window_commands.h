#pragma once
// The main window's tool windows: the filter (Command7), the calculation with its sort dialog
// and Err value windows (Command23), the history replay and its ranking list (Command12), the
// formula's calculation history (menu mnuGsls) and the prediction journal (menu mnuJournal),
// where every next-period calculation is recorded. It keeps what the calculation leaves for
// the windows: the next-period count tables, the sort settings and the last calculation.

#include "aggregate/err_counts.h"
#include "aggregate/history_replay.h"
#include "backtest/category_calculation.h"
#include "backtest/sort_settings.h"
#include "gui/app/formula_list_model.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace qeltaro::gui {

class ErrValueTabsWindow;
class ErrValueWindow;
class FormulaFilterDialog;
class FormulaStepsWindow;
class HitRateChartWindow;
class JournalWindow;
class MainWindow;
class RankingListWindow;
class SortSettingsDialog;

class ToolWindowCommands : public QObject {
    Q_OBJECT
public:
    explicit ToolWindowCommands(MainWindow& window);

    void openFilter();        // "公式过滤设置"
    void calculate();         // "计算公式(&C)"
    void replay();            // "公式往期位置值结果列表"
    void showFormulaSteps();  // "查询该公式历史计算式(&U)"
    void showHitRateChart();  // "命中率走势图(&R)"
    void openJournal();       // "预测记录(&J)..."

    const NextPeriodCounts& nextPeriodCounts() const { return counts_; }
    const SortSettings& sortSettings() const { return sort_; }
    const std::optional<CategoryCalculation>& lastCalculation() const { return lastCalculation_; }
    // The request of the player's last calculation, for the automatic update to make again.
    const std::optional<CalculationRequest>& lastRequest() const { return lastRequest_; }
    // A calculation made for the player (by the automatic update): shown as the player's own
    // would be, in the list and in the Err value windows already open.
    void showMadeCalculation(const CategoryCalculation& calculation);

private:
    CalculationRequest requestFromOptions() const;
    void runCalculation(const CalculationRequest& request);
    void showCalculatedDigits(const CategoryCalculation& calculation);
    void showErrValues(const CategoryCalculation& calculation);
    void openDetailList(QWidget* errWindow);
    void finishReplay(Result<HistoryReplay>& replay, const Category& category);
    FormulaListModel* formulaModel() const;
    // The chosen formula of the list; a message and nullopt when none is chosen.
    std::optional<FormulaListRow> chosenFormula(const QString& title) const;

    MainWindow& window_;
    SortSettings sort_;  // kept for the whole run, offered again each time
    NextPeriodCounts counts_;
    std::optional<CategoryCalculation> lastCalculation_;
    std::optional<CalculationRequest> lastRequest_;
    std::optional<CalculationRequest> awaitingSort_;  // a best-formula calculation waiting for the dialog
    QPointer<FormulaFilterDialog> filterDialog_;
    QPointer<SortSettingsDialog> sortDialog_;
    QPointer<ErrValueWindow> errWindow_;
    QPointer<ErrValueTabsWindow> errTabsWindow_;
    QPointer<RankingListWindow> rankingWindow_;
    QPointer<FormulaStepsWindow> stepsWindow_;
    QPointer<HitRateChartWindow> hitRateWindow_;
    QPointer<JournalWindow> journalWindow_;
};

}  // namespace qeltaro::gui
