#include "backtest/statistics_write_back.h"

#include "store/formula_table.h"

#include <unordered_map>

namespace qeltaro {

Status writeBackStatistics(Store& store, FormulaList& list, FormulaStatsTable& table)
{
    std::unordered_map<std::int64_t, int> ordinalOfRow;
    for (int k = 0; k < list.size() && k < table.size(); ++k) {
        if (list.at(k).rowid != 0)
            ordinalOfRow.emplace(list.at(k).rowid, k);
    }
    FormulaTable::StatisticsByRowid statistics;
    for (const auto& [rowid, ordinal] : ordinalOfRow) {
        const FormulaStats& stats = table.at(ordinal);
        if (stats.evaluated())
            statistics.emplace(rowid, StoredStatistics{double(stats.rate), stats.maxMissRun, stats.maxHitRun,
                                                       stats.lastMissRun, stats.lastHitRun});
        else
            statistics.emplace(rowid, std::nullopt);
    }

    auto newIdxOfRow = FormulaTable(store, list.category()).writeBackStatistics(statistics);
    if (!newIdxOfRow)
        return newIdxOfRow.error();
    std::vector<int> newIdxs = list.idxs();
    for (const auto& [rowid, ordinal] : ordinalOfRow) {
        if (const auto renumbered = newIdxOfRow->find(rowid); renumbered != newIdxOfRow->end())
            newIdxs[size_t(ordinal)] = renumbered->second;
    }
    list.rekey(newIdxs);
    table.rekey(newIdxs);
    return success();
}

}  // namespace qeltaro
