#include "backtest/formula_list.h"

#include "store/formula_table.h"

namespace qeltaro {

Result<FormulaList> FormulaList::load(Store& store, Category category, Kind kind)
{
    auto stored = FormulaTable(store, category).list(kind);
    if (!stored)
        return stored.error();
    FormulaList list(category, kind);
    list.formulas_.reserve(stored->size());
    // The rowid identifies each formula for the write-back even where idx repeats.
    for (const StoredFormula& f : *stored)
        list.append(f.idx, f.code, f.text, kind, f.rowid);
    return list;
}

void FormulaList::append(int idx, const QString& code, const QString& text, Kind kind, std::int64_t rowid)
{
    ListedFormula formula;
    formula.rowid = rowid;
    formula.idx = idx;
    formula.kind = kind;
    formula.code = code;
    formula.text = text;
    auto compiled = compileFormula(code);
    if (compiled)
        formula.compiled = std::move(*compiled);
    else
        formula.compileError = compiled.error().message;
    formulas_.push_back(std::move(formula));
    selection_.set(idx, true);
}

int FormulaList::ordinalOf(int idx) const
{
    for (size_t k = 0; k < formulas_.size(); ++k) {
        if (formulas_[k].idx == idx)
            return int(k);
    }
    return -1;
}

std::vector<int> FormulaList::idxs() const
{
    std::vector<int> out;
    out.reserve(formulas_.size());
    for (const ListedFormula& f : formulas_)
        out.push_back(f.idx);
    return out;
}

void FormulaList::rekey(const std::vector<int>& newIdxs)
{
    FormulaSelection renumbered;
    for (size_t k = 0; k < formulas_.size() && k < newIdxs.size(); ++k) {
        renumbered.set(newIdxs[k], selection_.isSelected(formulas_[k].idx));
        formulas_[k].idx = newIdxs[k];
    }
    selection_ = std::move(renumbered);
}

}  // namespace qeltaro
