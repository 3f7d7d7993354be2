#pragma once
// The money of the journal and of a walk-forward run as a chart: the cumulative net of the
// judged predictions, in order, against what chance alone would have left (the expected net).

#include "export/journal_sheet.h"

#include <QList>
#include <QPointF>

#include <vector>

class QChartView;
class QLineSeries;
class QValueAxis;

namespace qeltaro::gui {

class MoneyChart {
public:
    MoneyChart();

    QChartView* view() const { return view_; }
    void show(const std::vector<PredictionRow>& journal, const std::vector<PredictionRow>& walk);

    const QLineSeries* journalNetSeries() const { return journalNet_; }
    const QLineSeries* journalExpectedSeries() const { return journalExpected_; }
    const QLineSeries* walkForwardNetSeries() const { return walkNet_; }

private:
    QChartView* view_ = nullptr;
    QLineSeries* journalNet_ = nullptr;
    QLineSeries* journalExpected_ = nullptr;
    QLineSeries* walkNet_ = nullptr;
    QLineSeries* walkExpected_ = nullptr;
    QValueAxis* predictionAxis_ = nullptr;
    QValueAxis* yuanAxis_ = nullptr;
};

}  // namespace qeltaro::gui
