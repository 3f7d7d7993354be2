#pragma once
// Evaluates a compiled formula over every row of the history at once, one instruction over a
// whole column at a time, so a sum of parameters costs a few tight loops per formula. The loops
// run on the vector units where the processor has them, else as plain loops; both give the same
// values bit for bit, the sign of a zero included.

#include "domain/history_columns.h"
#include "domain/vector_kernels.h"
#include "language/expression.h"

#include <vector>

namespace qeltaro {

class ColumnEvaluator {
public:
    // `kernels`: the vector units' instruction set, or nullptr for plain loops.
    explicit ColumnEvaluator(const VectorKernels* kernels = bestVectorKernels()) : kernels_(kernels) {}

    // out[r - fromRow] = the formula's value on row r, for rows fromRow to the last; NaN where
    // it has none. A row's value depends on that row alone, so a suffix costs only its rows.
    void evaluate(const CompiledFormula& formula, const HistoryColumns& history, std::vector<double>& out,
                  int fromRow = 0);
    // The predicted digit of every row (kNoDigit where there is no value).
    void predictDigits(const CompiledFormula& formula, const HistoryColumns& history, std::vector<int>& out);

private:
    // out[i] = a[i] op b, b a column (const double*) or one number (double); out may be a.
    template <typename Operand>
    void arithmetic(Arithmetic op, double* out, const double* a, Operand b, size_t n) const;
    template <typename Operand>
    void mod(double* out, const double* a, Operand divisor, size_t n) const;

    const VectorKernels* kernels_ = nullptr;
    std::vector<std::vector<double>> stack_;
    std::vector<const double*> operands_;
    std::vector<double> values_;
};

}  // namespace qeltaro
