#pragma once
// Saving found formulas into the formula tables of their categories: appended to the formulas
// there ("公式追加到数据库(&A)") or in place of them ("公式更新到数据库(&N)"). Every formula is stored
// with the kill flag in force when saving, every table written is rebuilt (duplicates removed,
// idx 1..n), all in one transaction; a replace keeps a backup copy of the store first. The
// window then refreshes and shows "公式追加完毕！".

#include "common/result.h"
#include "domain/category.h"
#include "domain/formula_selection.h"
#include "domain/kind.h"
#include "search/found_formula.h"

#include <QString>

#include <optional>
#include <vector>

namespace qeltaro {

class Store;

enum class SaveMode { Append, Replace };
// The manual search's path or the scheme's; they store the same rows and differ in the
// selection flags they leave.
enum class SavePath { Manual, Scheme };

struct TableSaveReport {
    Category category;
    long long heldBefore = 0;  // rows before the save, both kinds
    long long written = 0;     // found formulas written to it
    long long added = 0;       // of those, rows left after the rebuild
    long long heldAfter = 0;
};

struct SaveReport {
    std::vector<TableSaveReport> tables;  // in the order first written
    QString backupPath;                   // the copy kept before a replace
    std::optional<Category> lastCategory;  // of the last formula, which the window selects afterwards

    long long written() const;
};

QString saveFinishedMessage();  // 公式追加完毕！ (for both modes)
QString saveFinishedTitle();    // 追加公式

// Saves `found` in order. A replace empties each table it writes once, before its first
// formula, so formulas of one category found in several runs all stay. Nothing found: nothing
// is written.
Result<SaveReport> saveFoundFormulas(Store& store, const std::vector<FoundFormula>& found, SaveMode mode, Kind kind);

// The selection flags (by idx after the save) of a table the save wrote: a manual append
// selects the formulas that were there, a manual replace the new ones; a scheme append selects
// the new ones, a scheme replace first unselects the old ones. Other flags stay.
void applySaveSelection(const TableSaveReport& table, SaveMode mode, SavePath path, FormulaSelection& selection);
// The flags a save leaves on the list the main window shows: only its own table's flags are in
// memory, so the tables of other categories change nothing.
void applySaveSelection(const SaveReport& report, const Category& listed, SaveMode mode, SavePath path,
                        FormulaSelection& selection);

}  // namespace qeltaro
