#include "gui/backtest/hit_rate_chart_window.h"

#include "backtest/rolling_hit_rate.h"
#include "gui/common/chart_image.h"
#include "gui/common/chart_parts.h"
#include "gui/common/widgets.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace qeltaro::gui {

HitRateChartWindow::HitRateChartWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHitRate"));
    setWindowTitle(QStringLiteral("公式命中率走势"));

    formulaLabel_ = textLabel(QStringLiteral("lblFormula"));
    summaryLabel_ = textLabel(QStringLiteral("lblSummary"));

    windowBox_ = new QSpinBox;
    windowBox_->setObjectName(QStringLiteral("txtWindow"));
    windowBox_->setRange(10, 5000);
    windowBox_->setSingleStep(10);
    windowBox_->setValue(kDefaultRollingWindow);
    windowBox_->setSuffix(QStringLiteral(" 期"));
    windowBox_->setToolTip(QStringLiteral("每一点是截至该期最近这么多期预测中的命中比例"));
    connect(windowBox_, &QSpinBox::valueChanged, this, [this] { redraw(); });

    QChart* chart = newChart(4, Qt::AlignBottom);
    rateSeries_ = addLineSeries(chart, QStringLiteral("滚动命中率"), QPen(QColor(0, 70, 180), 1.5));
    chanceSeries_ = addLineSeries(chart, QStringLiteral("随机命中率"), QPen(QColor(200, 0, 0), 1.5, Qt::DashLine));
    rowAxis_ = addValueAxis(chart, Qt::AlignBottom, QStringLiteral("%d"), QStringLiteral("历史期数（从最早一期起）"));
    rateAxis_ = addValueAxis(chart, Qt::AlignLeft, QStringLiteral("%.0f"), QStringLiteral("命中率 %"));
    attachAxes({rateSeries_, chanceSeries_}, rowAxis_, rateAxis_);
    const QString imageName = QStringLiteral("公式命中率走势");
    chartView_ = newChartView(chart, "chtHitRate", imageName);
    chartView_->setMinimumSize(640, 320);

    auto* saveButton = namedButton(QStringLiteral("cmdSaveImage"), saveImageCaption());
    connect(saveButton, &QPushButton::clicked, this, [this, imageName] { saveChartImage(chartView_, imageName); });
    auto* closeButton = closeWindowButton(this);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("统计窗口：")));
    controls->addWidget(windowBox_);
    controls->addStretch();
    controls->addWidget(saveButton);
    controls->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(formulaLabel_);
    layout->addWidget(summaryLabel_);
    layout->addWidget(chartView_, 1);
    layout->addLayout(controls);
    resize(900, 520);
}

int HitRateChartWindow::window() const
{
    return windowBox_->value();
}

void HitRateChartWindow::showFormula(const QString& text, FormulaVerification verification, double chance,
                                     const QString& firstPeriod, const QString& lastPeriod)
{
    text_ = text;
    verification_ = std::move(verification);
    chance_ = chance;
    firstPeriod_ = firstPeriod;
    lastPeriod_ = lastPeriod;
    formulaLabel_->setText(text_);
    redraw();
    showInFront(this);
}

void HitRateChartWindow::redraw()
{
    const RollingHitRate rolling = rollingHitRate(verification_, window());
    QList<QPointF> points;
    points.reserve(qsizetype(rolling.points.size()));
    double lowest = chance_ * 100, highest = chance_ * 100;
    for (const HitRatePoint& p : rolling.points) {
        points.append(QPointF(p.row + 1, p.rate * 100));
        lowest = std::min(lowest, p.rate * 100);
        highest = std::max(highest, p.rate * 100);
    }
    rateSeries_->replace(points);
    const int rows = std::max(verification_.rowCount(), 2);
    chanceSeries_->replace(QList<QPointF>{QPointF(1, chance_ * 100), QPointF(rows, chance_ * 100)});
    rowAxis_->setRange(1, rows);
    rateAxis_->setRange(std::max(0.0, lowest - 5), std::min(100.0, highest + 5));
    rateAxis_->applyNiceNumbers();

    QString summary = QStringLiteral("全部%1期预测命中%2期（%3%），随机命中率%4%")
                          .arg(rolling.predictions)
                          .arg(rolling.hits)
                          .arg(rolling.overallRate() * 100, 0, 'f', 2)
                          .arg(chance_ * 100, 0, 'f', 2);
    if (rolling.points.empty())
        summary += QStringLiteral("；历史不足%1期，无法画出走势").arg(window());
    else if (!firstPeriod_.isEmpty())
        summary += QStringLiteral("；%1至%2").arg(firstPeriod_, lastPeriod_);
    summaryLabel_->setText(summary);
}

}  // namespace qeltaro::gui
