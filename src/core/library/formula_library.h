#pragma once
// Keeping the formula library: clearing every category, deleting formulas of the listed category
// and kind, and selecting the listed formulas. Deletes compact the store and number the table's
// formulas 1..n again; the selection flags (keyed by idx) are carried across as each operation
// says. The window asks its questions first and refreshes afterwards.

#include "common/result.h"
#include "language/formula_line.h"
#include "store/formula_table.h"

#include <QString>

#include <vector>

namespace qeltaro {

class FormulaSelection;
class Store;

// Question box texts and titles.
QString clearAllQuestion();          // 清空所有公式后将无法恢复，是否清空所有类别的公式？
QString clearAllTitle();             // 清空所有公式
QString deleteSelectedQuestion();    // 确实要删除选中的所有公式(公式列表序号蓝色表示)吗?
QString deleteUnselectedQuestion();  // 确实要删除选未中的所有公式(公式列表序号灰色表示)吗?
QString deleteFormulasTitle();       // 删除公式

// Empties the nine formula tables inside the caller's transaction.
Status clearFormulaTables(Store& store);
// Keeps a backup copy of the store, then empties the nine formula tables in one transaction.
// Returns the backup's path. No compaction.
Result<QString> clearAllFormulas(Store& store);

// What happens to the selection flags when one formula is deleted.
enum class FlagsAfterDelete {
    FollowFormulas,  // 删除该公式: every remaining formula keeps its own flag under its new idx
    StayWithNumbers, // 删除最后公式: each idx keeps the flag it had
};

struct FormulaDeleteReport {
    int deleted = 0;
    int remaining = 0;  // formulas left in the table, both kinds
};

// Deletes the listed formula with this idx, then compacts and renumbers. Refused when the list
// holds no such formula.
Result<FormulaDeleteReport> deleteFormula(Store& store, const FormulaListKey& list, int idx, FlagsAfterDelete flags,
                                   FormulaSelection& selection);
// Delete the listed formulas whose flag is on (off); afterwards every formula is selected.
Result<FormulaDeleteReport> deleteSelectedFormulas(Store& store, const FormulaListKey& list, FormulaSelection& selection);
Result<FormulaDeleteReport> deleteUnselectedFormulas(Store& store, const FormulaListKey& list, FormulaSelection& selection);

// The formulas of one category and kind, in idx order: the list the window shows.
Result<std::vector<StoredFormula>> listFormulas(Store& store, const FormulaListKey& list);

// The idx of the listed formulas, in list order.
Result<std::vector<int>> listedIdx(Store& store, const FormulaListKey& list);
Status selectAllFormulas(Store& store, const FormulaListKey& list, FormulaSelection& selection);
Status invertFormulaSelection(Store& store, const FormulaListKey& list, FormulaSelection& selection);

}  // namespace qeltaro
