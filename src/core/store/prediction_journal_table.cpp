#include "store/prediction_journal_table.h"

#include "store/store.h"

#include <QStringList>

#include <map>

namespace qeltaro {
namespace {

QString keptText(const std::vector<int>& kept)
{
    QString text;
    for (int digit : kept)
        text += QString::number(digit);
    return text;
}

std::vector<int> keptOf(const QString& text)
{
    std::vector<int> kept;
    for (QChar c : text) {
        if (c.isDigit())
            kept.push_back(c.digitValue());
    }
    return kept;
}

QString totalsText(const std::array<int, 10>& totals)
{
    QStringList parts;
    for (int total : totals)
        parts << QString::number(total);
    return parts.join(u',');
}

std::array<int, 10> totalsOf(const QString& text)
{
    std::array<int, 10> totals{};
    const QStringList parts = text.split(u',');
    for (int d = 0; d < 10 && d < parts.size(); ++d)
        totals[size_t(d)] = parts[d].toInt();
    return totals;
}

}  // namespace

Result<bool> PredictionJournalTable::exists() const
{
    auto count = store_.database().scalar(
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'PredictionJournal'"));
    if (!count)
        return count.error();
    return count->value_or(0) > 0;
}

Status PredictionJournalTable::create()
{
    Database& db = store_.database();
    for (const QString& sql :
         {QStringLiteral("CREATE TABLE IF NOT EXISTS PredictionJournal (id INTEGER PRIMARY KEY, recordedAt TEXT NOT NULL, "
                         "period TEXT NOT NULL, category TEXT NOT NULL, kill INTEGER NOT NULL, method TEXT NOT NULL, "
                         "settings TEXT NOT NULL, formulaCount INTEGER NOT NULL)"),
          QStringLiteral("CREATE TABLE IF NOT EXISTS PredictionJournalSlot (entry INTEGER NOT NULL, slot INTEGER NOT NULL, "
                         "tableSuffix TEXT NOT NULL, kept TEXT NOT NULL, totals TEXT NOT NULL, PRIMARY KEY (entry, slot))"),
          QStringLiteral("CREATE INDEX IF NOT EXISTS PredictionJournal_period ON PredictionJournal(period)")}) {
        if (Status s = db.exec(sql); !s)
            return s;
    }
    return success();
}

Result<std::int64_t> PredictionJournalTable::record(const JournalEntryRow& entry)
{
    Database& db = store_.database();
    Transaction transaction(db);
    if (!transaction.begun())
        return transaction.begun().error();
    if (Status s = create(); !s)
        return s.error();

    // The same calculation run again: drop the earlier entry, the new one takes its place.
    auto same = db.prepare(QStringLiteral("SELECT id FROM PredictionJournal WHERE period = ?1 AND category = ?2 AND "
                                          "kill = ?3 AND method = ?4 AND settings = ?5"));
    if (!same)
        return same.error();
    same->bind(1, entry.period).bind(2, entry.category).bind(3, isKill(entry.kind)).bind(4, entry.method).bind(5, entry.settings);
    std::vector<std::int64_t> candidates;
    while (same->next())
        candidates.push_back(same->integer(0));
    if (same->error())
        return *same->error();
    auto slotsOf = db.prepare(QStringLiteral(
        "SELECT slot, tableSuffix, kept, totals FROM PredictionJournalSlot WHERE entry = ?1 ORDER BY slot"));
    auto dropSlots = db.prepare(QStringLiteral("DELETE FROM PredictionJournalSlot WHERE entry = ?1"));
    auto dropEntry = db.prepare(QStringLiteral("DELETE FROM PredictionJournal WHERE id = ?1"));
    for (auto* stmt : {&slotsOf, &dropSlots, &dropEntry}) {
        if (!*stmt)
            return stmt->error();
    }
    for (std::int64_t id : candidates) {
        std::vector<JournalSlotRow> stored;
        slotsOf->reset();
        slotsOf->bind(1, id);
        while (slotsOf->next())
            stored.push_back({int(slotsOf->integer(0)), slotsOf->text(1), keptOf(slotsOf->text(2)), totalsOf(slotsOf->text(3))});
        if (slotsOf->error())
            return *slotsOf->error();
        if (stored != entry.slotRows)
            continue;
        if (Status s = dropSlots->bind(1, id).run(); !s)
            return s.error();
        if (Status s = dropEntry->bind(1, id).run(); !s)
            return s.error();
    }

    auto insert = db.prepare(QStringLiteral(
        "INSERT INTO PredictionJournal (recordedAt, period, category, kill, method, settings, formulaCount) "
        "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"));
    if (!insert)
        return insert.error();
    insert->bind(1, entry.recordedAt).bind(2, entry.period).bind(3, entry.category).bind(4, isKill(entry.kind))
        .bind(5, entry.method).bind(6, entry.settings).bind(7, entry.formulaCount);
    if (Status s = insert->run(); !s)
        return s.error();
    auto id = db.scalar(QStringLiteral("SELECT last_insert_rowid()"));
    if (!id)
        return id.error();
    auto insertSlot = db.prepare(QStringLiteral(
        "INSERT INTO PredictionJournalSlot (entry, slot, tableSuffix, kept, totals) VALUES (?1, ?2, ?3, ?4, ?5)"));
    if (!insertSlot)
        return insertSlot.error();
    for (const JournalSlotRow& slot : entry.slotRows) {
        insertSlot->bind(1, id->value_or(0)).bind(2, slot.slot).bind(3, slot.table).bind(4, keptText(slot.kept))
            .bind(5, totalsText(slot.totals));
        if (Status s = insertSlot->run(); !s)
            return s.error();
    }
    if (Status s = transaction.commit(); !s)
        return s.error();
    return id->value_or(0);
}

Result<std::vector<JournalEntryRow>> PredictionJournalTable::list(const QString& category, std::optional<Kind> kind) const
{
    auto present = exists();
    if (!present)
        return present.error();
    std::vector<JournalEntryRow> entries;
    if (!*present)
        return entries;
    Database& db = store_.database();
    auto stmt = db.prepare(QStringLiteral(
        "SELECT j.id, j.recordedAt, j.period, j.category, j.kill, j.method, j.settings, j.formulaCount, "
        "h.L1A, h.L2A, h.L3A, h.L4A, h.L5A, h.strQQH IS NOT NULL "
        "FROM PredictionJournal j LEFT JOIN Lishi h ON h.strQQH = j.period "
        "WHERE (?1 = '' OR j.category = ?1) AND (?2 < 0 OR j.kill = ?2) ORDER BY j.period, j.id"));
    if (!stmt)
        return stmt.error();
    stmt->bind(1, category).bind(2, kind ? int(isKill(*kind)) : -1);
    std::map<std::int64_t, size_t> place;
    while (stmt->next()) {
        JournalEntryRow e;
        e.id = stmt->integer(0);
        e.recordedAt = stmt->text(1);
        e.period = stmt->text(2);
        e.category = stmt->text(3);
        e.kind = kindOfKillFlag(stmt->integer(4) != 0);
        e.method = stmt->text(5);
        e.settings = stmt->text(6);
        e.formulaCount = int(stmt->integer(7));
        if (stmt->integer(13) != 0)
            e.drawn = Digits{int(stmt->integer(8)), int(stmt->integer(9)), int(stmt->integer(10)),
                             int(stmt->integer(11)), int(stmt->integer(12))};
        place.emplace(e.id, entries.size());
        entries.push_back(std::move(e));
    }
    if (stmt->error())
        return *stmt->error();
    auto slotRows = db.prepare(QStringLiteral(
        "SELECT entry, slot, tableSuffix, kept, totals FROM PredictionJournalSlot ORDER BY entry, slot"));
    if (!slotRows)
        return slotRows.error();
    while (slotRows->next()) {
        const auto it = place.find(slotRows->integer(0));
        if (it == place.end())
            continue;
        entries[it->second].slotRows.push_back(
            {int(slotRows->integer(1)), slotRows->text(2), keptOf(slotRows->text(3)), totalsOf(slotRows->text(4))});
    }
    if (slotRows->error())
        return *slotRows->error();
    return entries;
}

Result<int> PredictionJournalTable::clear()
{
    auto present = exists();
    if (!present)
        return present.error();
    if (!*present)
        return 0;
    Database& db = store_.database();
    Transaction transaction(db);
    if (!transaction.begun())
        return transaction.begun().error();
    auto count = db.scalar(QStringLiteral("SELECT count(*) FROM PredictionJournal"));
    if (!count)
        return count.error();
    for (const char* sql : {"DELETE FROM PredictionJournalSlot", "DELETE FROM PredictionJournal"}) {
        if (Status s = db.exec(QString::fromLatin1(sql)); !s)
            return s.error();
    }
    if (Status s = transaction.commit(); !s)
        return s.error();
    return int(count->value_or(0));
}

}  // namespace qeltaro
