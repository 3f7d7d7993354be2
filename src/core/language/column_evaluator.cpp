#include "language/column_evaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

namespace qeltaro {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Each family of operations lists + - * / in the order of Arithmetic.
static_assert(int(OpCode::Div) - int(OpCode::Add) == int(Arithmetic::Div));
static_assert(int(OpCode::DivColumn) - int(OpCode::AddColumn) == int(Arithmetic::Div));
static_assert(int(OpCode::DivConstant) - int(OpCode::AddConstant) == int(Arithmetic::Div));
static_assert(int(OpCode::Sub) - int(OpCode::Add) == int(Arithmetic::Sub) && int(Arithmetic::Add) == 0);

// An operand of a step: a column, or one number for every row.
inline double valueAt(const double* column, size_t i) { return column[i]; }
inline double valueAt(double number, size_t) { return number; }

template <typename Operand, typename Operation>
void apply(double* out, const double* a, Operand b, size_t n, Operation op)
{
    for (size_t i = 0; i < n; ++i)
        out[i] = op(a[i], valueAt(b, i));
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

// out[i] = formulaMod(a[i], divisor), the divisor a column, a stack entry or a constant. Checked
// first and computed after, so the common case runs as two vector loops.
template <typename Operand>
void applyMod(double* out, const double* a, Operand divisor, size_t n)
{
    bool whole = true;
    for (size_t i = 0; i < n; ++i) {
        const double b = valueAt(divisor, i);
        whole &= wholeIntOperand(a[i]) & wholeIntOperand(b) & (b != 0);
    }
    if (whole) {
        for (size_t i = 0; i < n; ++i)
            out[i] = wholeMod(a[i], valueAt(divisor, i));
    } else {
        for (size_t i = 0; i < n; ++i)
            out[i] = formulaMod(a[i], valueAt(divisor, i));
    }
}

}  // namespace

template <typename Operand>
void ColumnEvaluator::arithmetic(Arithmetic op, double* out, const double* a, Operand b, size_t n) const
{
    if (kernels_) {
        if constexpr (std::is_same_v<Operand, double>)
            return kernels_->arithmeticConstant(op, out, a, b, n);
        else
            return kernels_->arithmetic(op, out, a, b, n);
    }
    switch (op) {
    case Arithmetic::Add: apply(out, a, b, n, add); break;
    case Arithmetic::Sub: apply(out, a, b, n, sub); break;
    case Arithmetic::Mul: apply(out, a, b, n, mul); break;
    case Arithmetic::Div: apply(out, a, b, n, divide); break;
    }
}

template <typename Operand>
void ColumnEvaluator::mod(double* out, const double* a, Operand divisor, size_t n) const
{
    if (!kernels_)
        applyMod(out, a, divisor, n);
    else if constexpr (std::is_same_v<Operand, double>)
        kernels_->modConstant(out, a, divisor, n, &formulaMod);
    else
        kernels_->mod(out, a, divisor, n, &formulaMod);
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
    operands_.resize(depth);

    // Each stack entry is read from operands_[k]: a history column as it stands, until the first
    // step on the entry writes its result into the entry's own buffer. So a column is never copied.
    int top = -1;
    auto result = [&](int k) {
        double* buffer = stack_[size_t(k)].data();
        operands_[size_t(k)] = buffer;
        return buffer;
    };
    for (const Instruction& in : formula.program()) {
        const double* column = history.column(in.column) + from;
        switch (in.op) {
        case OpCode::Column:
            operands_[size_t(++top)] = column;
            break;
        case OpCode::Constant:
            ++top;
            std::fill(stack_[size_t(top)].begin(), stack_[size_t(top)].begin() + ptrdiff_t(n), in.constant);
            result(top);
            break;
        case OpCode::Add: case OpCode::Sub: case OpCode::Mul: case OpCode::Div: {
            --top;
            const double* a = operands_[size_t(top)];
            const double* b = operands_[size_t(top + 1)];
            arithmetic(Arithmetic(int(in.op) - int(OpCode::Add)), result(top), a, b, n);
            break;
        }
        case OpCode::Mod: {
            --top;
            const double* a = operands_[size_t(top)];
            mod(result(top), a, operands_[size_t(top + 1)], n);
            break;
        }
        case OpCode::Negate: {
            const double* a = operands_[size_t(top)];
            double* t = result(top);
            for (size_t i = 0; i < n; ++i)
                t[i] = -a[i];
            break;
        }
        case OpCode::AddColumn: case OpCode::SubColumn: case OpCode::MulColumn: case OpCode::DivColumn: {
            const double* a = operands_[size_t(top)];
            arithmetic(Arithmetic(int(in.op) - int(OpCode::AddColumn)), result(top), a, column, n);
            break;
        }
        case OpCode::ModColumn: {
            const double* a = operands_[size_t(top)];
            mod(result(top), a, column, n);
            break;
        }
        case OpCode::AddConstant: case OpCode::SubConstant: case OpCode::MulConstant: case OpCode::DivConstant: {
            const double* a = operands_[size_t(top)];
            arithmetic(Arithmetic(int(in.op) - int(OpCode::AddConstant)), result(top), a, in.constant, n);
            break;
        }
        case OpCode::ModConstant: {
            const double* a = operands_[size_t(top)];
            mod(result(top), a, in.constant, n);
            break;
        }
        }
    }
    // The bottom of the stack is the result (a formula of one column is still that column): handed
    // over, and `out`'s old buffer, already as large, becomes the stack's for the next formula.
    if (operands_[0] != stack_[0].data())
        std::copy(operands_[0], operands_[0] + n, stack_[0].data());
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
