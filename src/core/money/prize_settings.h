#pragma once
// The prize table of a data folder: read for every valuation, so money is always valued with
// the table as it is now; changed by `payout set` and 设置 → 奖金设置....

#include "common/result.h"
#include "domain/prize_table.h"

#include <QString>

#include <array>
#include <optional>

namespace qeltaro {

class Store;

Result<PrizeTable> loadPrizeTable(Store& store);

// A change as typed: any of the stake and one prize, each as text in yuan.
struct PrizeChange {
    std::optional<QString> stake;
    std::optional<int> stars;  // with `prize`
    std::optional<QString> prize;
};

// Applies the change when every value of it is good; otherwise refuses it whole and changes
// nothing. Returns the table as stored.
Result<PrizeTable> changePrizeTable(Store& store, const PrizeChange& change);
// Stores a whole table, refused unchanged when it cannot be used.
Status savePrizeTable(Store& store, const PrizeTable& table);

// A whole table as typed in yuan: the stake, then the prizes of 1 to 5 positions. Refused at the
// first value that is no positive amount.
Result<PrizeTable> prizeTableOfTexts(const QString& stake, const std::array<QString, 5>& prizes);

}  // namespace qeltaro
