#pragma once
// The formula language's code form, compiled: column names of the history (the catalogue codes),
// numbers, + - * /, MOD, parentheses and blanks. Anything else is refused with the position and
// the offending text. A formula is never handed to SQL.
//
// Numeric rules: + - * on doubles (exact for every value a draw can give); / is real division;
// a MOD b rounds both operands half to even and keeps the sign of the dividend. Division or MOD
// by zero gives no value on that row (NaN), and no value propagates.
// Precedence: * / first, then MOD, then + -; left to right within a level; unary minus and plus.

#include "common/result.h"
#include "domain/predicted_digit.h"

#include <QString>
#include <QStringView>

#include <cmath>
#include <cstdint>
#include <vector>

namespace qeltaro {

enum class OpCode : std::uint8_t {
    Column,    // push column
    Constant,  // push constant
    Add, Sub, Mul, Div, Mod, Negate,
    // A binary operation whose right operand is a column or a constant, fused to spare a push.
    AddColumn, SubColumn, MulColumn, DivColumn, ModColumn,
    AddConstant, SubConstant, MulConstant, DivConstant, ModConstant,
};

struct Instruction {
    OpCode op = OpCode::Constant;
    int column = 0;  // catalogue order, 0..110
    double constant = 0;
};

class CompiledFormula {
public:
    const std::vector<Instruction>& program() const { return program_; }
    // Deepest evaluation stack the program needs.
    int stackDepth() const { return stackDepth_; }
    // The value on one row of derived values (catalogue order); NaN when it has none.
    double evaluate(const int* rowValues) const;

private:
    friend class ExpressionCompiler;
    std::vector<Instruction> program_;
    int stackDepth_ = 0;
};

// Compiles a code text such as "L1A+L2B*3" or "(LH+QH) MOD 7".
Result<CompiledFormula> compileFormula(QStringView code);

// Remainder with the sign of the dividend after rounding both operands half to even; NaN for 0.
double formulaMod(double a, double b);

// Nesting of parentheses and unary signs the compiler accepts, and the evaluation stack a
// formula may need; deeper texts are refused rather than risk the program's own stack.
inline constexpr int kMaxExpressionDepth = 256;
inline constexpr int kMaxStackDepth = 1024;

}  // namespace qeltaro
