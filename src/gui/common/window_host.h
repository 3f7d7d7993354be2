#pragma once
// What the command groups and tool windows need of the main window. They hold one of these
// instead of the main window itself, so no window module depends on the main window's file.

#include "backtest/category_calculation.h"
#include "session/analysis_session.h"

#include <QString>
#include <QWidget>

#include <optional>

namespace qeltaro::gui {

class BackgroundTask;

// What the calculation frames choose: the method, and a past period to re-check instead of the
// next one.
struct CalculationChoice {
    CalculationMethod method = CalculationMethod::Best;
    std::optional<QString> pastPeriod;
};

class WindowHost {
public:
    // The parent of the dialogs and tool windows opened for it.
    virtual QWidget* hostWidget() = 0;
    virtual AnalysisSession& session() = 0;
    // Long work (online updates, searches, large exports) runs through this, one at a time.
    virtual BackgroundTask& task() = 0;
    // The refresh cycle: formula list, history grid (with the next period), back-test.
    virtual void refresh() = 0;
    // Refresh after a delete: the list keeps the selection flags the delete carried over.
    virtual void refreshKeepingSelection() = 0;
    // The text of the period box: exports name their files by it.
    virtual QString currentPeriod() const = 0;
    // Where the store lives and every export is written.
    QString dataFolder() { return session().store().dataDir(); }

protected:
    ~WindowHost() = default;
};

// The formula and history commands also change and reload the lists.
class ListCommandsHost : public WindowHost {
public:
    virtual void reloadFormulaList() = 0;
    virtual void reloadHistoryGrid() = 0;
    virtual void backtest() = 0;
    virtual void focusFirstDigit() = 0;
    // The whole store was replaced (a backup restored): the game, the lists and the history.
    virtual void storeReplaced() = 0;
    // Switches the selectors to a category and kind and runs the refresh cycle.
    virtual void showList(const FormulaListKey& key) = 0;
    // The idx of the formula the last click or right click on the list chose, while the list
    // still shows it.
    virtual std::optional<int> chosenFormulaIdx() const = 0;
    virtual void forgetChosenFormula() = 0;
    // The history period that the last click or right click chose.
    virtual QString selectedPeriod() const = 0;
    // The formula typed into the formula box; taken (the box emptied) once added, the box
    // focused again when it is refused.
    virtual QString typedFormula() const = 0;
    virtual void takeTypedFormula() = 0;
    virtual void focusTypedFormula() = 0;

    // What the commands on the chosen formula say when there is none.
    static QString noChosenFormulaMessage() { return QStringLiteral("请先在公式列表中用鼠标点选一个公式。"); }

protected:
    ~ListCommandsHost() = default;
};

}  // namespace qeltaro::gui
