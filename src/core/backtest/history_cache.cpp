#include "backtest/history_cache.h"

#include "store/history_table.h"
#include "store/store.h"

namespace qeltaro {

Result<const HistoryColumns*> HistoryCache::columns(Store& store)
{
    if (!loaded_ || store_ != &store || revision_ != store.historyRevision()) {
        auto rows = HistoryTable(store).all();
        if (!rows)
            return rows.error();
        columns_ = HistoryColumns(*rows);
        revision_ = store.historyRevision();
        store_ = &store;
        loaded_ = true;
    }
    return &columns_;
}

}  // namespace qeltaro
