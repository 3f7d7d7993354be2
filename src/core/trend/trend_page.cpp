#include "trend/trend_page.h"

#include "domain/parameter_catalogue.h"

#include <algorithm>

namespace qeltaro {

const QStringList& trendStatisticLabels()
{
    static const QStringList labels = {QStringLiteral("出现次数"), QStringLiteral("平均遗漏"),
                                       QStringLiteral("最大遗漏"), QStringLiteral("当前遗漏"),
                                       QStringLiteral("最大连出"), QStringLiteral("当前遗漏的随机概率%")};
    return labels;
}

TrendPage::TrendPage(const HistoryColumns& history, int position, std::optional<int> periods) : position_(position)
{
    auto addChart = [&](TrendForm form) {
        charts_.push_back(trendChart(history, {form, position == 0 ? 5 : position}, periods));
    };
    if (position == 0) {
        for (TrendForm form : kLastThreeForms)
            addChart(form);
    } else {
        for (TrendForm form : kPositionForms)
            addChart(form);
    }
    columnChart_ = {-1, -1};
    columnValue_ = {0, 0};
    for (int c = 0; c < int(charts_.size()); ++c) {
        for (int v = 0; v < charts_[size_t(c)].valueCount(); ++v) {
            columnChart_.push_back(c);
            columnValue_.push_back(v);
        }
    }
    const TrendChart& first = charts_.front();
    for (int row = first.firstRow; row < first.firstRow + first.rowCount(); ++row) {
        periods_ << history.period(row);
        draws_ << digitsText(history.digits(row));
    }
}

QString TrendPage::title() const
{
    return position_ == 0 ? QStringLiteral("后三") : positionName(position_);
}

QString TrendPage::groupTitle(int column) const
{
    const int chart = chartOfColumn(column);
    if (chart < 0 || valueOfColumn(column) != 0)
        return {};
    const TrendForm form = charts_[size_t(chart)].subject.form;
    return form == TrendForm::Digit ? QStringLiteral("%1号码分布").arg(title()) : trendFormName(form);
}

QString TrendPage::header(int column) const
{
    if (column == 0)
        return QStringLiteral("期号");
    if (column == 1)
        return QStringLiteral("开奖号");
    return trendValueLabels(charts_[size_t(chartOfColumn(column))].subject.form)[valueOfColumn(column)];
}

QString TrendPage::text(int row, int column) const
{
    if (isStatisticRow(row)) {
        const int statistic = row - drawRowCount();
        if (column == 0)
            return trendStatisticLabels()[statistic];
        if (column == 1)
            return {};
        return statisticText(statistic, chartOfColumn(column), valueOfColumn(column));
    }
    if (column == 0)
        return periods_[row];
    if (column == 1)
        return draws_[row];
    const TrendChart& chart = charts_[size_t(chartOfColumn(column))];
    const int value = valueOfColumn(column);
    if (chart.values[size_t(row)] == value)
        return trendValueLabels(chart.subject.form)[value];
    return QString::number(chart.omission(row, value));
}

bool TrendPage::isDrawn(int row, int column) const
{
    if (isStatisticRow(row) || column < kLeadingColumns)
        return false;
    return charts_[size_t(chartOfColumn(column))].values[size_t(row)] == valueOfColumn(column);
}

Rgb TrendPage::drawnFill(int column) const
{
    // One colour per chart, so neighbouring charts stand apart.
    static constexpr Rgb kFills[] = {{200, 30, 30}, {30, 90, 200}, {0, 130, 120}, {130, 60, 170}, {210, 110, 0}};
    return kFills[std::max(0, chartOfColumn(column)) % 5];
}

QString TrendPage::statisticText(int statistic, int chart, int value) const
{
    const TrendStatistics& s = charts_[size_t(chart)].statistics;
    const size_t v = size_t(value);
    switch (statistic) {
    case 0: return QString::number(s.appearances[v]);
    case 1: return QString::number(s.averageOmission[v], 'f', 2);
    case 2: return QString::number(s.maxOmission[v]);
    case 3: return QString::number(s.currentOmission[v]);
    case 4: return QString::number(s.maxRun[v]);
    default: return percentText(s.currentOmissionChance[v]);
    }
}

}  // namespace qeltaro
