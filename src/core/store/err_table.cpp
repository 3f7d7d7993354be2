#include "store/err_table.h"

#include "store/in_transaction.h"
#include "store/store.h"

namespace qeltaro {
namespace {

QString tableName(ErrCountTable table)
{
    return table == ErrCountTable::ReplayTallies ? QStringLiteral("Errarr") : QStringLiteral("ErrarrLei");
}

Status insertRow(Database& db, const QString& table, int digit, const ErrCount& count)
{
    auto insert = db.prepare(
        QStringLiteral("INSERT INTO %1 (num, ETrrcount, Errcount, Trrcount) VALUES (?1, ?2, ?3, ?4)").arg(table));
    if (!insert)
        return insert.error();
    insert->bind(1, digit).bind(2, count.total).bind(3, count.kill).bind(4, count.keep);
    return insert->run();
}

}  // namespace

Status storeReplayTallies(Store& store, const ErrCounts& counts)
{
    Database& db = store.database();
    return inTransaction(db, [&]() -> Status {
        auto update =
            db.prepare(QStringLiteral("UPDATE Errarr SET ETrrcount = ?1, Errcount = ?2, Trrcount = ?3 WHERE num = ?4"));
        if (!update)
            return update.error();
        for (int digit = 0; digit < 10; ++digit) {
            const ErrCount& count = counts[size_t(digit)];
            update->bind(1, count.total).bind(2, count.kill).bind(3, count.keep).bind(4, digit);
            if (Status s = update->run(); !s)
                return s;
            if (db.changes() == 0) {
                if (Status s = insertRow(db, QStringLiteral("Errarr"), digit, count); !s)
                    return s;
            }
        }
        return success();
    });
}

Status storeShownCounts(Store& store, const ErrCounts& counts)
{
    Database& db = store.database();
    return inTransaction(db, [&]() -> Status {
        if (Status s = db.exec(QStringLiteral("DELETE FROM ErrarrLei")); !s)
            return s;
        for (int digit = 0; digit < 10; ++digit) {
            if (Status s = insertRow(db, QStringLiteral("ErrarrLei"), digit, counts[size_t(digit)]); !s)
                return s;
        }
        return success();
    });
}

Result<ErrCounts> readErrCounts(Store& store, ErrCountTable table)
{
    auto select = store.database().prepare(
        QStringLiteral("SELECT num, ETrrcount, Errcount, Trrcount FROM %1 ORDER BY num").arg(tableName(table)));
    if (!select)
        return select.error();
    ErrCounts counts{};
    while (select->next()) {
        const auto digit = select->integer(0);
        if (digit >= 0 && digit <= 9)
            counts[size_t(digit)] = {int(select->integer(1)), int(select->integer(2)), int(select->integer(3))};
    }
    if (select->error())
        return *select->error();
    return counts;
}

}  // namespace qeltaro
