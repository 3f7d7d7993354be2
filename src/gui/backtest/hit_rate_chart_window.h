#pragma once
// "公式命中率走势": one formula's hit rate over the history, as the share of hits among the latest
// N predictions at every period (N adjustable, one day by default), with the chance rate drawn
// in, so a steady edge can be told from a lucky stretch. Asking for another formula while the
// window is open redraws it.

#include "backtest/formula_verification.h"

#include <QWidget>

class QChartView;
class QLabel;
class QLineSeries;
class QSpinBox;
class QValueAxis;

namespace qeltaro::gui {

class HitRateChartWindow : public QWidget {
    Q_OBJECT
public:
    explicit HitRateChartWindow(QWidget* parent = nullptr);

    // `chance` is 0..1; the first and last period name the stretch the chart covers.
    void showFormula(const QString& text, FormulaVerification verification, double chance, const QString& firstPeriod,
                     const QString& lastPeriod);

    int window() const;
    // What the chart shows, for tests: the rolling rates (percent) by row.
    const QLineSeries* rateSeries() const { return rateSeries_; }
    const QLineSeries* chanceSeries() const { return chanceSeries_; }

private:
    void redraw();

    QLabel* formulaLabel_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QSpinBox* windowBox_ = nullptr;
    QChartView* chartView_ = nullptr;
    QLineSeries* rateSeries_ = nullptr;
    QLineSeries* chanceSeries_ = nullptr;
    QValueAxis* rowAxis_ = nullptr;
    QValueAxis* rateAxis_ = nullptr;
    QString text_;
    FormulaVerification verification_;
    double chance_ = 0;
    QString firstPeriod_;
    QString lastPeriod_;
};

}  // namespace qeltaro::gui
