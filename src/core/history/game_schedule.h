#pragma once
// The store's game with its draw schedule: read, changed together, and the due time of the next
// draw. Unlike the rest of the game the schedule may change while draws are stored: nothing
// stored depends on it.

#include "common/result.h"
#include "domain/draw_schedule.h"
#include "domain/game.h"

#include <QDate>
#include <QDateTime>

#include <optional>

namespace qeltaro {

class Store;

// Why the schedule cannot serve the game (another number of draws a day, a year-numbered game
// whose periods do not say which draw of a day they are); nullopt when it can or it is empty.
std::optional<QString> scheduleProblem(const DrawSchedule& schedule, const Game& game);

Result<DrawSchedule> readGameSchedule(Store& store);

// Makes the store serve `game` on `schedule`. Refused, changing nothing, when the schedule does
// not fit the game or the game cannot change (Store::setGame).
Status changeGame(Store& store, const Game& game, const DrawSchedule& schedule);

// When the draw proposed next (DrawHistory::proposeNext) falls due; invalid without a schedule.
// A draw at 24:00 falls due at 00:00 of the next day.
Result<QDateTime> nextDrawDue(Store& store, const QDate& today);

}  // namespace qeltaro
