#include "language/column_evaluator.h"

#include <algorithm>
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
const auto mod = [](double a, double b) { return formulaMod(a, b); };

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
        case OpCode::Mod: --top; apply(stack_[size_t(top)].data(), t, n, mod); break;
        case OpCode::Negate:
            for (size_t i = 0; i < n; ++i)
                t[i] = -t[i];
            break;
        case OpCode::AddColumn: apply(t, column, n, add); break;
        case OpCode::SubColumn: apply(t, column, n, sub); break;
        case OpCode::MulColumn: apply(t, column, n, mul); break;
        case OpCode::DivColumn: apply(t, column, n, divide); break;
        case OpCode::ModColumn: apply(t, column, n, mod); break;
        case OpCode::AddConstant: applyConstant(t, in.constant, n, add); break;
        case OpCode::SubConstant: applyConstant(t, in.constant, n, sub); break;
        case OpCode::MulConstant: applyConstant(t, in.constant, n, mul); break;
        case OpCode::DivConstant: applyConstant(t, in.constant, n, divide); break;
        case OpCode::ModConstant: applyConstant(t, in.constant, n, mod); break;
        }
    }
    out.assign(stack_[0].begin(), stack_[0].begin() + ptrdiff_t(n));
}

void ColumnEvaluator::predictDigits(const CompiledFormula& formula, const HistoryColumns& history, std::vector<int>& out)
{
    evaluate(formula, history, values_);
    out.resize(values_.size());
    for (size_t i = 0; i < values_.size(); ++i)
        out[i] = predictedDigit(values_[i]);
}

}  // namespace qeltaro
