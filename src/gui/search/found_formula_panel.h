#pragma once
// The formulas the search window's runs found (搜索到的合格公式, List1), with their saving into
// the formula tables (Command3 append, Command4 replace) and their export as Chinese text
// (Command20). Saving waits while a run goes on: the list still grows.

#include "search/found_formula.h"
#include "search/found_formula_save.h"

#include <QWidget>

#include <vector>

class QListWidget;
class QPushButton;

namespace qeltaro::gui {

class SearchCategoryPanel;
class SearchCounters;
class WindowHost;

class FoundFormulaPanel : public QWidget {
    Q_OBJECT
public:
    FoundFormulaPanel(WindowHost& main, SearchCategoryPanel& category, SearchCounters& counters);

    const FoundFormulaList& found() const { return found_; }
    long long unsavedCount() const { return found_.unsavedCount(); }
    void beginManualRun() { found_.beginManualRun(); }
    void beginSchemeRun() { found_.beginSchemeRun(); }
    // Lists the formulas a run found since it last reported.
    void add(const std::vector<FoundFormula>& fresh);
    // The held-out line of each formula of the run that has just ended, as its tool tip.
    void showHoldout(int holdoutPeriods, const std::vector<FoundFormula>& found);

    void setIdle(bool idle);
    // Stores the unsaved formulas under the kind chosen now.
    void save(SaveMode mode);
    // Before the window closes: true when nothing found would be lost, or the user saved them or
    // let them go.
    bool readyToClose();

signals:
    // The tables hold more formulas.
    void saved();

private:
    void exportFound();

    WindowHost& main_;
    SearchCategoryPanel& category_;
    SearchCounters& counters_;
    QListWidget* list_ = nullptr;        // List1
    QPushButton* appendButton_ = nullptr;   // Command3
    QPushButton* replaceButton_ = nullptr;  // Command4
    FoundFormulaList found_;
    bool idle_ = true;
};

}  // namespace qeltaro::gui
