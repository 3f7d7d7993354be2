#pragma once
// The history as column arrays, loaded once and reused by every evaluation until the history
// changes: column c holds the catalogue parameter c + 1 of every row, in period order. The
// stored columns come from the draw records; the cold and hot digits are computed here, row by
// row, from the rows up to each row.

#include "domain/cold_hot_digits.h"
#include "domain/draw_record.h"

#include <QString>

#include <array>
#include <vector>

namespace qeltaro {

class HistoryColumns {
public:
    // An empty history still has every column, so evaluating over it reads no missing column.
    HistoryColumns() : columns_(kFormulaParameterCount) {}
    explicit HistoryColumns(const std::vector<DrawRecord>& rows);

    int rowCount() const { return rowCount_; }
    const double* column(int index) const { return columns_[size_t(index)].data(); }
    const QString& period(int row) const { return periods_[size_t(row)]; }
    int digit(int row, int position) const { return int(columns_[size_t(position - 1)][size_t(row)]); }
    Digits digits(int row) const;
    // Row-major values of every formula parameter of one row, for evaluating a single row.
    const int* rowValues(int row) const { return rowValues_.data() + size_t(row) * kFormulaParameterCount; }
    // Row index of a period, or -1.
    int rowOf(const QString& period) const;
    // Every stored column of a row.
    DrawRecord record(int row) const;
    // Adds a row after the newest: a draw typed after every stored one. Its period must sort
    // after every period held.
    void append(const DrawRecord& row);
    // The oldest `rows` rows (all of them when there are fewer), e.g. the history before a
    // held-out stretch.
    HistoryColumns firstRows(int rows) const;
    // Rows first .. end - 1 (clipped to the history): what a window of the newest rows before
    // `end` reads, without copying the rest.
    HistoryColumns rowsBetween(int first, int end) const;

private:
    // Every formula parameter of the next row: the stored ones, then the cold and hot digits
    // from the rows up to it. Returns `values`.
    const int* fillRowValues(const DrawRecord& row, int* values);

    int rowCount_ = 0;
    std::vector<std::vector<double>> columns_;
    std::vector<int> rowValues_;
    std::vector<QString> periods_;
    std::array<ColdHotDigits, 5> coldHot_{};  // by position, advanced to the newest row
};

}  // namespace qeltaro
