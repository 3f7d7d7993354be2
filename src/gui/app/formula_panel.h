#pragma once
// The right of the main window: the frames that choose the category, its kind, the period to
// calculate and the method; the formula list; the box a formula is typed into; the command
// buttons. It tells what the user chose; the main window does the work.

#include "domain/kind.h"
#include "gui/common/window_host.h"

#include <QWidget>

#include <array>
#include <optional>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qeltaro {
class AnalysisSession;
struct FormulaListKey;
}  // namespace qeltaro

namespace qeltaro::gui {

class CommandButtons;
class FormulaListView;

class FormulaPanel : public QWidget {
    Q_OBJECT
public:
    FormulaPanel(AnalysisSession& session, QWidget* parent);

    FormulaListView& list() const { return *list_; }
    const CommandButtons& commands() const { return *commands_; }
    QPushButton* addFormulaButton() const { return addFormula_; }  // Command1

    CalculationChoice calculationChoice() const;
    QString typedFormula() const;
    void clearTypedFormula();
    void focusTypedFormula();
    // The options of a list, without telling anyone.
    void showListOptions(const FormulaListKey& key);
    // 一星直选 kill formulas for the next period, by the stored method.
    void chooseStartOptions(bool calculateSelected);
    void setLatestPeriod(const QString& period);

signals:
    // 位数选择 or 玩法选择 changed: the category is now `positions` positions, grouped or not.
    void categoryChosen(int positions, bool group);
    void kindChosen(Kind kind);
    void methodChosen(CalculationMethod method);
    // A click (left) or right click on a formula row.
    void formulaReleased(int row, int column, Qt::MouseButton button);
    // Enter in the formula box or 添加所输公式.
    void addTypedFormula();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildFrames();
    QWidget* buildList();

    AnalysisSession& session_;
    std::array<QRadioButton*, 6> positionOptions_{};    // optXing(1..5)
    std::array<QRadioButton*, 2> playOptions_{};        // opTDG(0..1)
    std::array<QRadioButton*, 2> kindOptions_{};        // Option2: 杀 / 生
    std::array<QRadioButton*, 2> periodModeOptions_{};  // Option5
    std::array<QRadioButton*, 2> methodOptions_{};      // Option6
    QLineEdit* latestPeriodBox_ = nullptr;  // Text3
    FormulaListView* list_ = nullptr;       // MSFlexGrid2
    QLineEdit* formulaBox_ = nullptr;       // Text2
    QPushButton* addFormula_ = nullptr;     // Command1
    CommandButtons* commands_ = nullptr;
};

}  // namespace qeltaro::gui
