#include "backtest/sort_settings.h"

#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <numeric>

namespace qeltaro {

QString sortKeyColumn(SortKey key)
{
    switch (key) {
    case SortKey::Rate: return QStringLiteral("sglGsRate");
    case SortKey::MaxMissRun: return QStringLiteral("intGsErrCon");
    case SortKey::MaxHitRun: return QStringLiteral("intGsTrueCon");
    case SortKey::LastMissRun: return QStringLiteral("intGsErrLst");
    case SortKey::LastHitRun: return QStringLiteral("intGsTrueLst");
    }
    return {};
}

QString sortKeyCaption(SortKey key)
{
    switch (key) {
    case SortKey::Rate: return QStringLiteral("正确率");
    case SortKey::MaxMissRun: return QStringLiteral("最大连错");
    case SortKey::MaxHitRun: return QStringLiteral("最大连对");
    case SortKey::LastMissRun: return QStringLiteral("最后连错");
    case SortKey::LastHitRun: return QStringLiteral("最后连对");
    }
    return {};
}

std::optional<SortKey> sortKeyOfColumn(QStringView column)
{
    for (SortKey key : kSortKeys) {
        if (column.compare(sortKeyColumn(key), Qt::CaseInsensitive) == 0)
            return key;
    }
    return std::nullopt;
}

bool bestFirstDescending(SortKey key)
{
    return key != SortKey::MaxMissRun && key != SortKey::LastMissRun;
}

double storedValue(const StoredStatistics& s, SortKey key)
{
    switch (key) {
    case SortKey::Rate: return s.rate;
    case SortKey::MaxMissRun: return s.maxMissRun;
    case SortKey::MaxHitRun: return s.maxHitRun;
    case SortKey::LastMissRun: return s.lastMissRun;
    case SortKey::LastHitRun: return s.lastHitRun;
    }
    return 0;
}

SortKeyChoice chooseSortKey(SortKey key)
{
    return {key, bestFirstDescending(key)};
}

QString sortDirectionCaption(bool descending)
{
    return descending ? QStringLiteral("从大到小") : QStringLiteral("从小到大");
}

namespace {

QString knownKeysText()
{
    QStringList captions, columns;
    for (SortKey key : kSortKeys) {
        captions << sortKeyCaption(key);
        columns << sortKeyColumn(key);
    }
    return QStringLiteral("%1（或列名 %2）").arg(captions.join(u'、'), columns.join(u'、'));
}

std::optional<SortKey> sortKeyOfName(QStringView name)
{
    for (SortKey key : kSortKeys) {
        if (name == sortKeyCaption(key))
            return key;
    }
    return sortKeyOfColumn(name);
}

std::optional<bool> descendingOfName(QStringView name)
{
    if (name == sortDirectionCaption(true) || name.compare(u"desc", Qt::CaseInsensitive) == 0)
        return true;
    if (name == sortDirectionCaption(false) || name.compare(u"asc", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

// One key with its direction, if any: "正确率 从大到小", "正确率从大到小", "sglGsRate:desc".
Result<SortKeyChoice> parseSortKey(QStringView part)
{
    QStringView name = part;
    QStringView direction;
    if (const qsizetype colon = part.indexOf(QRegularExpression(QStringLiteral("[:：]"))); colon >= 0) {
        name = part.left(colon).trimmed();
        direction = part.mid(colon + 1).trimmed();
    } else if (const qsizetype space = part.indexOf(QRegularExpression(QStringLiteral("\\s"))); space >= 0) {
        name = part.left(space).trimmed();
        direction = part.mid(space + 1).trimmed();
    } else {
        for (bool descending : {true, false}) {
            const QString word = sortDirectionCaption(descending);
            if (part.size() > word.size() && part.endsWith(word)) {
                name = part.chopped(word.size());
                direction = part.right(word.size());
            }
        }
    }
    const auto key = sortKeyOfName(name);
    if (!key)
        return badInput(QStringLiteral("未知排序键“%1”：可用的键：%2").arg(name.toString(), knownKeysText()));
    SortKeyChoice choice = chooseSortKey(*key);
    if (!direction.isEmpty()) {
        const auto descending = descendingOfName(direction);
        if (!descending)
            return badInput(QStringLiteral("未知排序方向“%1”：可用 从大到小（desc）或 从小到大（asc）").arg(direction.toString()));
        choice.descending = *descending;
    }
    return choice;
}

}  // namespace

Result<std::array<SortKeyChoice, 3>> parseSortKeys(QStringView text)
{
    const auto parts = text.split(QRegularExpression(QStringLiteral("[,，、]")));
    if (parts.size() != 3)
        return badInput(QStringLiteral("排序须给出三个排序键（以逗号分隔），例如 正确率 从大到小,最大连对,最后连对；可用的键：%1")
                            .arg(knownKeysText()));
    std::array<SortKeyChoice, 3> keys;
    for (int i = 0; i < 3; ++i) {
        auto key = parseSortKey(parts[i].trimmed());
        if (!key)
            return key.error();
        keys[size_t(i)] = *key;
    }
    return keys;
}

QString sortKeysText(const std::array<SortKeyChoice, 3>& keys)
{
    QStringList parts;
    for (const SortKeyChoice& choice : keys)
        parts << sortKeyCaption(choice.key) + u' ' + sortDirectionCaption(choice.descending);
    return parts.join(u'，');
}

Result<int> parseKeepLimit(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    bool ok = false;
    const int limit = trimmed.toInt(&ok);
    if (!ok || limit < 0 || limit > kMaxKeepLimit)
        return badInput(QStringLiteral("保留个数限额“%1”无效：须为0到%2之间的整数").arg(text.toString()).arg(kMaxKeepLimit));
    return limit;
}

std::vector<size_t> statisticsOrder(const std::vector<std::optional<StoredStatistics>>& statistics,
                                    const std::array<SortKeyChoice, 3>& keys)
{
    std::vector<size_t> order(statistics.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t i, size_t j) {
        const auto& a = statistics[i];
        const auto& b = statistics[j];
        if (!a || !b)
            return a.has_value() && !b.has_value();
        for (const SortKeyChoice& choice : keys) {
            const double x = storedValue(*a, choice.key);
            const double y = storedValue(*b, choice.key);
            if (x != y)
                return choice.descending ? x > y : x < y;
        }
        return false;
    });
    return order;
}

std::vector<size_t> statisticsOrder(const std::vector<StoredFormula>& formulas, const std::array<SortKeyChoice, 3>& keys)
{
    std::vector<std::optional<StoredStatistics>> statistics;
    statistics.reserve(formulas.size());
    for (const StoredFormula& formula : formulas)
        statistics.push_back(formula.statistics);
    return statisticsOrder(statistics, keys);
}

}  // namespace qeltaro
