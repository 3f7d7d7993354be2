#include "gui/search/search_progress_chart.h"

#include "gui/common/chart_parts.h"

#include <algorithm>
#include <cmath>

namespace qeltaro::gui {
namespace {

// A long run keeps its whole course on the plot with every other point dropped now and then.
constexpr int kMaxPoints = 600;

void thinOut(QLineSeries* series)
{
    QList<QPointF> points = series->points();
    QList<QPointF> kept;
    kept.reserve(points.size() / 2 + 1);
    for (qsizetype i = 0; i < points.size(); i += 2)
        kept << points[i];
    if (!points.isEmpty() && kept.last() != points.last())
        kept << points.last();
    series->replace(kept);
}

// From 0 to a round top at or above `value`, in 4 or 5 round steps.
void setNiceRange(QValueAxis* axis, double value)
{
    const double magnitude = std::pow(10.0, std::floor(std::log10(std::max(value, 1.0))));
    for (double step : {0.1, 0.2, 0.25, 0.5, 1.0, 2.0, 2.5, 5.0, 10.0}) {
        const double tick = std::max(1.0, step * magnitude);
        const int ticks = int(std::ceil(value / tick));
        if (ticks <= 5) {
            axis->setRange(0, std::max(1, ticks) * tick);
            axis->setTickCount(std::max(1, ticks) + 1);
            return;
        }
    }
    axis->setRange(0, value);
}

// Whole percents around the rates drawn, a point of room on either side.
void fitRates(QValueAxis* axis, const QLineSeries* a, const QLineSeries* b)
{
    double low = 100, high = 0;
    for (const QLineSeries* series : {a, b}) {
        for (const QPointF& p : series->points()) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    }
    if (low > high)
        return;
    const double bottom = std::max(0.0, std::floor(low) - 1);
    const double top = std::min(100.0, std::ceil(high) + 1);
    axis->setRange(bottom, top);
    // Ticks on whole percents, at most six.
    const int span = int(top - bottom);
    int step = 1;
    while (span / step > 5)
        ++step;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(bottom);
    axis->setTickInterval(step);
}

}  // namespace

// Built with its chart: a view made without one makes a default chart that a later setChart()
// would only release, not delete.
SearchProgressChart::SearchProgressChart(QWidget* parent) : QChartView(newChart(2, Qt::AlignTop), parent)
{
    setObjectName(QStringLiteral("chartProgress"));
    QChart* chart = this->chart();
    // Short names: five lines share a narrow legend.
    verified_ = addLineSeries(chart, QStringLiteral("已验证"));
    found_ = addLineSeries(chart, QStringLiteral("搜到"));
    QPen dashed = QLineSeries().pen();
    dashed.setStyle(Qt::DashLine);
    shuffled_ = addLineSeries(chart, QStringLiteral("打乱通过"), dashed);
    bestReal_ = addLineSeries(chart, QStringLiteral("最优%"));
    QPen dotted = QLineSeries().pen();
    dotted.setStyle(Qt::DotLine);
    dotted.setWidth(2);
    luck_ = addLineSeries(chart, QStringLiteral("运气最优%"), dotted);
    QFont small = chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    chart->legend()->setFont(small);

    // Whole numbers written out: "%g" turns a million into 1e+06. The ticks are whole numbers.
    time_ = addValueAxis(chart, Qt::AlignBottom, QStringLiteral("%d"), QStringLiteral("秒"));
    verifiedAxis_ = addValueAxis(chart, Qt::AlignLeft, QStringLiteral("%d"));
    foundAxis_ = addValueAxis(chart, Qt::AlignRight, QStringLiteral("%d"));
    attachAxes({verified_}, time_, verifiedAxis_);
    attachAxes({found_, shuffled_}, time_, foundAxis_);
    rateAxis_ = addValueAxis(chart, Qt::AlignRight, QStringLiteral("%.0f"));
    attachAxes({bestReal_, luck_}, time_, rateAxis_);
    // The luck line in the colour of the real one, dotted: the pair reads as one comparison.
    QPen luckPen = luck_->pen();
    luckPen.setColor(bestReal_->pen().color());
    luck_->setPen(luckPen);
    rateAxis_->setLinePenColor(bestReal_->pen().color());
    // Three value axes share a narrow plot: smaller labels keep whole numbers whole.
    for (QValueAxis* axis : {verifiedAxis_, foundAxis_, rateAxis_})
        axis->setLabelsFont(small);
    verifiedAxis_->setLinePenColor(verified_->pen().color());
    foundAxis_->setLinePenColor(found_->pen().color());
    setRenderHint(QPainter::Antialiasing);
    restart();
}

void SearchProgressChart::restart()
{
    verified_->clear();
    found_->clear();
    shuffled_->clear();
    bestReal_->clear();
    luck_->clear();
    rateAxis_->setRange(0, 100);
    setNiceRange(time_, 10);
    setNiceRange(verifiedAxis_, 5);
    setNiceRange(foundAxis_, 5);
}

void SearchProgressChart::add(double seconds, double verified, double found, double shuffledPasses)
{
    verified_->append(seconds, verified);
    found_->append(seconds, found);
    shuffled_->append(seconds, shuffledPasses);
    if (verified_->count() > kMaxPoints) {
        for (QLineSeries* series : {verified_, found_, shuffled_, bestReal_, luck_})
            thinOut(series);
    }
    // Axes only grow, to round tops with round ticks.
    if (seconds > time_->max())
        setNiceRange(time_, seconds);
    if (verified > verifiedAxis_->max())
        setNiceRange(verifiedAxis_, verified);
    if (std::max(found, shuffledPasses) > foundAxis_->max())
        setNiceRange(foundAxis_, std::max(found, shuffledPasses));
}

void SearchProgressChart::addBest(double seconds, std::optional<double> real, std::optional<double> shuffled)
{
    if (real)
        bestReal_->append(seconds, *real);
    if (shuffled)
        luck_->append(seconds, *shuffled);
    if (real || shuffled)
        fitRates(rateAxis_, bestReal_, luck_);
}

int SearchProgressChart::pointCount() const
{
    return int(verified_->count());
}

}  // namespace qeltaro::gui
