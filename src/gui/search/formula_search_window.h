#pragma once
// The formula search window (frmGSGL): three panels that each own their run (the manual search
// of one category, the scheme over every category, the proposal of thresholds) around what they
// share: the category chosen and its thresholds, the counters, the list of found formulas with
// their saving and export, the plot and the checks against luck. One run at a time: they all
// show their progress in the same boxes.

#include "gui/search/search_window_parts.h"
#include "search/found_formula.h"

#include <QDialog>

#include <array>
#include <memory>

class QVBoxLayout;

namespace qeltaro {
class SchemeSettings;
}

namespace qeltaro::gui {

class BestRatesPanel;
class FoundFormulaPanel;
class ManualSearchPanel;
class SchemePanel;
class SearchCategoryPanel;
class SearchChecksPanel;
class SearchProgressChart;
class SearchRunPanel;
class SmartSettingPanel;
class ThresholdEditor;
class WindowHost;

class FormulaSearchWindow : public QDialog {
    Q_OBJECT
public:
    explicit FormulaSearchWindow(WindowHost& main);
    ~FormulaSearchWindow() override;

    // Whether a search or a threshold proposal is under way (paused ones included).
    bool running() const;
    const FoundFormulaList& found() const;

protected:
    void reject() override;

private:
    QLayout* buildCategoryColumn();
    QLayout* buildRunColumn();
    QLayout* buildPanelColumn();
    void connectParts();
    std::array<SearchRunPanel*, 3> runPanels() const;

    // The chosen category's stored thresholds.
    void loadThresholds();
    // 保存当前种类参数设置: the thresholds and the operand count of the chosen category.
    void saveCategorySettings();
    void updateButtons();
    // Ends the runs, keeping what they found; then asks before found formulas that were neither
    // saved nor exported would be lost. False: the user stays.
    bool readyToClose();

    WindowHost& main_;
    std::unique_ptr<SchemeSettings> settings_;
    SearchCounters counters_;
    SearchCategoryPanel* category_ = nullptr;
    ThresholdEditor* thresholds_ = nullptr;
    FoundFormulaPanel* found_ = nullptr;
    SearchChecksPanel* checks_ = nullptr;
    BestRatesPanel* bestRates_ = nullptr;
    SearchProgressChart* chart_ = nullptr;
    ManualSearchPanel* manual_ = nullptr;
    SchemePanel* scheme_ = nullptr;
    SmartSettingPanel* smart_ = nullptr;
    // The middle column, top to bottom: the manual search with the counters and the found list,
    // then the checks beside the plot. Rows shared by every run go here.
    QVBoxLayout* runColumn_ = nullptr;
};

}  // namespace qeltaro::gui
