#include "domain/history_columns.h"

#include <algorithm>

namespace qeltaro {

HistoryColumns::HistoryColumns(const std::vector<DrawRecord>& rows)
{
    columns_.resize(kFormulaParameterCount);
    for (auto& column : columns_)
        column.reserve(rows.size());
    rowValues_.reserve(rows.size() * kFormulaParameterCount);
    periods_.reserve(rows.size());
    for (const DrawRecord& row : rows)
        append(row);
}

void HistoryColumns::append(const DrawRecord& row)
{
    for (int c = 0; c < kParameterCount; ++c)
        columns_[size_t(c)].push_back(row.values[size_t(c)]);
    rowValues_.insert(rowValues_.end(), row.values.begin(), row.values.end());
    periods_.push_back(row.period);
    addHistoryParameters();
    ++rowCount_;
}

void HistoryColumns::addHistoryParameters()
{
    for (int position = 1; position <= 5; ++position) {
        ColdHotDigits& digits = coldHot_[size_t(position - 1)];
        digits.advance(int(columns_[size_t(position - 1)].back()));
        columns_[size_t(coldDigitIndex(position) - 1)].push_back(digits.cold());
        columns_[size_t(hotDigitIndex(position) - 1)].push_back(digits.hot());
    }
    for (int c = kParameterCount; c < kFormulaParameterCount; ++c)
        rowValues_.push_back(int(columns_[size_t(c)].back()));
}

Digits HistoryColumns::digits(int row) const
{
    return {digit(row, 1), digit(row, 2), digit(row, 3), digit(row, 4), digit(row, 5)};
}

int HistoryColumns::rowOf(const QString& period) const
{
    // Rows are in period-text order.
    const auto it = std::lower_bound(periods_.begin(), periods_.end(), period);
    return it != periods_.end() && *it == period ? int(it - periods_.begin()) : -1;
}

DrawRecord HistoryColumns::record(int row) const
{
    DrawRecord record;
    record.period = periods_[size_t(row)];
    std::copy_n(rowValues(row), kParameterCount, record.values.begin());
    return record;
}

HistoryColumns HistoryColumns::firstRows(int rows) const
{
    std::vector<DrawRecord> records;
    const int kept = std::clamp(rows, 0, rowCount_);
    records.reserve(size_t(kept));
    for (int row = 0; row < kept; ++row)
        records.push_back(record(row));
    return HistoryColumns(records);
}

}  // namespace qeltaro
