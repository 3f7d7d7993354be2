#pragma once
// 倍投计划 (frmChasePlan): a chase plan's multiples period by period, and in words what they mean:
// the return rate the prize table fixes whatever the multiples, the chance of losing the whole
// chase and how much that is. The plan follows every change of the inputs at once.

#include "domain/category.h"
#include "money/chase_plan.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace qeltaro {
class Store;
}

namespace qeltaro::gui {

class CellTableModel;

// The digits the last calculation kept: one set for group play, one per position for direct play.
struct LastKeptDigits {
    Category category;
    QString period;
    std::vector<std::vector<int>> keptSets;
};

class ChasePlanWindow : public QWidget {
    Q_OBJECT
public:
    // `lastKept` gives the last calculation's kept digits, none before the first.
    ChasePlanWindow(Store& store, std::function<std::optional<LastKeptDigits>()> lastKept, QWidget* parent = nullptr);

    // The inputs as a request.
    ChasePlanRequest shownRequest() const;
    // Makes the plan of the inputs with the prize table as it is now and shows it, or says why
    // there is none.
    void recalculate();
    // Sets the stars and bets to what the last calculation kept.
    void fillFromLastCalculation();

    const std::optional<ChasePlan>& shownPlan() const { return plan_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    Store& store_;
    std::function<std::optional<LastKeptDigits>()> lastKept_;
    std::optional<ChasePlan> plan_;

    QComboBox* starsBox_ = nullptr;
    QSpinBox* betsBox_ = nullptr;
    QSpinBox* periodsBox_ = nullptr;
    QRadioButton* rateOption_ = nullptr;
    QRadioButton* profitOption_ = nullptr;
    QDoubleSpinBox* rateBox_ = nullptr;
    QDoubleSpinBox* profitBox_ = nullptr;
    QCheckBox* hitRateCheck_ = nullptr;
    QDoubleSpinBox* hitRateBox_ = nullptr;
    QPushButton* fillButton_ = nullptr;
    QLabel* filledLabel_ = nullptr;
    QLabel* prizesLabel_ = nullptr;
    QTableView* grid_ = nullptr;
    CellTableModel* model_ = nullptr;
    QLabel* wordsLabel_ = nullptr;
};

}  // namespace qeltaro::gui
