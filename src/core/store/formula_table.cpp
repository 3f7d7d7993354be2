#include "store/formula_table.h"

#include "store/schema.h"
#include "store/store.h"

#include <optional>

namespace qeltaro {
namespace {

StoredFormula readFormula(const Statement& stmt)
{
    StoredFormula f;
    f.kind = kindOfKillFlag(stmt.integer(0) != 0);
    f.code = stmt.text(1);
    f.text = stmt.text(2);
    f.idx = int(stmt.integer(3));
    f.rowid = stmt.integer(9);
    if (!stmt.isNull(4)) {
        f.statistics = StoredStatistics{stmt.real(4), int(stmt.integer(5)), int(stmt.integer(6)),
                                        int(stmt.integer(7)), int(stmt.integer(8))};
    }
    return f;
}

Result<std::vector<StoredFormula>> readAll(Statement& stmt)
{
    std::vector<StoredFormula> rows;
    while (stmt.next())
        rows.push_back(readFormula(stmt));
    if (stmt.error())
        return *stmt.error();
    return rows;
}

const QString kColumns = QStringLiteral(
    "BolKill, gongshi, gongshiCN, idx, sglGsRate, intGsErrCon, intGsTrueCon, intGsErrLst, intGsTrueLst, rowid");

QString killLiteral(Kind kind)
{
    return isKill(kind) ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
}

Result<std::int64_t> scalarOrZero(Database& db, const QString& sql)
{
    auto n = db.scalar(sql);
    if (!n)
        return n.error();
    return std::int64_t(n->value_or(0));
}

}  // namespace

Result<std::vector<StoredFormula>> FormulaTable::list(Kind kind) const
{
    auto stmt = store_.database().prepare(QStringLiteral("SELECT %1 FROM %2 WHERE bolKill = %3 ORDER BY Idx, rowid")
                                              .arg(kColumns, formulaTableName(category_), killLiteral(kind)));
    if (!stmt)
        return stmt.error();
    return readAll(*stmt);
}

Result<std::vector<StoredFormula>> FormulaTable::all() const
{
    auto stmt = store_.database().prepare(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY Idx, rowid").arg(kColumns, formulaTableName(category_)));
    if (!stmt)
        return stmt.error();
    return readAll(*stmt);
}

Result<int> FormulaTable::count() const
{
    auto n = store_.database().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(formulaTableName(category_)));
    if (!n)
        return n.error();
    return int(n->value_or(0));
}

Result<int> FormulaTable::count(Kind kind) const
{
    auto n = store_.database().scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE bolKill = %2")
                                          .arg(formulaTableName(category_), killLiteral(kind)));
    if (!n)
        return n.error();
    return int(n->value_or(0));
}

Result<std::optional<std::int64_t>> FormulaTable::lastStoredIdx() const
{
    auto last = store_.database().prepare(
        QStringLiteral("SELECT idx FROM %1 ORDER BY rowid DESC LIMIT 1").arg(formulaTableName(category_)));
    if (!last)
        return last.error();
    if (last->next() && !last->isNull(0))
        return std::optional<std::int64_t>(last->integer(0));
    if (last->error())
        return *last->error();
    return std::optional<std::int64_t>();
}

Result<std::map<std::int64_t, int>> FormulaTable::idxByRowid() const
{
    auto stmt = store_.database().prepare(QStringLiteral("SELECT rowid, idx FROM %1").arg(formulaTableName(category_)));
    if (!stmt)
        return stmt.error();
    std::map<std::int64_t, int> rows;
    while (stmt->next()) {
        if (!stmt->isNull(1))
            rows[stmt->integer(0)] = int(stmt->integer(1));
    }
    if (stmt->error())
        return *stmt->error();
    return rows;
}

Result<std::int64_t> FormulaTable::lastRowid() const
{
    return scalarOrZero(store_.database(), QStringLiteral("SELECT max(rowid) FROM %1").arg(formulaTableName(category_)));
}

Result<std::int64_t> FormulaTable::countAfterRowid(std::int64_t rowid) const
{
    return scalarOrZero(store_.database(),
                        QStringLiteral("SELECT count(*) FROM %1 WHERE rowid > %2").arg(formulaTableName(category_)).arg(rowid));
}

Status FormulaTable::append(Kind kind, const QString& code, const QString& text, int idx)
{
    auto stmt = store_.database().prepare(
        QStringLiteral("INSERT INTO %1 (BolKill, gongshi, gongshiCN, idx) VALUES (?1, ?2, ?3, ?4)")
            .arg(formulaTableName(category_)));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, isKill(kind)).bind(2, code).bind(3, text).bind(4, idx);
    return stmt->run();
}

Status FormulaTable::appendUnnumbered(Kind kind, const QString& code, const QString& text)
{
    auto stmt = store_.database().prepare(
        QStringLiteral("INSERT INTO %1 (BolKill, gongshi, gongshiCN) VALUES (?1, ?2, ?3)").arg(formulaTableName(category_)));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, isKill(kind)).bind(2, code).bind(3, text);
    return stmt->run();
}

Status FormulaTable::removeListed(Kind kind, int idx)
{
    auto stmt = store_.database().prepare(QStringLiteral("DELETE FROM %1 WHERE idx = ?1 AND bolKill = %2")
                                              .arg(formulaTableName(category_), killLiteral(kind)));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, idx);
    return stmt->run();
}

Status FormulaTable::clear()
{
    return store_.database().exec(QStringLiteral("DELETE FROM %1").arg(formulaTableName(category_)));
}

