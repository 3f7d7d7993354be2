#include "trend/trend_chart.h"

#include "domain/omission.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

namespace qeltaro {
namespace {

QStringList numberLabels(int count)
{
    QStringList labels;
    for (int v = 0; v < count; ++v)
        labels << QString::number(v);
    return labels;
}

// The share of the 1,000 equally likely last-three draws that give each value.
std::vector<double> lastThreeShares(TrendForm form)
{
    std::vector<double> shares(size_t(trendValueLabels(form).size()), 0.0);
    for (int h = 0; h < 10; ++h) {
        for (int t = 0; t < 10; ++t) {
            for (int u = 0; u < 10; ++u)
                shares[size_t(lastThreeFormValue(form, h, t, u))] += 1;
        }
    }
    for (double& share : shares)
        share /= 1000.0;
    return shares;
}

int rowValue(const HistoryColumns& history, const TrendSubject& subject, int row)
{
    if (isLastThreeForm(subject.form))
        return lastThreeFormValue(subject.form, history.digit(row, 3), history.digit(row, 4), history.digit(row, 5));
    return positionFormValue(subject.form, history.digit(row, subject.position));
}

}  // namespace

bool isLastThreeForm(TrendForm form)
{
    return form == TrendForm::Sum || form == TrendForm::Span || form == TrendForm::Shape;
}

QString trendFormName(TrendForm form)
{
    switch (form) {
    case TrendForm::Digit: return QStringLiteral("号码");
    case TrendForm::BigSmall: return QStringLiteral("大小");
    case TrendForm::OddEven: return QStringLiteral("单双");
    case TrendForm::PrimeComposite: return QStringLiteral("质合");
    case TrendForm::Remainder3: return QStringLiteral("012路");
    case TrendForm::Sum: return QStringLiteral("和值");
    case TrendForm::Span: return QStringLiteral("跨度");
    case TrendForm::Shape: return QStringLiteral("形态");
    }
    return {};
}

const QStringList& trendValueLabels(TrendForm form)
{
    static const std::map<TrendForm, QStringList> labels = {
        {TrendForm::Digit, numberLabels(10)},
        {TrendForm::BigSmall, {QStringLiteral("大"), QStringLiteral("小")}},
        {TrendForm::OddEven, {QStringLiteral("单"), QStringLiteral("双")}},
        {TrendForm::PrimeComposite, {QStringLiteral("质"), QStringLiteral("合")}},
        {TrendForm::Remainder3, {QStringLiteral("0路"), QStringLiteral("1路"), QStringLiteral("2路")}},
        {TrendForm::Sum, numberLabels(28)},
        {TrendForm::Span, numberLabels(10)},
        {TrendForm::Shape, {QStringLiteral("豹子"), QStringLiteral("组三"), QStringLiteral("组六")}},
    };
    return labels.at(form);
}

const std::vector<double>& trendValueChances(TrendForm form)
{
    static const std::map<TrendForm, std::vector<double>> chances = {
        {TrendForm::Digit, std::vector<double>(10, 0.1)},
        {TrendForm::BigSmall, {0.5, 0.5}},
        {TrendForm::OddEven, {0.5, 0.5}},
        {TrendForm::PrimeComposite, {0.5, 0.5}},
        {TrendForm::Remainder3, {0.4, 0.3, 0.3}},
        {TrendForm::Sum, lastThreeShares(TrendForm::Sum)},
        {TrendForm::Span, lastThreeShares(TrendForm::Span)},
        {TrendForm::Shape, lastThreeShares(TrendForm::Shape)},
    };
    return chances.at(form);
}

int positionFormValue(TrendForm form, int digit)
{
    switch (form) {
    case TrendForm::BigSmall: return digit >= 5 ? 0 : 1;
    case TrendForm::OddEven: return digit % 2 == 1 ? 0 : 1;
    case TrendForm::PrimeComposite:
        return digit == 1 || digit == 2 || digit == 3 || digit == 5 || digit == 7 ? 0 : 1;
    case TrendForm::Remainder3: return digit % 3;
    default: return digit;
    }
}

int lastThreeFormValue(TrendForm form, int hundreds, int tens, int units)
{
    switch (form) {
    case TrendForm::Sum: return hundreds + tens + units;
    case TrendForm::Span:
        return std::max({hundreds, tens, units}) - std::min({hundreds, tens, units});
    case TrendForm::Shape: {
        const int pairs = int(hundreds == tens) + int(tens == units) + int(hundreds == units);
        return pairs == 3 ? 0 : pairs == 1 ? 1 : 2;
    }
    default: return units;
    }
}

double omissionChance(double q, int omission)
{
    return std::pow(1.0 - q, omission);
}

QString percentText(double chance)
{
    const double percent = chance * 100.0;
    if (percent >= 9.95)
        return QString::number(percent, 'f', 0);
    if (percent >= 0.995)
        return QString::number(percent, 'f', 1);
    if (percent >= 0.005)
        return QString::number(percent, 'f', 2);
    return percent > 0 ? QStringLiteral("<0.01") : QStringLiteral("0");
}

QString chanceText(double chance)
{
    return percentText(chance) + u'%';
}

TrendChart trendChart(const HistoryColumns& history, const TrendSubject& subject, std::optional<int> periods)
{
    TrendChart chart;
    chart.subject = subject;
    const int total = history.rowCount();
    const int n = periods ? std::clamp(*periods, 0, total) : total;
    chart.firstRow = total - n;
    const int valueCount = chart.valueCount();

    OmissionTracker tracker(valueCount);
    for (int row = 0; row < chart.firstRow; ++row)
        tracker.advance(rowValue(history, subject, row));

    TrendStatistics& s = chart.statistics;
    s.appearances.assign(size_t(valueCount), 0);
    s.maxOmission.assign(size_t(valueCount), 0);
    s.currentOmission.assign(size_t(valueCount), 0);
    s.maxRun.assign(size_t(valueCount), 0);
    std::vector<int> run(size_t(valueCount), 0);
    chart.values.reserve(size_t(n));
    chart.omissions.reserve(size_t(n) * size_t(valueCount));
    for (int row = chart.firstRow; row < total; ++row) {
        const int value = rowValue(history, subject, row);
        tracker.advance(value);
        chart.values.push_back(value);
        for (int v = 0; v < valueCount; ++v) {
            const int omission = tracker.omission(v);
            chart.omissions.push_back(omission);
            s.maxOmission[size_t(v)] = std::max(s.maxOmission[size_t(v)], omission);
            run[size_t(v)] = omission == 0 ? run[size_t(v)] + 1 : 0;
            s.maxRun[size_t(v)] = std::max(s.maxRun[size_t(v)], run[size_t(v)]);
        }
        ++s.appearances[size_t(value)];
    }

    const std::vector<double>& chances = trendValueChances(subject.form);
    s.averageOmission.assign(size_t(valueCount), 0.0);
    s.currentOmissionChance.assign(size_t(valueCount), 0.0);
    for (int v = 0; v < valueCount && n > 0; ++v) {
        s.averageOmission[size_t(v)] = double(n - s.appearances[size_t(v)]) / double(s.appearances[size_t(v)] + 1);
        s.currentOmission[size_t(v)] = chart.omission(n - 1, v);
        s.currentOmissionChance[size_t(v)] = omissionChance(chances[size_t(v)], s.currentOmission[size_t(v)]);
    }
    return chart;
}

QString equalChanceNote()
{
    return QStringLiteral("每一期开奖都与前面各期无关：每个号码每期开出的机会都一样（各1/10），大小、和值、形态等每期的机会也都不变，"
                          "不论已经遗漏了多少期：遗漏再久也不会“该出了”。“当前遗漏的随机概率”是纯随机开奖时连续这么多期不出的机会。");
}

}  // namespace qeltaro
