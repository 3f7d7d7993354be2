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

void ColumnEvaluator::arithmetic(Arithmetic op, double* target, const double* operand, size_t n) const
{
    if (kernels_)
        return kernels_->arithmetic(op, target, operand, n);
    switch (op) {
    case Arithmetic::Add: apply(target, operand, n, add); break;
    case Arithmetic::Sub: apply(target, operand, n, sub); break;
    case Arithmetic::Mul: apply(target, operand, n, mul); break;
    case Arithmetic::Div: apply(target, operand, n, divide); break;
    }
}

void ColumnEvaluator::arithmetic(Arithmetic op, double* target, double operand, size_t n) const
{
    if (kernels_)
        return kernels_->arithmeticConstant(op, target, operand, n);
    switch (op) {
    case Arithmetic::Add: applyConstant(target, operand, n, add); break;
    case Arithmetic::Sub: applyConstant(target, operand, n, sub); break;
    case Arithmetic::Mul: applyConstant(target, operand, n, mul); break;
    case Arithmetic::Div: applyConstant(target, operand, n, divide); break;
    }
}

void ColumnEvaluator::mod(double* target, const double* divisors, size_t n) const
{
    if (!kernels_)
        return applyMod(target, n, [divisors](size_t i) { return divisors[i]; });
    if (kernels_->wholeModOperands(target, divisors, n))
        return kernels_->wholeMod(target, divisors, n);
    for (size_t i = 0; i < n; ++i)
        target[i] = formulaMod(target[i], divisors[i]);
}

void ColumnEvaluator::mod(double* target, double divisor, size_t n) const
{
    if (!kernels_)
        return applyMod(target, n, [divisor](size_t) { return divisor; });
    if (kernels_->wholeModOperandsConstant(target, divisor, n))
        return kernels_->wholeModConstant(target, divisor, n);
    for (size_t i = 0; i < n; ++i)
        target[i] = formulaMod(target[i], divisor);
}

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
        case OpCode::Add: --top; arithmetic(Arithmetic::Add, stack_[size_t(top)].data(), t, n); break;
        case OpCode::Sub: --top; arithmetic(Arithmetic::Sub, stack_[size_t(top)].data(), t, n); break;
        case OpCode::Mul: --top; arithmetic(Arithmetic::Mul, stack_[size_t(top)].data(), t, n); break;
        case OpCode::Div: --top; arithmetic(Arithmetic::Div, stack_[size_t(top)].data(), t, n); break;
        case OpCode::Mod: --top; mod(stack_[size_t(top)].data(), t, n); break;
        case OpCode::Negate:
            for (size_t i = 0; i < n; ++i)
                t[i] = -t[i];
            break;
        case OpCode::AddColumn: arithmetic(Arithmetic::Add, t, column, n); break;
        case OpCode::SubColumn: arithmetic(Arithmetic::Sub, t, column, n); break;
        case OpCode::MulColumn: arithmetic(Arithmetic::Mul, t, column, n); break;
        case OpCode::DivColumn: arithmetic(Arithmetic::Div, t, column, n); break;
        case OpCode::ModColumn: mod(t, column, n); break;
        case OpCode::AddConstant: arithmetic(Arithmetic::Add, t, in.constant, n); break;
        case OpCode::SubConstant: arithmetic(Arithmetic::Sub, t, in.constant, n); break;
        case OpCode::MulConstant: arithmetic(Arithmetic::Mul, t, in.constant, n); break;
        case OpCode::DivConstant: arithmetic(Arithmetic::Div, t, in.constant, n); break;
        case OpCode::ModConstant: mod(t, in.constant, n); break;
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
