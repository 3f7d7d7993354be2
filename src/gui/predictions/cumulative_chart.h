#pragma once
// A chart of the journal and of a walk-forward run side by side, each as a running total
// (solid) against what chance alone would have given (dashed): the successes of the slots that
// are evidence, or the net of the judged predictions in yuan.

#include "export/journal_sheet.h"

#include <QList>
#include <QPointF>
#include <QString>

#include <vector>

class QChartView;
class QLineSeries;
class QValueAxis;

namespace qeltaro::gui {

struct CumulativeLines {
    QList<QPointF> actual;
    QList<QPointF> expected;
};

// Successes and their chance expectation over the slots that are evidence, in order.
CumulativeLines cumulativeSuccesses(const std::vector<PredictionRow>& rows);
// Net and expected net in yuan over the judged predictions, in order.
CumulativeLines cumulativeMoney(const std::vector<PredictionRow>& rows);

class CumulativeChart {
public:
    struct Words {
        const char* name;    // the view's object name
        QString imageName;   // its pictures' name
        QString total;       // the running total: 累计成功
        QString horizontal;  // the axis titles
        QString vertical;
        Qt::Alignment legend;
    };
    explicit CumulativeChart(const Words& words);

    QChartView* view() const { return view_; }
    // Totals can fall below zero (money): then the axis reaches down to them.
    void show(const CumulativeLines& journal, const CumulativeLines& walk);

    const QLineSeries* journalTotal() const { return journalTotal_; }
    const QLineSeries* journalExpected() const { return journalExpected_; }
    const QLineSeries* walkTotal() const { return walkTotal_; }

private:
    QChartView* view_ = nullptr;
    QLineSeries* journalTotal_ = nullptr;
    QLineSeries* journalExpected_ = nullptr;
    QLineSeries* walkTotal_ = nullptr;
    QLineSeries* walkExpected_ = nullptr;
    QValueAxis* horizontal_ = nullptr;
    QValueAxis* vertical_ = nullptr;
};

}  // namespace qeltaro::gui
