#include "gui/app/formula_list_view.h"

#include "domain/chance_statistics.h"
#include "backtest/formula_list.h"
#include "backtest/formula_stats_table.h"
#include "export/list_sheets.h"
#include "gui/common/grid_view.h"

#include <QHash>
#include <QHeaderView>

#include <algorithm>
#include <variant>

namespace qeltaro::gui {
namespace {

FormulaListRow listRow(FormulaSheetRow& sheet, int idx)
{
    FormulaListRow row;
    row.idx = idx;
    row.number = sheet.number;
    row.kind = sheet.kind;
    row.code = std::move(sheet.code);
    row.chinese = std::move(sheet.text);
    row.starWord = std::move(sheet.starWord);
    row.next = std::move(sheet.next);
    row.rateText = std::move(sheet.rateText);
    row.maxMissRun = sheet.maxMissRun;
    row.maxHitRun = sheet.maxHitRun;
    row.lastMissRun = sheet.lastMissRun;
    row.lastHitRun = sheet.lastHitRun;
    return row;
}

// The value a column sorts by; formulas without one come first going up, as the database
// orders empty values.
using SortKey = std::variant<std::monostate, double, QString>;

SortKey sortKey(const FormulaListRow& row, int column, bool chinese, const FormulaStatsTable& statistics)
{
    auto number = [](const auto& value) -> SortKey { return value ? SortKey(double(*value)) : SortKey(); };
    switch (column) {
    case FormulaListModel::Ordinal: return double(row.number);
    case FormulaListModel::Text: return chinese ? row.chinese : row.code;
    case FormulaListModel::Star:
    case FormulaListModel::Kind: return double(row.kind == Kind::Kill ? 0 : 1);
    case FormulaListModel::Next: return row.next.isEmpty() ? SortKey() : SortKey(row.next.toDouble());
    case FormulaListModel::Chance: return number(row.chance);
    case FormulaListModel::Lift: return number(row.lift);
    case FormulaListModel::PValue: return number(row.pValue);
    case FormulaListModel::BeatsChance: return row.pValue ? SortKey(row.beatsChance ? 1.0 : 0.0) : SortKey();
    default: break;
    }
    const FormulaStats* s = statistics.find(row.idx);
    if (!s || !s->evaluated() || s->scoredRows == 0)
        return {};
    switch (column) {
    case FormulaListModel::Rate: return double(s->rate);
    case FormulaListModel::MaxMiss: return double(s->maxMissRun);
    case FormulaListModel::MaxHit: return double(s->maxHitRun);
    case FormulaListModel::LastMiss: return double(s->lastMissRun);
    case FormulaListModel::LastHit: return double(s->lastHitRun);
    default: return {};
    }
}

}  // namespace

FormulaListView::FormulaListView(QWidget* parent) : QTableView(parent), model_(new FormulaListModel(this))
{
    setUpReadOnlyGrid(this, "MSFlexGrid2");
    setContextMenuPolicy(Qt::CustomContextMenu);
    setToolTip(QStringLiteral("双击参数列可以以该参数次序排序，单击鼠标右键可以打开此表功能扩展菜单"));
    setModel(model_);
    auto* headerLabels = new WrappedHeaderModel(this);
    headerLabels->setSourceModel(model_);
    QHeaderView* header = horizontalHeader();
    header->setModel(headerLabels);
    header->setTextElideMode(Qt::ElideNone);
    setColumnHidden(FormulaListModel::Idx, true);
    header->setSectionResizeMode(FormulaListModel::Text, QHeaderView::Stretch);
    header->setMinimumSectionSize(24);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    connect(headerLabels, &QAbstractItemModel::modelReset, this, &FormulaListView::fitColumns);
    connect(headerLabels, &QAbstractItemModel::headerDataChanged, this, &FormulaListView::fitColumns);
    fitColumns();
}

void FormulaListView::showRows(const FormulaList& list, const FormulaStatsTable& statistics, bool weightedRate)
{
    std::vector<FormulaSheetRow> shown = formulaSheetRows(list, statistics);
    sort_.reset();
    horizontalHeader()->setSortIndicatorShown(false);
    const auto chance = assessStatistics(list.category(), list.kind(), statistics);
    // Figures against chance only for a formula scored over rows that name a digit, and only
    // while the statistics are the whole list's.
    const bool whole = statistics.size() == list.size();
    std::vector<FormulaListRow> rows;
    rows.reserve(shown.size());
    for (size_t ordinal = 0; ordinal < shown.size(); ++ordinal) {
        FormulaListRow row = listRow(shown[ordinal], list.formulas()[ordinal].idx);
        const FormulaStats* stats = statistics.find(row.idx);
        if (whole && stats && stats->evaluated() && ordinal < chance.size() && chance[ordinal].evidence) {
            row.chance = chance[ordinal].chance;
            row.lift = chance[ordinal].lift;
            row.pValue = chance[ordinal].pValue;
            row.pMaxHit = chance[ordinal].pMaxHit;
            row.beatsChance = chance[ordinal].beatsChance;
        }
        rows.push_back(std::move(row));
    }
    model_->setRows(std::move(rows), &list.selection());
    model_->setWeightedHeader(weightedRate);
}

Qt::SortOrder FormulaListView::nextOrderFor(int column) const
{
    const bool again = sort_ && sort_->first == column && sort_->second == Qt::AscendingOrder;
    return again ? Qt::DescendingOrder : Qt::AscendingOrder;
}

void FormulaListView::sortBy(int column, Qt::SortOrder order, const FormulaStatsTable& statistics)
{
    std::vector<FormulaListRow> rows = model_->rows();
    std::vector<std::pair<SortKey, size_t>> keyed;
    keyed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        keyed.emplace_back(sortKey(rows[i], column, model_->showChinese(), statistics), i);
    std::stable_sort(keyed.begin(), keyed.end(), [order](const auto& a, const auto& b) {
        return order == Qt::AscendingOrder ? a.first < b.first : b.first < a.first;
    });
    std::vector<FormulaListRow> sorted;
    sorted.reserve(rows.size());
    for (const auto& [key, i] : keyed)
        sorted.push_back(std::move(rows[i]));
    model_->setRows(std::move(sorted), model_->selection());
    sort_ = std::make_pair(column, order);
    horizontalHeader()->setSortIndicator(column, order);
    horizontalHeader()->setSortIndicatorShown(true);
    fitColumns();  // the indicator takes room in its header
    scrollToEndIfLong(this);
}

void FormulaListView::fitColumns()
{
    // Every column but the formula text as wide as its header and its widest cell, so numbers
    // are never cut; the text takes the rest.
    QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics(font());
    // A shown sort indicator widens every header's size hint; only the sorted column needs room
    // for it, or the text would lose that room once per column.
    const bool sorted = header->isSortIndicatorShown();
    std::vector<int> headerWidths(FormulaListModel::ColumnCount);
    header->setSortIndicatorShown(false);
    for (int c = 0; c < FormulaListModel::ColumnCount; ++c)
        headerWidths[size_t(c)] = header->sectionSizeHint(c);
    header->setSortIndicatorShown(sorted);
    const int sortedColumn = header->sortIndicatorSection();
    if (sorted && sortedColumn >= 0 && sortedColumn < FormulaListModel::ColumnCount)
        headerWidths[size_t(sortedColumn)] = header->sectionSizeHint(sortedColumn);
    for (int c = 0; c < FormulaListModel::ColumnCount; ++c) {
        if (c == FormulaListModel::Text || c == FormulaListModel::Idx)
            continue;
        int width = headerWidths[size_t(c)];
        if (const int widest = widestCell(c, metrics); widest >= 0)
            width = std::max(width, sizeHintForIndex(model_->index(widest, c)).width() + 1);
        setColumnWidth(c, width);
    }
}

int FormulaListView::widestCell(int column, const QFontMetrics& metrics) const
{
    // Texts of one length differ in width ("+1.25" is wider than "-1.25"), so the texts of the
    // longest length, or one character short of it, are ranked by the sum of their characters'
    // advances, and the first few of them measured whole, as a pair of characters may kern.
    // Measuring every text whole took a third of a second over ten thousand formulas.
    const int rows = model_->rowCount();
    std::vector<QString> texts;
    texts.reserve(size_t(rows));
    qsizetype longest = 0;
    for (int r = 0; r < rows; ++r) {
        texts.push_back(model_->index(r, column).data().toString());
        longest = std::max(longest, texts.back().size());
    }
    QHash<QChar, int> advances;
    std::vector<std::pair<int, int>> ranked;  // (sum of advances, row)
    for (int r = 0; r < rows; ++r) {
        const QString& text = texts[size_t(r)];
        if (text.size() + 1 < longest || text.isEmpty())
            continue;
        int sum = 0;
        for (QChar ch : text) {
            auto it = advances.find(ch);
            if (it == advances.end())
                it = advances.insert(ch, metrics.horizontalAdvance(ch));
            sum += *it;
        }
        ranked.emplace_back(sum, r);
    }
    constexpr size_t kMeasured = 16;
    const size_t measured = std::min(kMeasured, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(measured), ranked.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    int widest = -1;
    int widestAdvance = -1;
    for (size_t i = 0; i < measured; ++i) {
        const int row = ranked[i].second;
        const int advance = metrics.horizontalAdvance(texts[size_t(row)]);
        if (advance > widestAdvance) {
            widestAdvance = advance;
            widest = row;
        }
    }
    return widest;
}

}  // namespace qeltaro::gui
