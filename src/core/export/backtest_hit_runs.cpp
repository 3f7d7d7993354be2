#include "export/backtest_hit_runs.h"

#include "backtest/formula_list.h"

namespace qeltaro {

HitRunSource backtestHitRuns(Store& store, const HistoryColumns& history, const BacktestSettings& settings,
                             const BacktestEngine& engine)
{
    return [&store, &history, settings, &engine](const FormulaListKey& key) -> Result<std::vector<ExportedFormula>> {
        auto list = FormulaList::load(store, key.category, key.kind);
        if (!list)
            return list.error();
        FormulaStatsTable table(list->idxs());
        engine.backtestQuiet(*list, history, settings, table);
        std::vector<ExportedFormula> out;
        out.reserve(size_t(list->size()));
        for (int k = 0; k < list->size(); ++k)
            out.push_back({list->at(k).text, table.at(k).lastHitRun});
        return out;
    };
}

}  // namespace qeltaro
