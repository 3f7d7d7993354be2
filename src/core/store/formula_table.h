#pragma once
// Reads and writes of the nine formula tables (Gongshi1D .. Gongshi5G).

#include "common/result.h"
#include "domain/category.h"

#include <QString>

#include <optional>
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
    bool kill = true;
    QString code;  // gongshi
    QString text;  // gongshiCN
    std::optional<StoredStatistics> statistics;
};

class FormulaTable {
public:
    FormulaTable(Store& store, Category category) : store_(store), category_(category) {}

    const Category& category() const { return category_; }

    // "SELECT * FROM T WHERE bolKill = K ORDER BY Idx"
    Result<std::vector<StoredFormula>> list(bool kill) const;
    // Every formula of both kinds, in idx order.
    Result<std::vector<StoredFormula>> all() const;
    Result<int> count() const;
    Result<int> count(bool kill) const;

    // Writes run inside the caller's transaction.
    Status append(bool kill, const QString& code, const QString& text, int idx);
    // A row with an empty idx, as imports append them before the table is renumbered.
    Status appendUnnumbered(bool kill, const QString& code, const QString& text);
    Status removeIdx(int idx);
    Status clear();
    Status writeStatistics(int idx, const StoredStatistics& statistics);
    // Gives idx = 1..n over the whole table, keeping the current idx order; rows with an empty
    // idx (appended by an import) keep their place after the numbered ones.
    Status renumber();
    // Removes duplicates (equal kill flag, code and text; the first stays), empties the
    // statistics and renumbers idx 1..n in table order.
    Status rebuild();

private:
    Store& store_;
    Category category_;
};

}  // namespace qeltaro
