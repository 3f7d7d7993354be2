#pragma once
// The store's prize table, one row of Jiangjin with every amount in 厘 (thousandths of a yuan).
// The table exists only in stores whose prize table was changed; a store without it pays by the
// official table, so older files open unchanged.

#include "common/result.h"
#include "domain/prize_table.h"

namespace qeltaro {

class Database;

// The stored prize table; the official one when none is stored. A stored amount that is not
// positive (a file edited by hand) is refused with what is wrong.
Result<PrizeTable> readStorePrizeTable(Database& db);
// Replaces the stored table in one transaction.
Status writeStorePrizeTable(Database& db, const PrizeTable& table);

}  // namespace qeltaro
