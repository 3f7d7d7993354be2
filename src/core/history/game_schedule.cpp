#include "history/game_schedule.h"

#include "history/draw_history.h"
#include "store/game_table.h"
#include "store/in_transaction.h"
#include "store/store.h"

namespace qeltaro {

std::optional<QString> scheduleProblem(const DrawSchedule& schedule, const Game& game)
{
    if (schedule.empty())
        return std::nullopt;
    if (game.numbering == Numbering::Year)
        return QStringLiteral("按年编号的彩种不能设置开奖时间表：期号不表示是哪一天的第几期");
    return schedule.problem(game.drawsPerDay);
}

Result<DrawSchedule> readGameSchedule(Store& store)
{
    return readStoreSchedule(store.database());
}

Status changeGame(Store& store, const Game& game, const DrawSchedule& schedule)
{
    if (auto problem = scheduleProblem(schedule, game))
        return badInput(*problem + QStringLiteral("；彩种没有改变"));
    if (!(game == store.game())) {
        if (Status s = store.setGame(game); !s)
            return s;
    }
    return inTransaction(store.database(), [&] { return writeStoreSchedule(store.database(), schedule); });
}

Result<QDateTime> nextDrawDue(Store& store, const QDate& today)
{
    auto schedule = readGameSchedule(store);
    if (!schedule)
        return schedule.error();
    if (schedule->empty() || store.game().numbering == Numbering::Year)
        return QDateTime();
    auto proposed = DrawHistory(store).proposeNext(today);
    if (!proposed)
        return proposed.error();
    const auto period = PeriodNumber::parse(proposed->period, store.game());
    if (!period)
        return QDateTime();
    return schedule->dueOf(period->date, period->issue);
}

}  // namespace qeltaro
