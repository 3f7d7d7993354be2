#pragma once
// The search window's best against the best of luck: the highest 正确率 the run saw on the real
// history and on the shuffled one, and, once a run has ended, the reality check on demand: the
// same search on shuffled copies of the history, with progress and a stop button, and one plain
// sentence on whether the best formula is better than luck.

#include "domain/history_columns.h"
#include "search/best_rates.h"
#include "search/reality_check.h"

#include <QGroupBox>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace qeltaro::gui {

class BackgroundTask;

class BestRatesPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit BestRatesPanel(QWidget* parent = nullptr);

    // A run starts: nothing to show or check yet.
    void clear();
    void showRates(const BestRates& best);
    // A run has ended: what the check would judge, on the history it ran on.
    void offerCheck(std::shared_ptr<const HistoryColumns> history, RealityCheckRequest request);
    // Whether the check may start (the window runs nothing else).
    void setCheckAllowed(bool allowed);

    void startCheck();
    // Stops a check under way and waits for it.
    void stopCheck();
    bool checking() const;
    BackgroundTask& task() { return *task_; }

signals:
    // A check started or ended: the window's other runs wait for it.
    void checkingChanged();

private:
    void finishCheck(const Result<std::vector<RealityCheck>>& result);
    void updateButton();

    QLineEdit* bestReal_ = nullptr;      // txtBestRate
    QLineEdit* bestShuffled_ = nullptr;  // txtBestShuffledRate
    QSpinBox* copies_ = nullptr;         // txtRealityCopies
    QPushButton* checkButton_ = nullptr; // cmdRealityCheck
    QPushButton* stopButton_ = nullptr;  // cmdRealityStop
    QProgressBar* progress_ = nullptr;   // prgReality
    QLabel* verdict_ = nullptr;          // lblRealityVerdict
    BackgroundTask* task_ = nullptr;

    std::shared_ptr<const HistoryColumns> history_;
    std::optional<RealityCheckRequest> request_;
    bool allowed_ = true;
};

}  // namespace qeltaro::gui
