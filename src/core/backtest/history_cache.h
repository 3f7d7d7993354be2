#pragma once
// The history's column arrays, loaded once and kept until the store reports a change of the
// history, so back-tests after a change of category, kind or window reuse them.

#include "common/result.h"
#include "domain/history_columns.h"

#include <cstdint>

namespace qeltaro {

class Store;

class HistoryCache {
public:
    // The columns of the store's history, reloaded only when its history revision moved.
    Result<const HistoryColumns*> columns(Store& store);
    void invalidate() { loaded_ = false; }

private:
    HistoryColumns columns_;
    std::uint64_t revision_ = 0;
    const Store* store_ = nullptr;
    bool loaded_ = false;
};

}  // namespace qeltaro
