#pragma once
// The store's game, one row of Caizhong. The table exists only in stores whose game was chosen;
// a store without it serves the standard game, so older files open unchanged.

#include "common/result.h"
#include "domain/draw_schedule.h"
#include "domain/game.h"

namespace qeltaro {

class Database;

// The stored game; the standard one when none is stored. A stored game that cannot be served
// (a file edited by hand) is refused with what is wrong.
Result<Game> readStoreGame(Database& db);
// Replaces the stored game; runs inside the caller's transaction.
Status writeStoreGame(Database& db, const Game& game);

// The game's draw schedule, one row of KaijiangShijian in its text form; none when the table is
// missing or empty. A stored text that does not read is refused.
Result<DrawSchedule> readStoreSchedule(Database& db);
// Replaces it (an empty schedule removes it); runs inside the caller's transaction.
Status writeStoreSchedule(Database& db, const DrawSchedule& schedule);

}  // namespace qeltaro
