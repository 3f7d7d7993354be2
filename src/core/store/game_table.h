#pragma once
// The store's game, one row of Caizhong. The table exists only in stores whose game was chosen;
// a store without it serves the standard game, so older files open unchanged.

#include "common/result.h"
#include "domain/game.h"

namespace qeltaro {

class Database;

// The stored game; the standard one when none is stored. A stored game that cannot be served
// (a file edited by hand) is refused with what is wrong.
Result<Game> readStoreGame(Database& db);
// Replaces the stored game; runs inside the caller's transaction.
Status writeStoreGame(Database& db, const Game& game);

}  // namespace qeltaro