Status FormulaTable::writeStatistics(int idx, const StoredStatistics& s)
{
    auto stmt = store_.database().prepare(
        QStringLiteral("UPDATE %1 SET sglGsRate = ?1, intGsErrCon = ?2, intGsTrueCon = ?3, "
                       "intGsErrLst = ?4, intGsTrueLst = ?5 WHERE idx = ?6")
            .arg(formulaTableName(category_)));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, s.rate).bind(2, s.maxMissRun).bind(3, s.maxHitRun).bind(4, s.lastMissRun)
        .bind(5, s.lastHitRun).bind(6, idx);
    return stmt->run();
}

Status FormulaTable::renumber()
{
    return store_.database().exec(
        QStringLiteral("UPDATE %1 SET idx = r.n FROM (SELECT rowid AS rid, "
                       "row_number() OVER (ORDER BY idx IS NULL, idx, rowid) AS n FROM %1) AS r WHERE %1.rowid = r.rid")
            .arg(formulaTableName(category_)));
}

Status FormulaTable::rebuild()
{
    const QString table = formulaTableName(category_);
    Status s = store_.database().exec(
        QStringLiteral("DELETE FROM %1 WHERE rowid NOT IN "
                       "(SELECT min(rowid) FROM %1 GROUP BY BolKill, gongshi, gongshiCN)")
            .arg(table));
    if (!s)
        return s;
    return store_.database().exec(
        QStringLiteral("UPDATE %1 SET idx = r.n, sglGsRate = NULL, intGsErrCon = NULL, "
                       "intGsTrueCon = NULL, intGsErrLst = NULL, intGsTrueLst = NULL "
                       "FROM (SELECT rowid AS rid, row_number() OVER (ORDER BY rowid) AS n FROM %1) AS r "
                       "WHERE %1.rowid = r.rid")
            .arg(table));
}

Result<std::unordered_map<std::int64_t, int>> FormulaTable::writeBackStatistics(const StatisticsByRowid& statistics)
{
    Database& db = store_.database();
    const QString name = formulaTableName(category_);
    Transaction transaction(db);
    if (!transaction.begun())
        return transaction.begun().error();

    auto rows = db.prepare(QStringLiteral("SELECT rowid, idx FROM %1 ORDER BY idx, rowid").arg(name));
    if (!rows)
        return rows.error();
    struct Stored {
        std::int64_t rowid;
        std::optional<std::int64_t> idx;
    };
    std::vector<Stored> order;
    while (rows->next())
        order.push_back({rows->integer(0), rows->isNull(1) ? std::nullopt : std::optional(rows->integer(1))});
    if (rows->error())
        return *rows->error();

    // Only what differs is written: a row keeping its idx is not renumbered (nor its index entry
    // rewritten), and statistics equal to the stored ones are left alone, so a back-test over an
    // unchanged history writes no page.
    const QString statistics6 = QStringLiteral("sglGsRate = ?2, intGsErrCon = ?3, intGsTrueCon = ?4, intGsErrLst = ?5, "
                                               "intGsTrueLst = ?6");
    const QString differ6 = QStringLiteral("(sglGsRate IS NOT ?2 OR intGsErrCon IS NOT ?3 OR intGsTrueCon IS NOT ?4 OR "
                                           "intGsErrLst IS NOT ?5 OR intGsTrueLst IS NOT ?6)");
    const QString empty = QStringLiteral("sglGsRate = NULL, intGsErrCon = NULL, intGsTrueCon = NULL, intGsErrLst = NULL, "
                                         "intGsTrueLst = NULL");
    const QString notEmpty = QStringLiteral("(sglGsRate IS NOT NULL OR intGsErrCon IS NOT NULL OR intGsTrueCon IS NOT NULL "
                                            "OR intGsErrLst IS NOT NULL OR intGsTrueLst IS NOT NULL)");
    auto renumber = db.prepare(QStringLiteral("UPDATE %1 SET idx = ?1 WHERE rowid = ?2").arg(name));
    auto withStatistics = db.prepare(QStringLiteral("UPDATE %1 SET idx = ?1, %2 WHERE rowid = ?7").arg(name, statistics6));
    auto onlyStatistics = db.prepare(
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?7 AND %3").arg(name, statistics6, differ6));
    auto withoutStatistics = db.prepare(QStringLiteral("UPDATE %1 SET idx = ?1, %2 WHERE rowid = ?2").arg(name, empty));
    auto onlyEmptied = db.prepare(
        QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?2 AND %3").arg(name, empty, notEmpty));
    for (auto* stmt : {&renumber, &withStatistics, &onlyStatistics, &withoutStatistics, &onlyEmptied}) {
        if (!*stmt)
            return stmt->error();
    }

    std::unordered_map<std::int64_t, int> newIdx;
    newIdx.reserve(order.size());
    int m = 0;
    for (const Stored& row : order) {
        ++m;
        newIdx.emplace(row.rowid, m);
        const bool keepsIdx = row.idx == m;
        const auto listed = statistics.find(row.rowid);
        Status done = success();
        if (listed == statistics.end()) {
            if (!keepsIdx)
                done = renumber->bind(1, m).bind(2, row.rowid).run();
        } else if (const auto& s = listed->second) {
            Statement& update = keepsIdx ? *onlyStatistics : *withStatistics;
            update.bind(1, m).bind(2, s->rate).bind(3, s->maxMissRun).bind(4, s->maxHitRun).bind(5, s->lastMissRun)
                .bind(6, s->lastHitRun).bind(7, row.rowid);
            done = update.run();
        } else {
            Statement& update = keepsIdx ? *onlyEmptied : *withoutStatistics;
            done = update.bind(1, m).bind(2, row.rowid).run();
        }
        if (!done)
            return done.error();
    }
    if (Status committed = transaction.commit(); !committed)
        return committed.error();
    return newIdx;
}

}  // namespace qeltaro
