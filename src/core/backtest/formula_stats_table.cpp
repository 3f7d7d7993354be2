#include "backtest/formula_stats_table.h"

#include "language/expression.h"

namespace qeltaro {

QString rateText(const FormulaStats& stats)
{
    // Two integer digits at least: 00.0000, 66.6667, 100.0000.
    return QString::asprintf("%07.4f%% (%lld/%lld)", double(stats.rate), stats.hitSum, stats.totalSum);
}

FormulaStatsTable::FormulaStatsTable(const std::vector<int>& idxs) : idxs_(idxs), entries_(idxs.size())
{
    index();
}

const FormulaStats* FormulaStatsTable::find(int idx) const
{
    const auto it = ordinalOfIdx_.find(idx);
    return it == ordinalOfIdx_.end() ? nullptr : &entries_[size_t(it->second)];
}

FormulaStats* FormulaStatsTable::find(int idx)
{
    const auto it = ordinalOfIdx_.find(idx);
    return it == ordinalOfIdx_.end() ? nullptr : &entries_[size_t(it->second)];
}

void FormulaStatsTable::rekey(const std::vector<int>& newIdxs)
{
    idxs_ = newIdxs;
    idxs_.resize(entries_.size());
    index();
}

void FormulaStatsTable::index()
{
    ordinalOfIdx_.clear();
    ordinalOfIdx_.reserve(idxs_.size());
    for (size_t k = 0; k < idxs_.size(); ++k)
        ordinalOfIdx_.try_emplace(idxs_[k], int(k));
}

std::vector<ChanceAssessment> assessStatistics(const Category& category, Kind kind, const FormulaStatsTable& table)
{
    std::vector<FormulaRecord> records;
    records.reserve(size_t(table.size()));
    for (int k = 0; k < table.size(); ++k) {
        const FormulaStats& s = table.at(k);
        if (s.evaluated())
            records.push_back({s.namedHits, s.namedRows, s.maxHitRun, s.maxMissRun, s.scoredRows});
        else
            records.push_back({});
    }
    return assessAgainstChance(category, kind, records);
}

}  // namespace qeltaro
