#include "search/scheme_settings.h"

#include "search/candidate_generator.h"
#include "search/search_category.h"
#include "settings/settings.h"


#include <algorithm>
#include <cmath>

namespace qeltaro {
namespace {

constexpr double kNoLimit = 32768;  // one more than a 16-bit run counter holds

const QString kWantedSection = QStringLiteral("SSSZ");

QString thresholdKey(Kind kind, int searchNumber, int index)
{
    return QStringLiteral("%1/%2").arg(searchNumber - 1).arg((isKill(kind) ? 0 : 10) + index);
}

QString operandKey(int searchNumber)
{
    return QStringLiteral("%1/text2").arg(searchNumber);
}

QString wantedKey(Kind kind, int searchNumber)
{
    return kWantedSection + u'/' + QString::number((isKill(kind) ? 0 : 10) + searchNumber);
}

Status checkSearchNumber(int searchNumber)
{
    if (!categoryOfSearchNumber(searchNumber))
        return badInput(QStringLiteral("搜索类别编号应为1到5或7到10，而不是%1").arg(searchNumber));
    return success();
}

}  // namespace

SearchThresholds defaultThresholds(Kind kind, int searchNumber)
{
    // Rate low, longest miss high, longest hit low and final hit low; the other six are open.
    struct Row {
        double rateLow, maxMissHigh, maxHitLow, lastHitLow;
    };
    Row row{};
    if (searchNumber <= 5) {
        row = isKill(kind) ? Row{94.6, 2, 48, 32} : Row{12, 28, 2, 2};
    } else {
        switch (searchNumber) {
        case 7: row = isKill(kind) ? Row{86, 2, 32, 6} : Row{26, 16, 3, 2}; break;
        case 8: row = isKill(kind) ? Row{80, 3, 16, 8} : Row{34, 12, 4, 2}; break;
        case 9: row = isKill(kind) ? Row{72, 4, 12, 4} : Row{40, 10, 4, 3}; break;
        default: row = isKill(kind) ? Row{66, 5, 10, 4} : Row{50, 10, 6, 3}; break;
        }
    }
    return {row.rateLow, 100, 0, row.maxMissHigh, row.maxHitLow, kNoLimit, 0, 0, row.lastHitLow, kNoLimit};
}

SearchThresholds SchemeSettings::thresholds(Kind kind, int searchNumber) const
{
    const SearchThresholds defaults = defaultThresholds(kind, searchNumber);
    SearchThresholds t{};
    for (int i = 0; i < kThresholdCount; ++i) {
        const std::optional<QString> stored = settings_.searchValue(thresholdKey(kind, searchNumber, i));
        // The table holds single-precision values, the built-in ones too.
        t[size_t(i)] = double(float(stored ? thresholdFromText(*stored) : defaults[size_t(i)]));
    }
    return t;
}

Status SchemeSettings::setThresholds(Kind kind, int searchNumber, const SearchThresholds& thresholds)
{
    if (Status s = checkSearchNumber(searchNumber); !s)
        return s;
    for (int i = 0; i < kThresholdCount; ++i) {
        if (!std::isfinite(thresholds[size_t(i)]))
            return badInput(QStringLiteral("%1不是数字，参数设置未保存").arg(thresholdName(i)));
    }
    for (int i = 0; i < kThresholdCount; ++i)
        settings_.setSearchValue(thresholdKey(kind, searchNumber, i), thresholdText(thresholds[size_t(i)]));
    settings_.sync();
    return success();
}

int SchemeSettings::operandCount(int searchNumber) const
{
    bool ok = false;
    const int stored = settings_.searchValue(operandKey(searchNumber)).value_or(QString()).trimmed().toInt(&ok);
    if (!ok)
        return kDefaultOperandCount;
    return std::clamp(stored, kMinOperandCount, kMaxOperandCount);
}

Status SchemeSettings::setOperandCount(int searchNumber, int count)
{
    if (Status s = checkSearchNumber(searchNumber); !s)
        return s;
    if (count < kMinOperandCount || count > kMaxOperandCount)
        return badInput(QStringLiteral("公式运算元数应为%1到%2的整数，而不是%3").arg(kMinOperandCount).arg(kMaxOperandCount).arg(count));
    settings_.setSearchValue(operandKey(searchNumber), QString::number(count));
    settings_.sync();
    return success();
}

Status checkThresholdsAreNumbers(Kind kind, int searchNumber, const SearchThresholds& thresholds)
{
    const auto category = categoryOfSearchNumber(searchNumber);
    for (int i = 0; i < kThresholdCount; ++i) {
        if (std::isnan(thresholds[size_t(i)]))
            return badInput(QStringLiteral("%1%2的%3不是数字")
                                .arg(category ? category->caption() : QString::number(searchNumber), killWord(kind),
                                     thresholdName(i)));
    }
    return success();
}

std::optional<long long> wantedCountFromText(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e15)
        return std::nullopt;
    return (long long)std::ceil(value);
}

WantedCounts SchemeSettings::wantedCounts(Kind kind) const
{
    WantedCounts counts;
    for (int c = 1; c <= kSearchCategoryCount; ++c) {
        const std::optional<QString> stored = settings_.searchValue(wantedKey(kind, c));
        counts[size_t(c - 1)] = stored ? wantedCountFromText(*stored) : kDefaultWantedCount;
    }
    return counts;
}

void SchemeSettings::setWantedCounts(Kind kind, const WantedCounts& counts)
{
    for (int c = 1; c <= kSearchCategoryCount; ++c)
        settings_.setSearchValue(wantedKey(kind, c), QString::number(counts[size_t(c - 1)].value_or(0)));
    settings_.sync();
}

void SchemeSettings::reset()
{
    for (int section = 0; section <= kSearchCategoryCount; ++section) {
        settings_.removeSearchValue(QStringLiteral("%1/text2").arg(section));
        for (int key = 0; key < 2 * kThresholdCount; ++key)
            settings_.removeSearchValue(QStringLiteral("%1/%2").arg(section).arg(key));
    }
    settings_.removeSearchValue(kWantedSection);
    settings_.sync();
}

}  // namespace qeltaro
