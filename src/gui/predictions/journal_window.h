#pragma once
// "预测记录": every next-period calculation the user ran, judged against the draw that came, with
// the successes set against what chance alone would give; and "历史模拟检验", the calculation as
// the main window is set up tested on the history before each of the newest periods. Both show
// their rows, a summary with its verdict and the money, the cumulative successes on one chart and
// the cumulative net on another.

#include "export/journal_sheet.h"
#include "predictions/walk_forward.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace qeltaro {
class AnalysisSession;
class Store;
}

namespace qeltaro::gui {

class BackgroundTask;
class CumulativeChart;
class PredictionTableModel;

class JournalWindow : public QWidget {
    Q_OBJECT
public:
    // `walkForwardRequest` gives the main window's category, kind, method, sort settings, window
    // settings and selection as they are when a run starts; the window adds the periods.
    JournalWindow(AnalysisSession& session, std::function<WalkForwardRequest()> walkForwardRequest,
                  QWidget* parent = nullptr);
    ~JournalWindow() override;

    // Reads the journal again with the chosen category and kind.
    void reload();
    void startWalkForward();
    // The walk with a search before each period instead of the stored formulas.
    void startSearchedWalk(const WalkForwardRequest& request);
    // Runs `walk` on a copy of the session's history in the background; the title says what runs.
    void runWalk(const WalkForwardRequest& request, std::optional<std::uint64_t> candidates,
                 std::function<Result<WalkForwardResult>(const HistoryColumns&, Progress&)> walk);
    void stopWalkForward();
    bool walkForwardRunning() const;
    BackgroundTask& task() { return *task_; }

    // The charts of the successes and of the money, for tests.
    const CumulativeChart& successChart() const { return *successChart_; }
    const CumulativeChart& moneyChart() const { return *moneyChart_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildJournalPanel();
    QWidget* buildWalkForwardPanel();
    void exportWorkbook();
    void clearAsked();
    // `candidates`: per table and period, when every period searched its own formulas.
    void finishWalkForward(const Result<WalkForwardResult>& result, const WalkForwardRequest& request,
                           std::optional<std::uint64_t> candidates);
    void redrawChart();

    AnalysisSession& session_;
    Store& store_;
    std::function<WalkForwardRequest()> walkForwardRequest_;
    JournalReport report_;

    QComboBox* categoryBox_ = nullptr;
    QComboBox* kindBox_ = nullptr;
    QTableView* journalGrid_ = nullptr;
    PredictionTableModel* journalModel_ = nullptr;
    QLabel* journalSummary_ = nullptr;

    QSpinBox* periodsBox_ = nullptr;
    QCheckBox* searchCheck_ = nullptr;  // 含公式搜索
    QSpinBox* candidatesBox_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    BackgroundTask* task_ = nullptr;
    QLabel* walkTitle_ = nullptr;
    QTableView* walkGrid_ = nullptr;
    PredictionTableModel* walkModel_ = nullptr;
    QLabel* walkSummary_ = nullptr;

    std::unique_ptr<CumulativeChart> successChart_;
    std::unique_ptr<CumulativeChart> moneyChart_;
};

}  // namespace qeltaro::gui
