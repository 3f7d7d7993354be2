#pragma once
// The search window's checks against luck: the newest periods held out of the search, and the
// pass rates on the real and on the shuffled history with one plain sentence on what they mean.

#include "search/found_formula.h"
#include "search/shuffled_control.h"

#include <QGroupBox>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qeltaro::gui {

class SearchChecksPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SearchChecksPanel(QWidget* parent = nullptr);

    // The periods to hold out, 0 when the check is off.
    int holdoutPeriods() const;

    void clear();
    // While a run goes on: the rates so far.
    void showRates(std::uint64_t verified, std::uint64_t realPasses, std::uint64_t shuffledPasses);
    // When it has ended: the rates, their verdict and what the held-out periods said.
    void showOutcome(const std::optional<ShuffledControl>& control, int holdoutPeriods,
                     const std::vector<FoundFormula>& found);

private:
    QCheckBox* holdoutCheck_ = nullptr;  // chkHoldout
    QSpinBox* holdoutBox_ = nullptr;     // txtHoldout
    QLineEdit* realRate_ = nullptr;      // txtRealRate
    QLineEdit* shuffledRate_ = nullptr;  // txtShuffledRate
    QLabel* verdict_ = nullptr;          // lblVerdict
};

// A found formula's line on the held-out periods, for its tool tip in the found list.
QString holdoutText(int periods, const HoldoutResult& result);

}  // namespace qeltaro::gui
