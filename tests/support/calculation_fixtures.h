#pragma once
// Small hand-made histories and formula tables for the calculation and replay tests.

#include "domain/category.h"
#include "domain/draw_record.h"
#include "domain/history_columns.h"
#include "store/formula_table.h"
#include "store/store.h"

#include <QString>

#include <optional>
#include <vector>

namespace qeltaro::test {

// Draws "38146", ... in consecutive periods from `firstPeriod`, with every derived column.
std::vector<DrawRecord> drawsOf(const std::vector<const char*>& digits, const char* firstPeriod = "160121001");
HistoryColumns columnsOf(const std::vector<const char*>& digits, const char* firstPeriod = "160121001");
// The first `rows` draws of the sample history, as the back-test and the search read them.
HistoryColumns sampleHistoryColumns(int rows);
// Stores them in the store's history (fails the test on error).
void storeDraws(Store& store, const std::vector<DrawRecord>& draws);

struct FormulaRow {
    const char* code;
    std::optional<StoredStatistics> statistics = std::nullopt;
    bool kill = true;
};
// Appends formulas with idx 1, 2, ... after those already there, with their statistics.
void storeFormulas(Store& store, const Category& category, const std::vector<FormulaRow>& formulas);

}  // namespace qeltaro::test
