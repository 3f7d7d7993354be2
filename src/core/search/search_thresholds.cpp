#include "search/search_thresholds.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace qeltaro {
namespace {

constexpr double kMargin = 0.0001;

const char* const kNames[kThresholdCount] = {
    "正确率下限", "正确率上限", "最大连错下限", "最大连错上限", "最大连对下限",
    "最大连对上限", "最后连错下限", "最后连错上限", "最后连对下限", "最后连对上限",
};

}  // namespace

ScreeningBounds::ScreeningBounds(const SearchThresholds& t)
{
    for (int i = 0; i < kThresholdCount; ++i) {
        // The rate is held in single precision, and so are its bounds before the margin.
        const double value = i < 2 ? double(float(t[size_t(i)])) : t[size_t(i)];
        bound[size_t(i)] = i % 2 == 0 ? value - kMargin : value + kMargin;
    }
}

QString thresholdName(int index)
{
    return index >= 0 && index < kThresholdCount ? QString::fromUtf8(kNames[index]) : QString();
}

double thresholdFromText(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

SearchThresholds thresholdsFromTexts(const QStringList& texts)
{
    SearchThresholds t;
    for (int i = 0; i < kThresholdCount; ++i)
        t[size_t(i)] = i < texts.size() ? thresholdFromText(texts[i]) : std::numeric_limits<double>::quiet_NaN();
    return t;
}

Result<SearchThresholds> parseThresholdList(const QString& text)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != kThresholdCount)
        return badInput(QStringLiteral("阈值应为%1个数（正确率、最大连错、最大连对、最后连错、最后连对的下限和上限），而不是%2个")
                            .arg(kThresholdCount).arg(parts.size()));
    return parseThresholdTexts(parts);
}

Result<SearchThresholds> parseThresholdTexts(const QStringList& texts)
{
    SearchThresholds t = thresholdsFromTexts(texts);
    for (int i = 0; i < kThresholdCount; ++i) {
        if (std::isnan(t[size_t(i)]))
            return badInput(QStringLiteral("%1“%2”不是数字").arg(thresholdName(i), texts.value(i).trimmed()));
    }
    return t;
}

QString thresholdText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("不是数字");
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, float(value)).ptr;
    return QString::fromLatin1(buffer, int(end - buffer));
}

}  // namespace qeltaro
