#include "language/column_evaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qeltaro {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename Operation>
void apply(double* target, const double* operand, size_t n, Operation op)
{
    for (size_t i = 0; i < n; ++i)
        target[i] = op(target[i], operand[i]);
}

template <typename Operation>
void applyConstant(double* target, double constant, size_t n, Operation op)
{
    for (size_t i = 0; i < n; ++i)
        target[i] = op(target[i], constant);
}

const auto add = [](double a, double b) { return a + b; };
const auto sub = [](double a, double b) { return a - b; };
const auto mul = [](double a, double b) { return a * b; };
const auto divide = [](double a, double b) { return b == 0 ? kNaN : a / b; };

// Whole and inside int range: adding and removing 1.5 * 2^52 rounds to a whole number, so a
// value that comes back unchanged was whole. No branch, so a column checks in a vector loop.
inline bool wholeIntOperand(double x)
{
    constexpr double kRounder = 6755399441055744.0;
    return (std::fabs(x) < 2147483648.0) & (((x + kRounder) - kRounder) == x);
}

// The remainder when both operands are whole, in int range and the divisor is not 0 -- nearly
// always, as formulas take sums and products of parameters modulo small numbers. For such
// operands the rounded quotient truncates to the exact one (it misses a whole number by less
// than 1/|b|), q * b and a - q * b are exact, and the remainder takes the sign of a as the
// integer remainder does, a zero's sign included: formulaMod's result, without a division of
// integers per row.
inline double wholeMod(double a, double b)
{
    const double q = double(int(a / b));
    return std::copysign(a - q * b, a);
}

// target[i] = formulaMod(target[i], divisor(i)); `divisor` is a column, a stack entry or a
// constant. Checked first and computed after, so the common case runs as two vector loops.
template <typename Divisor>
void applyMod(double* target, size_t n, Divisor divisor)
{
    bool whole = true;
    for (size_t i = 0; i < n; ++i) {
        const double b = divisor(i);
        whole &= wholeIntOperand(target[i]) & wholeIntOperand(b) & (b != 0);
    }
    if (whole) {
        for (size_t i = 0; i < n; ++i)
            target[i] = wholeMod(target[i], divisor(i));
    } else {
        for (size_t i = 0; i < n; ++i)
            target[i] = formulaMod(target[i], divisor(i));
    }
}

}  // namespace

void ColumnEvaluator::evaluate(const CompiledFormula& formula, const HistoryColumns& history, std::vector<double>& out,
                               int fromRow)
{
    const size_t from = size_t(std::clamp(fromRow, 0, history.rowCount()));
    const size_t n = size_t(history.rowCount()) - from;
    const size_t depth = size_t(std::max(1, formula.stackDepth()));
    if (stack_.size() < depth)
        stack_.resize(depth);
    for (size_t i = 0; i < depth; ++i)
        stack_[i].resize(n);

    int top = -1;
    for (const Instruction& in : formula.program()) {
        double* t = top >= 0 ? stack_[size_t(top)].data() : nullptr;
        const double* column = history.column(in.column) + from;
        switch (in.op) {
        case OpCode::Column:
            ++top;
            std::copy(column, column + n, stack_[size_t(top)].data());
            break;
        case OpCode::Constant:
            ++top;
            std::fill(stack_[size_t(top)].begin(), stack_[size_t(top)].begin() + ptrdiff_t(n), in.constant);
            break;
        case OpCode::Add: --top; apply(stack_[size_t(top)].data(), t, n, add); break;
        case OpCode::Sub: --top; apply(stack_[size_t(top)].data(), t, n, sub); break;
        case OpCode::Mul: --top; apply(stack_[size_t(top)].data(), t, n, mul); break;
        case OpCode::Div: --top; apply(stack_[size_t(top)].data(), t, n, divide); break;
        case OpCode::Mod: --top; applyMod(stack_[size_t(top)].data(), n, [t](size_t i) { return t[i]; }); break;
        case OpCode::Negate:
            for (size_t i = 0; i < n; ++i)
                t[i] = -t[i];
            break;
        case OpCode::AddColumn: apply(t, column, n, add); break;
        case OpCode::SubColumn: apply(t, column, n, sub); break;
        case OpCode::MulColumn: apply(t, column, n, mul); break;
        case OpCode::DivColumn: apply(t, column, n, divide); break;
        case OpCode::ModColumn: applyMod(t, n, [column](size_t i) { return column[i]; }); break;
        case OpCode::AddConstant: applyConstant(t, in.constant, n, add); break;
        case OpCode::SubConstant: applyConstant(t, in.constant, n, sub); break;
        case OpCode::MulConstant: applyConstant(t, in.constant, n, mul); break;
        case OpCode::DivConstant: applyConstant(t, in.constant, n, divide); break;
        case OpCode::ModConstant: applyMod(t, n, [c = in.constant](size_t) { return c; }); break;
        }
    }
    // The bottom of the stack is the result: handed over, and `out`'s old buffer, already as
    // large, becomes the stack's for the next formula.
    out.swap(stack_[0]);
}

void ColumnEvaluator::predictDigits(const CompiledFormula& formula, const HistoryColumns& history, std::vector<int>& out)
{
    evaluate(formula, history, values_);
    out.resize(values_.size());
    for (size_t i = 0; i < values_.size(); ++i)
        out[i] = predictedDigit(values_[i]);
}

}  // namespace qeltaro
