#pragma once
// The prediction journal: every next-period calculation the user ran, with the digits it kept
// for each slot. Its tables are the program's own (no older tool reads them) and are made on
// the first entry, so a store that never recorded one opens unchanged. Reading joins the
// history, so an entry carries the draw of its period as soon as that draw is stored.

#include "common/result.h"
#include "domain/draw_record.h"
#include "domain/kind.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

class Store;

struct JournalSlotRow {
    int slot = 0;                 // 0: group play; 1..5: a direct-play position table
    QString table;                // the formula table's suffix, "3D"
    std::vector<int> kept;        // ascending
    std::array<int, 10> totals{}; // how many counted formulas named each digit
    friend bool operator==(const JournalSlotRow&, const JournalSlotRow&) = default;
};

struct JournalEntryRow {
    std::int64_t id = 0;
    QString recordedAt;  // local time, ISO 8601
    QString period;      // the predicted period
    QString category;    // suffix, "3D"
    Kind kind = Kind::Kill;
    QString method;      // "best" or "selected"
    QString settings;    // the method's settings as text
    int formulaCount = 0;
    std::vector<JournalSlotRow> slotRows;
    std::optional<Digits> drawn;  // read only: the draw of the period, once stored
};

class PredictionJournalTable {
public:
    explicit PredictionJournalTable(Store& store) : store_(store) {}

    // Adds the entry. An earlier entry for the same period, category, kind, method and settings
    // with the same slots is replaced (the calculation was merely run again). One transaction.
    // Returns the new entry's id.
    Result<std::int64_t> record(const JournalEntryRow& entry);
    // Entries, oldest period first (entries of one period in the order recorded); empty texts
    // select every category or kind.
    Result<std::vector<JournalEntryRow>> list(const QString& category = {}, std::optional<Kind> kind = {}) const;
    // Removes every entry. Returns how many there were.
    Result<int> clear();

private:
    Result<bool> exists() const;
    Status create();

    Store& store_;
};

}  // namespace qeltaro
