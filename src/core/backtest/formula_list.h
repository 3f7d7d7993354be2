#pragma once
// The formulas of one category and one kind, as the formula list shows them: in idx order,
// each code text compiled once, with the selection flags. A code text that does not compile
// keeps its compiler message; the back-test reports it for that formula alone.

#include "common/result.h"
#include "domain/category.h"
#include "domain/formula_selection.h"
#include "domain/kind.h"
#include "language/expression.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace qeltaro {

class Store;

struct ListedFormula {
    std::int64_t rowid = 0;  // the formula's row in its table; 0 for a formula not stored
    int idx = 0;
    Kind kind = Kind::Kill;
    QString code;  // gongshi
    QString text;  // gongshiCN
    std::optional<CompiledFormula> compiled;
    QString compileError;  // set when compiled is empty
};

class FormulaList {
public:
    FormulaList() = default;
    FormulaList(Category category, Kind kind) : category_(category), kind_(kind) {}

    // The stored formulas of the kind in idx order; every formula selected, as a fresh list starts.
    static Result<FormulaList> load(Store& store, Category category, Kind kind);

    // Adds a formula (compiling its code text); selected. For formulas not read from the store.
    void append(int idx, const QString& code, const QString& text, Kind kind, std::int64_t rowid = 0);

    const Category& category() const { return category_; }
    Kind kind() const { return kind_; }
    int size() const { return int(formulas_.size()); }
    bool empty() const { return formulas_.empty(); }
    const ListedFormula& at(int ordinal) const { return formulas_[size_t(ordinal)]; }
    const std::vector<ListedFormula>& formulas() const { return formulas_; }
    // Ordinal (0-based) of the first formula with this idx, or -1.
    int ordinalOf(int idx) const;
    std::vector<int> idxs() const;

    FormulaSelection& selection() { return selection_; }
    const FormulaSelection& selection() const { return selection_; }
    bool isSelected(int ordinal) const { return selection_.isSelected(at(ordinal).idx); }

    // After the write-back renumbered idx: newIdxs[k] is the new idx of the formula at ordinal k.
    // Each formula keeps its own selection flag.
    void rekey(const std::vector<int>& newIdxs);

private:
    Category category_;
    Kind kind_ = Kind::Kill;
    std::vector<ListedFormula> formulas_;
    FormulaSelection selection_;
};

}  // namespace qeltaro
