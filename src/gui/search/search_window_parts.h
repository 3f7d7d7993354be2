#pragma once
// What the search window's three panels (manual search, scheme, smart setting) share. The window
// owns each part; a panel reads the category and thresholds chosen and shows its run in the same
// counters, list, plot and checks, and never reaches into another panel.

#include "search/best_rates.h"
#include "search/found_formula.h"
#include "search/search_thresholds.h"
#include "search/shuffled_control.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace qeltaro {
class SchemeSettings;
}

namespace qeltaro::gui {

class BestRatesPanel;
class FoundFormulaPanel;
class RunClock;
class SearchCategoryPanel;
class SearchChecksPanel;
class SearchProgressChart;
class ThresholdEditor;
class WindowHost;

// A button of the search window: Enter in a box presses none of them.
QPushButton* searchButton(const char* name, const QString& caption);

// The boxes every run counts in: 当前验证公式数 (Text3), 搜索到公式数 (Text4) and the candidate
// last evaluated, 当前公式 (Text11).
class SearchCounters {
public:
    SearchCounters();

    // Lays the boxes and their captions out in two rows of `grid`'s four columns from `firstRow`.
    void placeIn(QGridLayout* grid, int firstRow) const;

    void showVerified(std::uint64_t count);
    void showFound(long long count);
    QString candidate() const;
    void showCandidate(const QString& text);

private:
    QLineEdit* verified_ = nullptr;
    QLineEdit* found_ = nullptr;
    QLineEdit* candidate_ = nullptr;
};

struct SearchWindowParts {
    WindowHost& main;
    SchemeSettings& settings;
    SearchCategoryPanel& category;
    ThresholdEditor& thresholds;
    SearchCounters& counters;
    FoundFormulaPanel& found;
    SearchProgressChart& chart;
    SearchChecksPanel& checks;
    BestRatesPanel& bestRates;

    // A run begins: nothing verified yet, a new plot, no checks.
    void beginRun() const;
    // The latest candidate and its statistics, once there is one.
    void showCandidate(const QString& text, const CandidateStatistics& stats) const;
    // A search's counts so far: a point of the plot (none while it is paused), the pass rates and
    // the best rates, real and of luck.
    void showPasses(const RunClock& clock, std::uint64_t verified, long long found, std::uint64_t shuffledPasses,
                    const BestRates& best) const;
    // A run has ended: its checks, and each of its formulas' held-out line in the list.
    void showChecks(const std::optional<ShuffledControl>& control, int holdoutPeriods,
                    const std::vector<FoundFormula>& found) const;
};

}  // namespace qeltaro::gui
