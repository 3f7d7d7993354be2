#include "search/found_formula_save.h"

#include "store/formula_table.h"
#include "store/in_transaction.h"
#include "store/store.h"

namespace qeltaro {
namespace {

struct OpenTable {
    TableSaveReport report;
    long long lastRowidBefore = 0;
};

}  // namespace

long long SaveReport::written() const
{
    long long total = 0;
    for (const TableSaveReport& t : tables)
        total += t.written;
    return total;
}

QString saveFinishedMessage()
{
    return QStringLiteral("公式追加完毕！");
}

QString saveFinishedTitle()
{
    return QStringLiteral("追加公式");
}

Result<SaveReport> saveFoundFormulas(Store& store, const std::vector<FoundFormula>& found, SaveMode mode, Kind kind)
{
    SaveReport report;
    if (found.empty())
        return report;
    if (mode == SaveMode::Replace) {
        auto backup = store.backup(QStringLiteral("search-replace"));
        if (!backup)
            return backup.error();
        report.backupPath = *backup;
    }

    Status saved = inTransaction(store.database(), [&]() -> Status {
        std::vector<OpenTable> tables;
        for (const FoundFormula& formula : found) {
            FormulaTable table(store, formula.category);
            OpenTable* open = nullptr;
            for (OpenTable& t : tables) {
                if (t.report.category == formula.category)
                    open = &t;
            }
            if (!open) {
                OpenTable t;
                t.report.category = formula.category;
                auto held = table.count();
                if (!held)
                    return held.error();
                t.report.heldBefore = *held;
                auto lastRowid = table.lastRowid();
                if (!lastRowid)
                    return lastRowid.error();
                t.lastRowidBefore = *lastRowid;
                if (mode == SaveMode::Replace) {
                    if (Status s = table.clear(); !s)
                        return s.error();
                }
                tables.push_back(t);
                open = &tables.back();
            }
            if (Status s = table.appendUnnumbered(kind, formula.code, formula.text); !s)
                return s.error();
            ++open->report.written;
        }

        for (OpenTable& t : tables) {
            FormulaTable table(store, t.report.category);
            if (Status s = table.rebuild(); !s)
                return s.error();
            auto after = table.count();
            if (!after)
                return after.error();
            t.report.heldAfter = *after;
            if (mode == SaveMode::Replace) {
                t.report.added = *after;
            } else {
                auto added = table.countAfterRowid(t.lastRowidBefore);
                if (!added)
                    return added.error();
                t.report.added = *added;
            }
            report.tables.push_back(t.report);
        }
        return success();
    });
    if (!saved)
        return saved.error();
    report.lastCategory = found.back().category;
    return report;
}

void applySaveSelection(const TableSaveReport& table, SaveMode mode, SavePath path, FormulaSelection& selection)
{
    // After the rebuild the rows that were there come first (idx 1..kept), the new ones follow.
    const long long kept = table.heldAfter - table.added;
    auto setRange = [&selection](long long from, long long to, bool on) {
        for (long long idx = from; idx <= to; ++idx)
            selection.set(int(idx), on);
    };
    if (mode == SaveMode::Append) {
        if (path == SavePath::Manual)
            setRange(1, kept, true);
        else
            setRange(kept + 1, kept + table.added, true);
        return;
    }
    if (path == SavePath::Scheme)
        setRange(1, table.heldBefore, false);
    setRange(1, table.added, true);
}

void applySaveSelection(const SaveReport& report, const Category& listed, SaveMode mode, SavePath path,
                        FormulaSelection& selection)
{
    for (const TableSaveReport& table : report.tables) {
        if (table.category == listed)
            applySaveSelection(table, mode, path, selection);
    }
}

}  // namespace qeltaro
