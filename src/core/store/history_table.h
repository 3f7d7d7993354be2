#pragma once
// Reads and writes of Lishi. Rows are always read in period-text order.

#include "common/result.h"
#include "domain/draw_record.h"
#include "store/sqlite_database.h"

#include <optional>
#include <utility>
#include <vector>

namespace qeltaro {

class Store;

class HistoryTable {
public:
    explicit HistoryTable(Store& store) : store_(store) {}

    Result<std::vector<DrawRecord>> all() const;
    // Periods and drawn digits only, in period order: what a merge of new draws needs.
    Result<std::vector<std::pair<QString, Digits>>> allDigits() const;
    Result<std::optional<DrawRecord>> last() const;
    Result<int> count() const;
    Result<bool> contains(const QString& period) const;
    Result<std::optional<DrawRecord>> find(const QString& period) const;
    // The draw just before / after a period in period order (the period itself need not exist).
    Result<std::optional<DrawRecord>> before(const QString& period) const;
    Result<std::optional<DrawRecord>> after(const QString& period) const;
    // The period of the draw `back` places before the newest (0: the newest); empty when the
    // history holds no more than `back` draws.
    Result<QString> periodBeforeNewest(std::int64_t back) const;

    // Writes run inside the caller's transaction.
    Status insert(const DrawRecord& record);
    Status updateRepeats(const QString& period, int sameAtPosition, int foundInPrevious);
    Status removeFrom(const QString& firstRemovedPeriod);  // that period and every later one
    Status removeAll();

private:
    Result<std::optional<DrawRecord>> single(const QString& sql, const QString& period) const;

    Store& store_;
    // The insert statement, prepared once per object: imports insert thousands of rows.
    std::optional<Statement> insert_;
};

}  // namespace qeltaro
