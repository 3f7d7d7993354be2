#pragma once
// frmGSGuolv "公式过滤设置窗口": ten bound boxes, lowest and highest of the rate and of the four
// runs. It opens with the extremes of the selected formulas; "确定(&K)" hands the bounds on
// when every box holds a number.

#include "backtest/formula_filter.h"

#include <QDialog>

#include <array>

class QLineEdit;

namespace qeltaro::gui {

class FormulaFilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormulaFilterDialog(QWidget* parent = nullptr);

    // Fills the boxes and shows the dialog modally.
    void showWithBounds(const FilterBounds& prefill);

signals:
    void boundsConfirmed(const qeltaro::FilterBounds& bounds);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void confirm();

    std::array<QLineEdit*, kFilterBoundCount> boxes_{};  // Text1(0..9)
};

}  // namespace qeltaro::gui
