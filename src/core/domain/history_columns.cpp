#include "domain/history_columns.h"

#include <algorithm>

namespace qeltaro {

HistoryColumns::HistoryColumns(const std::vector<DrawRecord>& rows)
    : rowCount_(int(rows.size())), columns_(kFormulaParameterCount, std::vector<double>(rows.size())),
      rowValues_(rows.size() * kFormulaParameterCount)
{
    periods_.reserve(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        fillRowValues(rows[r], rowValues_.data() + r * kFormulaParameterCount);
        periods_.push_back(rows[r].period);
    }
    // The columns from the rows, a block of rows at a time, so the rows read stay in the cache.
    constexpr size_t kBlock = 64;
    for (size_t first = 0; first < rows.size(); first += kBlock) {
        const size_t end = std::min(rows.size(), first + kBlock);
        for (size_t c = 0; c < size_t(kFormulaParameterCount); ++c) {
            double* column = columns_[c].data();
            for (size_t r = first; r < end; ++r)
                column[r] = rowValues_[r * kFormulaParameterCount + c];
        }
    }
}

void HistoryColumns::append(const DrawRecord& row)
{
    const size_t at = rowValues_.size();
    rowValues_.resize(at + kFormulaParameterCount);
    const int* values = fillRowValues(row, rowValues_.data() + at);
    for (int c = 0; c < kFormulaParameterCount; ++c)
        columns_[size_t(c)].push_back(values[c]);
    periods_.push_back(row.period);
    ++rowCount_;
}

const int* HistoryColumns::fillRowValues(const DrawRecord& row, int* values)
{
    std::copy(row.values.begin(), row.values.end(), values);
    for (int position = 1; position <= 5; ++position) {
        ColdHotDigits& digits = coldHot_[size_t(position - 1)];
        digits.advance(values[position - 1]);
        values[coldDigitIndex(position) - 1] = digits.cold();
        values[hotDigitIndex(position) - 1] = digits.hot();
    }
    return values;
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
