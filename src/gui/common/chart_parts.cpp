#include "gui/common/chart_parts.h"

#include "gui/common/chart_image.h"

#include <QChartView>

namespace qeltaro::gui {

QChart* newChart(int margin, Qt::Alignment legendAlignment)
{
    auto* chart = new QChart;
    chart->setMargins(QMargins(margin, margin, margin, margin));
    chart->legend()->setAlignment(legendAlignment);
    return chart;
}

QLineSeries* addLineSeries(QChart* chart, const QString& name, const std::optional<QPen>& pen)
{
    auto* series = new QLineSeries;
    series->setName(name);
    if (pen)
        series->setPen(*pen);
    chart->addSeries(series);
    return series;
}

QValueAxis* addValueAxis(QChart* chart, Qt::Alignment side, const QString& labelFormat, const QString& title)
{
    auto* axis = new QValueAxis;
    if (!title.isEmpty())
        axis->setTitleText(title);
    axis->setLabelFormat(labelFormat);
    chart->addAxis(axis, side);
    return axis;
}

void attachAxes(std::initializer_list<QAbstractSeries*> series, QAbstractAxis* horizontal, QAbstractAxis* vertical)
{
    for (QAbstractSeries* s : series) {
        s->attachAxis(horizontal);
        s->attachAxis(vertical);
    }
}

QChartView* newChartView(QChart* chart, const char* name, const QString& imageName)
{
    auto* view = new QChartView(chart);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    addSaveImageAction(view, imageName);
    return view;
}

}  // namespace qeltaro::gui
