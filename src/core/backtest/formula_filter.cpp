#include "backtest/formula_filter.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qeltaro {
namespace {

constexpr double kMargin = 0.0001;

// The five statistics in bound order, the rate first.
std::array<double, 5> statisticsOf(const FormulaStats& stats)
{
    return {double(stats.rate), double(stats.maxMissRun), double(stats.maxHitRun), double(stats.lastMissRun),
            double(stats.lastHitRun)};
}

const char* const kBoundNames[kFilterBoundCount] = {
    "正确率下限", "正确率上限", "最大连错下限", "最大连错上限", "最大连对下限",
    "最大连对上限", "最后连错下限", "最后连错上限", "最后连对下限", "最后连对上限",
};

}  // namespace

FilterBounds prefillBounds(const FormulaList& list, const FormulaStatsTable& table)
{
    FilterBounds bounds{100, 0, 32767, 0, 32767, 0, 32767, 0, 32767, 0};
    for (int k = 0; k < list.size() && k < table.size(); ++k) {
        const FormulaStats& stats = table.at(k);
        if (!list.isSelected(k) || !stats.evaluated())
            continue;
        const auto values = statisticsOf(stats);
        for (size_t s = 0; s < values.size(); ++s) {
            bounds[2 * s] = std::min(bounds[2 * s], values[s]);
            bounds[2 * s + 1] = std::max(bounds[2 * s + 1], values[s]);
        }
    }
    return bounds;
}

QString boundText(int item, double value)
{
    if (item >= 2)
        return QString::number(qint64(value));
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, float(value)).ptr;
    return QString::fromLatin1(buffer, int(end - buffer));
}

Result<FilterBounds> parseBounds(const QStringList& texts)
{
    if (texts.size() != kFilterBoundCount)
        return badInput(QStringLiteral("过滤条件应为%1个数（正确率、最大连错、最大连对、最后连错、最后连对的下限和上限），而不是%2个")
                            .arg(kFilterBoundCount).arg(texts.size()));
    FilterBounds bounds{};
    for (int i = 0; i < kFilterBoundCount; ++i) {
        bool ok = false;
        const double value = texts[i].trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            return badInput(QStringLiteral("%1“%2”不是数字").arg(QString::fromUtf8(kBoundNames[i]), texts[i]));
        bounds[size_t(i)] = value;
    }
    return bounds;
}

int applyFilter(const FilterBounds& bounds, FormulaList& list, const FormulaStatsTable& table)
{
    // The rate is held in single precision, and so are its bounds before the margin is applied.
    FilterBounds effective = bounds;
    effective[0] = double(float(bounds[0]));
    effective[1] = double(float(bounds[1]));
    int remaining = 0;
    for (int k = 0; k < list.size(); ++k) {
        if (!list.isSelected(k))
            continue;
        const FormulaStats* stats = k < table.size() ? &table.at(k) : nullptr;
        bool inside = stats && stats->evaluated();
        if (inside) {
            const auto values = statisticsOf(*stats);
            for (size_t s = 0; s < values.size(); ++s) {
                if (!(effective[2 * s] - kMargin <= values[s] && values[s] <= effective[2 * s + 1] + kMargin))
                    inside = false;
            }
        }
        if (inside)
            ++remaining;
        else
            list.selection().set(list.at(k).idx, false);
    }
    return remaining;
}

QString filterResultText(int remaining)
{
    return QStringLiteral("过滤后公式剩余%1条").arg(remaining);
}

}  // namespace qeltaro
