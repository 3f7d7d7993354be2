#include "store/prize_table_row.h"

#include "store/in_transaction.h"
#include "store/optional_table_row.h"
#include "store/sqlite_database.h"

namespace qeltaro {

Result<PrizeTable> readStorePrizeTable(Database& db)
{
    auto found = optionalTableRow(db, QStringLiteral("Jiangjin"),
                                  QStringLiteral("SELECT stake, prize1, prize2, prize3, prize4, prize5 FROM Jiangjin LIMIT 1"));
    if (!found)
        return found.error();
    if (!*found)
        return PrizeTable{};
    Statement& row = **found;
    PrizeTable table;
    table.stake = row.integer(0);
    for (int n = 1; n <= 5; ++n)
        table.prizes[size_t(n - 1)] = row.integer(n);
    if (auto problem = table.problem())
        return storageError(QStringLiteral("数据库中的奖金设置无效：%1").arg(*problem));
    return table;
}

Status writeStorePrizeTable(Database& db, const PrizeTable& table)
{
    return inTransaction(db, [&]() -> Status {
        if (Status s = db.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS Jiangjin (stake INTEGER NOT NULL, "
                                              "prize1 INTEGER NOT NULL, prize2 INTEGER NOT NULL, prize3 INTEGER NOT NULL, "
                                              "prize4 INTEGER NOT NULL, prize5 INTEGER NOT NULL)"));
            !s)
            return s;
        if (Status s = db.exec(QStringLiteral("DELETE FROM Jiangjin")); !s)
            return s;
        auto insert = db.prepare(QStringLiteral(
            "INSERT INTO Jiangjin (stake, prize1, prize2, prize3, prize4, prize5) VALUES (?1, ?2, ?3, ?4, ?5, ?6)"));
        if (!insert)
            return insert.error();
        insert->bind(1, table.stake);
        for (int n = 1; n <= 5; ++n)
            insert->bind(n + 1, table.prize(n));
        return insert->run();
    });
}

}  // namespace qeltaro
