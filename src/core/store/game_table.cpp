#include "store/game_table.h"

#include "store/optional_table_row.h"
#include "store/sqlite_database.h"

namespace qeltaro {

Result<Game> readStoreGame(Database& db)
{
    auto found = optionalTableRow(db, QStringLiteral("Caizhong"), QStringLiteral("SELECT name, drawsPerDay, issueDigits, numbering FROM Caizhong LIMIT 1"));
    if (!found)
        return found.error();
    if (!*found)
        return Game{};
    Statement& row = **found;
    Game game;
    game.name = row.text(0);
    game.drawsPerDay = int(row.integer(1));
    game.issueDigits = int(row.integer(2));
    const auto numbering = numberingFromName(row.text(3));
    if (!numbering)
        return storageError(QStringLiteral("数据库中的彩种编号方式“%1”无效：只能是date或year").arg(row.text(3)));
    game.numbering = *numbering;
    if (auto problem = game.problem())
        return storageError(QStringLiteral("数据库中的彩种设置无效：%1").arg(*problem));
    return game;
}

Status writeStoreGame(Database& db, const Game& game)
{
    if (Status s = db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS Caizhong (name TEXT NOT NULL, "
                                          "drawsPerDay INTEGER NOT NULL, issueDigits INTEGER NOT NULL, numbering TEXT NOT NULL)"));
        !s)
        return s;
    if (Status s = db.exec(QStringLiteral("DELETE FROM Caizhong")); !s)
        return s;
    auto insert = db.prepare(QStringLiteral("INSERT INTO Caizhong (name, drawsPerDay, issueDigits, numbering) VALUES (?1, ?2, ?3, ?4)"));
    if (!insert)
        return insert.error();
    insert->bind(1, game.name).bind(2, game.drawsPerDay).bind(3, game.issueDigits).bind(4, numberingName(game.numbering));
    return insert->run();
}

Result<DrawSchedule> readStoreSchedule(Database& db)
{
    auto found = optionalTableRow(db, QStringLiteral("KaijiangShijian"), QStringLiteral("SELECT schedule FROM KaijiangShijian LIMIT 1"));
    if (!found)
        return found.error();
    if (!*found)
        return DrawSchedule{};
    auto schedule = parseDrawSchedule((*found)->text(0));
    if (!schedule)
        return storageError(QStringLiteral("数据库中的开奖时间表无效：%1").arg(schedule.error().message));
    return schedule;
}

Status writeStoreSchedule(Database& db, const DrawSchedule& schedule)
{
    if (Status s = db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS KaijiangShijian (schedule TEXT NOT NULL)")); !s)
        return s;
    if (Status s = db.exec(QStringLiteral("DELETE FROM KaijiangShijian")); !s)
        return s;
    if (schedule.empty())
        return success();
    auto insert = db.prepare(QStringLiteral("INSERT INTO KaijiangShijian (schedule) VALUES (?1)"));
    if (!insert)
        return insert.error();
    insert->bind(1, schedule.text());
    return insert->run();
}

}  // namespace qeltaro
