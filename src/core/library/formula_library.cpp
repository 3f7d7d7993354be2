#include "library/formula_library.h"

#include "domain/formula_selection.h"
#include "store/formula_table.h"
#include "store/in_transaction.h"
#include "store/store.h"

#include <algorithm>
#include <map>

namespace qeltaro {
namespace {

Status compactAfterDelete(Store& store)
{
    if (Status s = store.compact(); !s)
        return storageError(QStringLiteral("公式已删除，但整理数据库失败：%1").arg(s.error().message));
    return success();
}

// Deletes the listed formulas `doomed` and renumbers the table, in one transaction. Returns the
// new idx of every remaining row keyed by its idx before.
struct Renumbered {
    FormulaDeleteReport report;
    std::map<int, int> newIdxOfOld;
    std::vector<int> allIdx;  // every idx of the table afterwards
};

Result<Renumbered> removeAndRenumber(Store& store, const FormulaListKey& list, const std::vector<int>& doomed)
{
    FormulaTable table(store, list.category);
    return inTransaction(store.database(), [&]() -> Result<Renumbered> {
        auto before = table.idxByRowid();
        if (!before)
            return before.error();
        auto countBefore = table.count();
        if (!countBefore)
            return countBefore.error();
        for (int idx : doomed) {
            if (Status s = table.removeListed(list.kind, idx); !s)
                return s.error();
        }
        if (Status s = table.renumber(); !s)
            return s.error();
        auto after = table.idxByRowid();
        if (!after)
            return after.error();

        Renumbered result;
        result.report.remaining = int(after->size());
        result.report.deleted = *countBefore - result.report.remaining;
        for (const auto& [row, idx] : *after) {
            result.allIdx.push_back(idx);
            if (auto old = before->find(row); old != before->end())
                result.newIdxOfOld[old->second] = idx;
        }
        return result;
    });
}

Result<FormulaDeleteReport> deleteByFlag(Store& store, const FormulaListKey& list, FormulaSelection& selection, bool flag)
{
    auto listed = listedIdx(store, list);
    if (!listed)
        return listed.error();
    std::vector<int> doomed;
    for (int idx : *listed) {
        if (selection.isSelected(idx) == flag)
            doomed.push_back(idx);
    }
    auto done = removeAndRenumber(store, list, doomed);
    if (!done)
        return done.error();
    selection.clear();
    selection.selectAll(done->allIdx);
    if (Status s = compactAfterDelete(store); !s)
        return s.error();
    return done->report;
}

}  // namespace

QString clearAllQuestion() { return QStringLiteral("清空所有公式后将无法恢复，是否清空所有类别的公式？"); }
QString clearAllTitle() { return QStringLiteral("清空所有公式"); }
QString deleteSelectedQuestion() { return QStringLiteral("确实要删除选中的所有公式(公式列表序号蓝色表示)吗?"); }
QString deleteUnselectedQuestion() { return QStringLiteral("确实要删除选未中的所有公式(公式列表序号灰色表示)吗?"); }
QString deleteFormulasTitle() { return QStringLiteral("删除公式"); }

Status clearFormulaTables(Store& store)
{
    for (const Category& category : Category::all()) {
        if (Status s = FormulaTable(store, category).clear(); !s)
            return s;
    }
    return success();
}

Result<QString> clearAllFormulas(Store& store)
{
    auto backup = store.backup(QStringLiteral("clear-formulas"));
    if (!backup)
        return backup.error();
    if (Status s = inTransaction(store.database(), [&] { return clearFormulaTables(store); }); !s)
        return s.error();
    return *backup;
}

Result<FormulaDeleteReport> deleteFormula(Store& store, const FormulaListKey& list, int idx, FlagsAfterDelete flags,
                                   FormulaSelection& selection)
{
    auto listed = listedIdx(store, list);
    if (!listed)
        return listed.error();
    if (std::find(listed->begin(), listed->end(), idx) == listed->end())
        return badInput(QStringLiteral("%1（%2）的公式中没有序号为%3的公式")
                            .arg(list.category.caption(), isKill(list.kind) ? QStringLiteral("杀") : QStringLiteral("生"))
                            .arg(idx));
    auto done = removeAndRenumber(store, list, {idx});
    if (!done)
        return done.error();

    FormulaSelection updated;
    if (flags == FlagsAfterDelete::FollowFormulas) {
        for (const auto& [oldIdx, newIdx] : done->newIdxOfOld)
            updated.set(newIdx, selection.isSelected(oldIdx));
    } else {
        // The k-th listed formula takes the flag the k-th one had before.
        auto relisted = listedIdx(store, list);
        if (!relisted)
            return relisted.error();
        for (size_t k = 0; k < relisted->size() && k < listed->size(); ++k)
            updated.set((*relisted)[k], selection.isSelected((*listed)[k]));
    }
    selection = updated;
    if (Status s = compactAfterDelete(store); !s)
        return s.error();
    return done->report;
}

Result<FormulaDeleteReport> deleteSelectedFormulas(Store& store, const FormulaListKey& list, FormulaSelection& selection)
{
    return deleteByFlag(store, list, selection, true);
}

Result<FormulaDeleteReport> deleteUnselectedFormulas(Store& store, const FormulaListKey& list, FormulaSelection& selection)
{
    return deleteByFlag(store, list, selection, false);
}

Result<std::vector<StoredFormula>> listFormulas(Store& store, const FormulaListKey& list)
{
    return FormulaTable(store, list.category).list(list.kind);
}

Result<std::vector<int>> listedIdx(Store& store, const FormulaListKey& list)
{
    auto formulas = FormulaTable(store, list.category).list(list.kind);
    if (!formulas)
        return formulas.error();
    std::vector<int> idxs;
    idxs.reserve(formulas->size());
    for (const StoredFormula& f : *formulas)
        idxs.push_back(f.idx);
    return idxs;
}

Status selectAllFormulas(Store& store, const FormulaListKey& list, FormulaSelection& selection)
{
    auto idxs = listedIdx(store, list);
    if (!idxs)
        return idxs.error();
    selection.selectAll(*idxs);
    return success();
}

Status invertFormulaSelection(Store& store, const FormulaListKey& list, FormulaSelection& selection)
{
    auto idxs = listedIdx(store, list);
    if (!idxs)
        return idxs.error();
    selection.invert(*idxs);
    return success();
}

}  // namespace qeltaro
