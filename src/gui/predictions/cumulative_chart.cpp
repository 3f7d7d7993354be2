#include "gui/predictions/cumulative_chart.h"

#include "gui/common/chart_parts.h"

#include <QChartView>

#include <algorithm>
#include <cmath>

namespace qeltaro::gui {
namespace {

// An axis top that is a multiple of four, so its five ticks fall on whole numbers.
double wholeTickTop(double highest)
{
    return std::max(4.0, std::ceil(highest / 4.0) * 4.0);
}

template <typename Step>
CumulativeLines runningTotals(const std::vector<PredictionRow>& rows, Step step)
{
    CumulativeLines lines;
    lines.actual.append(QPointF(0, 0));
    lines.expected.append(QPointF(0, 0));
    double total = 0, expected = 0;
    for (const PredictionRow& row : rows) {
        if (!step(row, total, expected))
            continue;
        const double count = double(lines.actual.size());
        lines.actual.append(QPointF(count, total));
        lines.expected.append(QPointF(count, expected));
    }
    return lines;
}

}  // namespace

CumulativeLines cumulativeSuccesses(const std::vector<PredictionRow>& rows)
{
    return runningTotals(rows, [](const PredictionRow& row, double& successes, double& expected) {
        if (!row.success || !row.evidence)
            return false;
        successes += *row.success ? 1 : 0;
        expected += row.chance;
        return true;
    });
}

CumulativeLines cumulativeMoney(const std::vector<PredictionRow>& rows)
{
    Mills net = 0;  // summed exactly, shown in yuan
    return runningTotals(rows, [&net](const PredictionRow& row, double& total, double& expected) {
        if (!row.money)
            return false;
        net += row.money->net();
        total = yuanOf(net);
        expected += row.money->expectedNet();
        return true;
    });
}

CumulativeChart::CumulativeChart(const Words& words)
{
    QChart* chart = newChart(4, words.legend);
    auto line = [chart](const QString& name, const QColor& colour, Qt::PenStyle style) {
        return addLineSeries(chart, name, QPen(colour, 1.5, style));
    };
    journalTotal_ = line(QStringLiteral("预测记录 ") + words.total, QColor(0, 70, 180), Qt::SolidLine);
    journalExpected_ = line(QStringLiteral("预测记录 随机期望"), QColor(0, 70, 180), Qt::DashLine);
    walkTotal_ = line(QStringLiteral("历史模拟 ") + words.total, QColor(0, 140, 60), Qt::SolidLine);
    walkExpected_ = line(QStringLiteral("历史模拟 随机期望"), QColor(0, 140, 60), Qt::DashLine);
    horizontal_ = addValueAxis(chart, Qt::AlignBottom, QStringLiteral("%d"), words.horizontal);
    vertical_ = addValueAxis(chart, Qt::AlignLeft, QStringLiteral("%.0f"), words.vertical);
    attachAxes({journalTotal_, journalExpected_, walkTotal_, walkExpected_}, horizontal_, vertical_);
    view_ = newChartView(chart, words.name, words.imageName);
    view_->setMinimumSize(400, 200);
    show({}, {});
}

void CumulativeChart::show(const CumulativeLines& journal, const CumulativeLines& walk)
{
    journalTotal_->replace(journal.actual);
    journalExpected_->replace(journal.expected);
    walkTotal_->replace(walk.actual);
    walkExpected_->replace(walk.expected);
    double right = 0, low = 0, high = 0;
    for (const QList<QPointF>* points : {&journal.actual, &journal.expected, &walk.actual, &walk.expected}) {
        for (const QPointF& p : *points) {
            right = std::max(right, p.x());
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    }
    horizontal_->setRange(0, wholeTickTop(right));
    if (low >= 0) {
        // The chart gives the upright title only what the widest label leaves beyond the width of
        // "...": labels of one digit left it too little, and it showed as "...". Two digits do.
        vertical_->setRange(0, wholeTickTop(std::max(high, 12.0)));
        return;
    }
    // Nice ticks for a range of a few units at least stay whole.
    vertical_->setRange(low, std::max(high, low + 4));
    vertical_->applyNiceNumbers();
}

}  // namespace qeltaro::gui
