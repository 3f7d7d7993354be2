#pragma once
// The back-test's statistics of the listed formulas (FormulaStatsTable). Views, the category
// calculation and the exports find a formula's entry through its idx, so a list that holds kill
// and keep formulas of one table keeps each formula's own statistics; entries are held in list
// order as well, for the engine and the write-back.

#include "domain/chance_statistics.h"
#include "domain/kind.h"
#include "store/formula_table.h"

#include <QString>

#include <unordered_map>
#include <vector>

namespace qeltaro {

struct FormulaStats {
    long long hitSum = 0;    // lngGsTrueSum: hit rows, or their weights
    long long totalSum = 0;  // lngGsAllSum: scored rows, or their weights
    int scoredRows = 0;
    int hits = 0;            // hit rows, unweighted
    // The scored rows on which the formula named a digit 0-9, and its hits among them: a row
    // where it names none (no value, a negative digit) hits or misses by the rule alone and
    // carries no evidence, so the comparison with chance counts only these.
    int namedRows = 0;
    int namedHits = 0;
    float rate = 0;          // sglGsRate, percent; 0 when no row was scored
    int maxMissRun = 0;      // intGsErrCon
    int maxHitRun = 0;       // intGsTrueCon
    int lastMissRun = 0;     // intGsErrLst
    int lastHitRun = 0;      // intGsTrueLst
    QString next;            // strGsNext: digit for the next period, "" when none
    QString text;            // strGsCN: the Chinese text, filled by the quiet back-test
    QString error;           // why the code text could not be evaluated; empty when it was

    bool evaluated() const { return error.isEmpty(); }
    StoredStatistics stored() const { return {double(rate), maxMissRun, maxHitRun, lastMissRun, lastHitRun}; }
};

// The rate column: "66.6667% (2/3)", the rate with at least two integer digits and four decimals.
QString rateText(const FormulaStats& stats);

class FormulaStatsTable {
public:
    FormulaStatsTable() = default;
    // One empty entry per listed formula, in list order.
    explicit FormulaStatsTable(const std::vector<int>& idxs);

    int size() const { return int(entries_.size()); }
    bool empty() const { return entries_.empty(); }

    // By idx; nullptr for a formula not listed. Should a table still hold a repeated idx (before
    // its first write-back), the first listed formula answers.
    const FormulaStats* find(int idx) const;
    FormulaStats* find(int idx);

    // By list ordinal, 0-based.
    int idxAt(int ordinal) const { return idxs_[size_t(ordinal)]; }
    const FormulaStats& at(int ordinal) const { return entries_[size_t(ordinal)]; }
    FormulaStats& at(int ordinal) { return entries_[size_t(ordinal)]; }

    // After the write-back renumbered idx: newIdxs[k] is the new idx of the formula at ordinal k.
    void rekey(const std::vector<int>& newIdxs);

    // The period of the newest history row the next-period digits were computed on.
    const QString& nextBasePeriod() const { return nextBasePeriod_; }
    void setNextBasePeriod(const QString& period) { nextBasePeriod_ = period; }

private:
    void index();

    std::vector<int> idxs_;
    std::vector<FormulaStats> entries_;
    std::unordered_map<int, int> ordinalOfIdx_;
    QString nextBasePeriod_;
};

// The assessment of every formula of a back-tested list, in list order; formulas that could not
// be evaluated count as no evidence (no trials).
std::vector<ChanceAssessment> assessStatistics(const Category& category, Kind kind, const FormulaStatsTable& table);

}  // namespace qeltaro
