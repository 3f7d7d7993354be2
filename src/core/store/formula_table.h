#pragma once
// Reads and writes of the nine formula tables (Gongshi1D .. Gongshi5G).

#include "common/result.h"
#include "domain/category.h"
#include "domain/kind.h"

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

namespace qeltaro {

class Store;

// The statistics a full back-test writes back; empty after a rebuild until the next one.
struct StoredStatistics {
    double rate = 0;  // percent
    int maxMissRun = 0;   // intGsErrCon
    int maxHitRun = 0;    // intGsTrueCon
    int lastMissRun = 0;  // intGsErrLst
    int lastHitRun = 0;   // intGsTrueLst
};

struct StoredFormula {
    int idx = 0;
    Kind kind = Kind::Kill;
    QString code;  // gongshi
    QString text;  // gongshiCN
    std::optional<StoredStatistics> statistics;
    std::int64_t rowid = 0;  // identifies the row where idx repeats
};

class FormulaTable {
public:
    FormulaTable(Store& store, Category category) : store_(store), category_(category) {}

    const Category& category() const { return category_; }

    // The formulas of one kind in idx order (rows with equal idx in the order they were stored).
    Result<std::vector<StoredFormula>> list(Kind kind) const;
    // Every formula of both kinds, in idx order.
    Result<std::vector<StoredFormula>> all() const;
    Result<int> count() const;
    Result<int> count(Kind kind) const;
    // The idx of the row stored last; nullopt when the table is empty or that row has no idx.
    Result<std::optional<std::int64_t>> lastStoredIdx() const;
    // The idx of every row that has one, by rowid: follows each formula through a renumbering.
    Result<std::map<std::int64_t, int>> idxByRowid() const;
    // The highest rowid (0 for an empty table), and how many rows were stored after a rowid.
    Result<std::int64_t> lastRowid() const;
    Result<std::int64_t> countAfterRowid(std::int64_t rowid) const;

    // Writes run inside the caller's transaction.
    Status append(Kind kind, const QString& code, const QString& text, int idx);
    // A row with an empty idx, as imports append them before the table is renumbered.
    Status appendUnnumbered(Kind kind, const QString& code, const QString& text);
    Status removeListed(Kind kind, int idx);  // the formulas of that kind with that idx
    Status clear();
    Status writeStatistics(int idx, const StoredStatistics& statistics);
    // Gives idx = 1..n over the whole table, keeping the current idx order; rows with an empty
    // idx (appended by an import) keep their place after the numbered ones.
    Status renumber();
    // Removes duplicates (equal kill flag, code and text; the first stays), empties the
    // statistics and renumbers idx 1..n in table order.
    Status rebuild();

    // The back-test's write-back, in its own transaction: idx becomes 1..n in idx order (rows
    // with equal idx in the order they were stored); the rows in `statistics` get theirs, or
    // empty ones for nullopt (a formula that could not be evaluated); every other row keeps its
    // own. Returns the new idx of every row by rowid.
    using StatisticsByRowid = std::unordered_map<std::int64_t, std::optional<StoredStatistics>>;
    Result<std::unordered_map<std::int64_t, int>> writeBackStatistics(const StatisticsByRowid& statistics);

private:
    Store& store_;
    Category category_;
};

}  // namespace qeltaro
