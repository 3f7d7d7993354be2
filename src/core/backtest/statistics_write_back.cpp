#include "backtest/statistics_write_back.h"

#include "store/store.h"

#include <unordered_map>

namespace qeltaro {

Status arrGs(Store& store, FormulaList& list, FormulaStatsTable& table)
{
    Database& db = store.database();
    const QString name = list.category().tableName();
    Transaction transaction(db);
    if (!transaction.begun())
        return transaction.begun();

    auto rows = db.prepare(QStringLiteral("SELECT rowid FROM %1 ORDER BY idx, rowid").arg(name));
    if (!rows)
        return rows.error();
    std::vector<std::int64_t> order;
    while (rows->next())
        order.push_back(rows->integer(0));
    if (rows->error())
        return *rows->error();

    auto renumber = db.prepare(QStringLiteral("UPDATE %1 SET idx = ?1 WHERE rowid = ?2").arg(name));
    auto withStatistics = db.prepare(
        QStringLiteral("UPDATE %1 SET idx = ?1, sglGsRate = ?2, intGsErrCon = ?3, intGsTrueCon = ?4, "
                       "intGsErrLst = ?5, intGsTrueLst = ?6 WHERE rowid = ?7").arg(name));
    auto withoutStatistics = db.prepare(
        QStringLiteral("UPDATE %1 SET idx = ?1, sglGsRate = NULL, intGsErrCon = NULL, intGsTrueCon = NULL, "
                       "intGsErrLst = NULL, intGsTrueLst = NULL WHERE rowid = ?2").arg(name));
    for (auto* stmt : {&renumber, &withStatistics, &withoutStatistics}) {
        if (!*stmt)
            return stmt->error();
    }

    std::unordered_map<std::int64_t, int> ordinalOfRow;
    for (int k = 0; k < list.size() && k < table.size(); ++k) {
        if (list.at(k).rowid != 0)
            ordinalOfRow.emplace(list.at(k).rowid, k);
    }

    std::vector<int> newIdxs = list.idxs();
    int m = 0;
    for (std::int64_t rowid : order) {
        ++m;
        const auto listed = ordinalOfRow.find(rowid);
        Status done = success();
        if (listed == ordinalOfRow.end()) {
            renumber->bind(1, m).bind(2, rowid);
            done = renumber->run();
        } else if (const FormulaStats& stats = table.at(listed->second); stats.evaluated()) {
            withStatistics->bind(1, m).bind(2, double(stats.rate)).bind(3, stats.maxMissRun)
                .bind(4, stats.maxHitRun).bind(5, stats.lastMissRun).bind(6, stats.lastHitRun).bind(7, rowid);
            done = withStatistics->run();
            newIdxs[size_t(listed->second)] = m;
        } else {
            withoutStatistics->bind(1, m).bind(2, rowid);
            done = withoutStatistics->run();
            newIdxs[size_t(listed->second)] = m;
        }
        if (!done)
            return done;
    }
    if (Status committed = transaction.commit(); !committed)
        return committed;
    list.rekey(newIdxs);
    table.rekey(newIdxs);
    return success();
}

}  // namespace qeltaro
