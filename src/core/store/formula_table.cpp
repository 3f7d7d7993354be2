#include "store/formula_table.h"

#include "store/store.h"

namespace qeltaro {
namespace {

StoredFormula readFormula(const Statement& stmt)
{
    StoredFormula f;
    f.kill = stmt.integer(0) != 0;
    f.code = stmt.text(1);
    f.text = stmt.text(2);
    f.idx = int(stmt.integer(3));
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
    "BolKill, gongshi, gongshiCN, idx, sglGsRate, intGsErrCon, intGsTrueCon, intGsErrLst, intGsTrueLst");

}  // namespace

Result<std::vector<StoredFormula>> FormulaTable::list(bool kill) const
{
    auto stmt = store_.database().prepare(QStringLiteral("SELECT %1 FROM %2 WHERE bolKill = %3 ORDER BY Idx, rowid")
                                              .arg(kColumns, category_.tableName(),
                                                   kill ? QStringLiteral("TRUE") : QStringLiteral("FALSE")));
    if (!stmt)
        return stmt.error();
    return readAll(*stmt);
}

Result<std::vector<StoredFormula>> FormulaTable::all() const
{
    auto stmt = store_.database().prepare(
        QStringLiteral("SELECT %1 FROM %2 ORDER BY Idx, rowid").arg(kColumns, category_.tableName()));
    if (!stmt)
        return stmt.error();
    return readAll(*stmt);
}

Result<int> FormulaTable::count() const
{
    auto n = store_.database().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(category_.tableName()));
    if (!n)
        return n.error();
    return int(n->value_or(0));
}

Result<int> FormulaTable::count(bool kill) const
{
    auto n = store_.database().scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE bolKill = %2")
                                          .arg(category_.tableName(), kill ? QStringLiteral("TRUE") : QStringLiteral("FALSE")));
    if (!n)
        return n.error();
    return int(n->value_or(0));
}

Status FormulaTable::append(bool kill, const QString& code, const QString& text, int idx)
{
    auto stmt = store_.database().prepare(
        QStringLiteral("INSERT INTO %1 (BolKill, gongshi, gongshiCN, idx) VALUES (?1, ?2, ?3, ?4)")
            .arg(category_.tableName()));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, kill).bind(2, code).bind(3, text).bind(4, idx);
    return stmt->run();
}

Status FormulaTable::appendUnnumbered(bool kill, const QString& code, const QString& text)
{
    auto stmt = store_.database().prepare(
        QStringLiteral("INSERT INTO %1 (BolKill, gongshi, gongshiCN) VALUES (?1, ?2, ?3)").arg(category_.tableName()));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, kill).bind(2, code).bind(3, text);
    return stmt->run();
}

Status FormulaTable::removeIdx(int idx)
{
    auto stmt = store_.database().prepare(QStringLiteral("DELETE FROM %1 WHERE idx = ?1").arg(category_.tableName()));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, idx);
    return stmt->run();
}

Status FormulaTable::clear()
{
    return store_.database().exec(QStringLiteral("DELETE FROM %1").arg(category_.tableName()));
}

Status FormulaTable::writeStatistics(int idx, const StoredStatistics& s)
{
    auto stmt = store_.database().prepare(
        QStringLiteral("UPDATE %1 SET sglGsRate = ?1, intGsErrCon = ?2, intGsTrueCon = ?3, "
                       "intGsErrLst = ?4, intGsTrueLst = ?5 WHERE idx = ?6")
            .arg(category_.tableName()));
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
            .arg(category_.tableName()));
}

Status FormulaTable::rebuild()
{
    const QString table = category_.tableName();
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

}  // namespace qeltaro
