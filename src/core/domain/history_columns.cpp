#include "domain/history_columns.h"

#include <algorithm>

namespace qeltaro {

HistoryColumns::HistoryColumns(const std::vector<DrawRecord>& rows)
    : rowCount_(int(rows.size())), columns_(kParameterCount, std::vector<double>(rows.size()))
{
    rowValues_.reserve(rows.size() * kParameterCount);
    periods_.reserve(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < kParameterCount; ++c)
            columns_[size_t(c)][r] = rows[r].values[size_t(c)];
        rowValues_.insert(rowValues_.end(), rows[r].values.begin(), rows[r].values.end());
        periods_.push_back(rows[r].period);
    }
}

void HistoryColumns::append(const DrawRecord& row)
{
    for (int c = 0; c < kParameterCount; ++c)
        columns_[size_t(c)].push_back(row.values[size_t(c)]);
    rowValues_.insert(rowValues_.end(), row.values.begin(), row.values.end());
    periods_.push_back(row.period);
    ++rowCount_;
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
    return rowsBetween(0, rows);
}

HistoryColumns HistoryColumns::rowsBetween(int first, int end) const
{
    first = std::clamp(first, 0, rowCount_);
    end = std::clamp(end, first, rowCount_);
    std::vector<DrawRecord> records;
    records.reserve(size_t(end - first));
    for (int row = first; row < end; ++row)
        records.push_back(record(row));
    return HistoryColumns(records);
}

}  // namespace qeltaro
