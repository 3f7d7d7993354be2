#include "store/history_table.h"

#include "store/schema.h"
#include "store/store.h"

namespace qeltaro {
namespace {

QString selectColumns()
{
    return QStringLiteral("SELECT strQQH, ") + historyValueColumns().join(QStringLiteral(", ")) +
           QStringLiteral(" FROM Lishi");
}

DrawRecord readRecord(const Statement& stmt)
{
    DrawRecord record;
    record.period = stmt.text(0);
    for (int i = 0; i < kParameterCount; ++i)
        record.values[i] = int(stmt.integer(i + 1));
    return record;
}

}  // namespace

Result<std::vector<DrawRecord>> HistoryTable::all() const
{
    auto stmt = store_.database().prepare(selectColumns() + QStringLiteral(" ORDER BY strQQH"));
    if (!stmt)
        return stmt.error();
    std::vector<DrawRecord> rows;
    while (stmt->next())
        rows.push_back(readRecord(*stmt));
    if (stmt->error())
        return *stmt->error();
    return rows;
}

Result<std::vector<std::pair<QString, Digits>>> HistoryTable::allDigits() const
{
    auto stmt = store_.database().prepare(QStringLiteral("SELECT strQQH, ") +
                                          historyValueColumns().mid(0, 5).join(QStringLiteral(", ")) +
                                          QStringLiteral(" FROM Lishi ORDER BY strQQH"));
    if (!stmt)
        return stmt.error();
    std::vector<std::pair<QString, Digits>> rows;
    while (stmt->next()) {
        Digits digits{};
        for (int p = 0; p < 5; ++p)
            digits[size_t(p)] = int(stmt->integer(p + 1));
        rows.emplace_back(stmt->text(0), digits);
    }
    if (stmt->error())
        return *stmt->error();
    return rows;
}

Result<std::optional<DrawRecord>> HistoryTable::single(const QString& sql, const QString& period) const
{
    auto stmt = store_.database().prepare(sql);
    if (!stmt)
        return stmt.error();
    if (!period.isNull())
        stmt->bind(1, period);
    if (stmt->next())
        return std::optional<DrawRecord>(readRecord(*stmt));
    if (stmt->error())
        return *stmt->error();
    return std::optional<DrawRecord>();
}

Result<std::optional<DrawRecord>> HistoryTable::last() const
{
    return single(selectColumns() + QStringLiteral(" ORDER BY strQQH DESC LIMIT 1"), QString());
}

Result<std::optional<DrawRecord>> HistoryTable::find(const QString& period) const
{
    return single(selectColumns() + QStringLiteral(" WHERE strQQH = ?1"), period);
}

Result<std::optional<DrawRecord>> HistoryTable::before(const QString& period) const
{
    return single(selectColumns() + QStringLiteral(" WHERE strQQH < ?1 ORDER BY strQQH DESC LIMIT 1"), period);
}

Result<std::optional<DrawRecord>> HistoryTable::after(const QString& period) const
{
    return single(selectColumns() + QStringLiteral(" WHERE strQQH > ?1 ORDER BY strQQH LIMIT 1"), period);
}

Result<int> HistoryTable::count() const
{
    auto n = store_.database().scalar(QStringLiteral("SELECT count(*) FROM Lishi"));
    if (!n)
        return n.error();
    return int(n->value_or(0));
}

Result<bool> HistoryTable::contains(const QString& period) const
{
    auto stmt = store_.database().prepare(QStringLiteral("SELECT 1 FROM Lishi WHERE strQQH = ?1"));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, period);
    const bool found = stmt->next();
    if (stmt->error())
        return *stmt->error();
    return found;
}

Result<QString> HistoryTable::periodBeforeNewest(std::int64_t back) const
{
    auto stmt = store_.database().prepare(QStringLiteral("SELECT strQQH FROM Lishi ORDER BY strQQH DESC LIMIT 1 OFFSET ?1"));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, back);
    if (stmt->next())
        return stmt->text(0);
    if (stmt->error())
        return *stmt->error();
    return QString();
}

Status HistoryTable::insert(const DrawRecord& record)
{
    if (!insert_) {
        const QStringList& columns = historyValueColumns();
        QString sql = QStringLiteral("INSERT INTO Lishi (strQQH, ") + columns.join(QStringLiteral(", ")) +
                      QStringLiteral(") VALUES (?1");
        for (int i = 0; i < kParameterCount; ++i)
            sql += QStringLiteral(", ?%1").arg(i + 2);
        sql += u')';
        auto stmt = store_.database().prepare(sql);
        if (!stmt)
            return stmt.error();
        insert_ = std::move(*stmt);
    }
    insert_->bind(1, record.period);
    for (int i = 0; i < kParameterCount; ++i)
        insert_->bind(i + 2, record.values[size_t(i)]);
    Status s = insert_->run();
    if (s)
        store_.markHistoryChanged();
    return s;
}

Status HistoryTable::updateRepeats(const QString& period, int sameAtPosition, int foundInPrevious)
{
    auto stmt = store_.database().prepare(QStringLiteral("UPDATE Lishi SET LX = ?1, LY = ?2 WHERE strQQH = ?3"));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, sameAtPosition).bind(2, foundInPrevious).bind(3, period);
    Status s = stmt->run();
    if (s)
        store_.markHistoryChanged();
    return s;
}

Status HistoryTable::removeFrom(const QString& firstRemovedPeriod)
{
    auto stmt = store_.database().prepare(QStringLiteral("DELETE FROM Lishi WHERE strQQH >= ?1"));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, firstRemovedPeriod);
    Status s = stmt->run();
    if (s)
        store_.markHistoryChanged();
    return s;
}

Status HistoryTable::removeAll()
{
    Status s = store_.database().exec(QStringLiteral("DELETE FROM Lishi"));
    if (s)
        store_.markHistoryChanged();
    return s;
}

}  // namespace qeltaro
