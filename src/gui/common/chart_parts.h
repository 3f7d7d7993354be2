#pragma once
// The pieces every chart of the windows is built from: the chart, its line series and value
// axes, and the view that shows it (antialiased, with "保存图片(&S)..." in its context menu).

#include "common/display_colour.h"

#include <QChart>
#include <QColor>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include <initializer_list>
#include <optional>

class QChartView;
class QSize;

namespace qeltaro::gui {

inline QColor colourOf(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

QChart* newChart(int margin, Qt::Alignment legendAlignment);

// A line series added to `chart`; without a pen it takes the chart theme's.
QLineSeries* addLineSeries(QChart* chart, const QString& name, const std::optional<QPen>& pen = std::nullopt);

// A value axis added to `chart` on `side`, its labels written by `labelFormat` ("%d", "%.0f").
QValueAxis* addValueAxis(QChart* chart, Qt::Alignment side, const QString& labelFormat, const QString& title = {});

void attachAxes(std::initializer_list<QAbstractSeries*> series, QAbstractAxis* horizontal, QAbstractAxis* vertical);

// The view of `chart`; its pictures are saved under `imageName`.
QChartView* newChartView(QChart* chart, const char* name, const QString& imageName);

}  // namespace qeltaro::gui
