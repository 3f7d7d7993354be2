#include "gui/predictions/money_chart.h"

#include "gui/common/chart_parts.h"

#include <QChartView>

#include <algorithm>

namespace qeltaro::gui {
namespace {

struct MoneyLines {
    QList<QPointF> net;
    QList<QPointF> expected;
};

// Net and expected net summed over the judged predictions, in order.
MoneyLines cumulativeMoney(const std::vector<PredictionRow>& rows)
{
    MoneyLines lines;
    lines.net.append(QPointF(0, 0));
    lines.expected.append(QPointF(0, 0));
    int count = 0;
    Mills net = 0;
    double expected = 0;
    for (const PredictionRow& row : rows) {
        if (!row.money)
            continue;
        ++count;
        net += row.money->net();
        expected += row.money->expectedNet();
        lines.net.append(QPointF(count, yuanOf(net)));
        lines.expected.append(QPointF(count, expected));
    }
    return lines;
}

}  // namespace

MoneyChart::MoneyChart()
{
    QChart* chart = newChart(4, Qt::AlignBottom);
    auto line = [chart](const QString& name, const QColor& colour, Qt::PenStyle style) {
        return addLineSeries(chart, name, QPen(colour, 1.5, style));
    };
    // The colours of the count chart beside it: blue for the journal, green for the walk.
    journalNet_ = line(QStringLiteral("预测记录 累计盈亏"), QColor(0, 70, 180), Qt::SolidLine);
    journalExpected_ = line(QStringLiteral("预测记录 随机期望"), QColor(0, 70, 180), Qt::DashLine);
    walkNet_ = line(QStringLiteral("历史模拟 累计盈亏"), QColor(0, 140, 60), Qt::SolidLine);
    walkExpected_ = line(QStringLiteral("历史模拟 随机期望"), QColor(0, 140, 60), Qt::DashLine);
    predictionAxis_ = addValueAxis(chart, Qt::AlignBottom, QStringLiteral("%d"), QStringLiteral("已开奖的预测（按时间先后）"));
    yuanAxis_ = addValueAxis(chart, Qt::AlignLeft, QStringLiteral("%.0f"), QStringLiteral("盈亏（元）"));
    attachAxes({journalNet_, journalExpected_, walkNet_, walkExpected_}, predictionAxis_, yuanAxis_);
    view_ = newChartView(chart, "chtMoney", QStringLiteral("预测记录盈亏"));
    view_->setMinimumSize(360, 200);
    show({}, {});
}

void MoneyChart::show(const std::vector<PredictionRow>& journal, const std::vector<PredictionRow>& walk)
{
    const MoneyLines journalLines = cumulativeMoney(journal);
    const MoneyLines walkLines = cumulativeMoney(walk);
    journalNet_->replace(journalLines.net);
    journalExpected_->replace(journalLines.expected);
    walkNet_->replace(walkLines.net);
    walkExpected_->replace(walkLines.expected);
    double right = 0, low = 0, high = 0;
    for (const QList<QPointF>* points : {&journalLines.net, &journalLines.expected, &walkLines.net, &walkLines.expected}) {
        for (const QPointF& p : *points) {
            right = std::max(right, p.x());
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    }
    // A few yuan at least, so the nice ticks stay whole.
    if (high - low < 4)
        high = low + 4;
    predictionAxis_->setRange(0, wholeTickTop(right));
    yuanAxis_->setRange(low, high);
    yuanAxis_->applyNiceNumbers();
}

}  // namespace qeltaro::gui
