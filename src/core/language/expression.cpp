#include "language/expression.h"

#include "common/message_text.h"
#include "domain/parameter_catalogue.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace qeltaro {

double formulaMod(double a, double b)
{
    // Whole operands in int range, the usual case (sums and products of parameters): one int
    // remainder, no rounding call. Equal to the general path below, the sign of a zero included.
    if (std::fabs(a) < 2147483648.0 && std::fabs(b) < 2147483648.0) {
        const int wholeA = int(a);
        const int wholeB = int(b);
        if (double(wholeA) == a && double(wholeB) == b && wholeB != 0) {
            const int remainder = wholeA % wholeB;
            return remainder == 0 ? std::copysign(0.0, a) : double(remainder);
        }
    }
    const double divisor = std::nearbyint(b);
    if (divisor == 0 || std::isnan(a) || std::isnan(divisor))
        return std::numeric_limits<double>::quiet_NaN();
    const double dividend = std::nearbyint(a);
    // Whole numbers an int64 holds exactly: the integer remainder is fmod's exact result, at a
    // fraction of its cost; a zero keeps the dividend's sign as fmod's does.
    constexpr double kExact = 9007199254740992.0;  // 2^53
    if (std::fabs(dividend) < kExact && std::fabs(divisor) < kExact) {
        const std::int64_t remainder = std::int64_t(dividend) % std::int64_t(divisor);
        return remainder == 0 ? std::copysign(0.0, dividend) : double(remainder);
    }
    return std::fmod(dividend, divisor);
}

double CompiledFormula::evaluate(const int* row) const
{
    double stack[kMaxStackDepth];
    int top = -1;
    for (const Instruction& in : program_) {
        switch (in.op) {
        case OpCode::Column: stack[++top] = row[in.column]; break;
        case OpCode::Constant: stack[++top] = in.constant; break;
        case OpCode::Add: --top; stack[top] += stack[top + 1]; break;
        case OpCode::Sub: --top; stack[top] -= stack[top + 1]; break;
        case OpCode::Mul: --top; stack[top] *= stack[top + 1]; break;
        case OpCode::Div:
            --top;
            stack[top] = stack[top + 1] == 0 ? std::numeric_limits<double>::quiet_NaN() : stack[top] / stack[top + 1];
            break;
        case OpCode::Mod: --top; stack[top] = formulaMod(stack[top], stack[top + 1]); break;
        case OpCode::Negate: stack[top] = -stack[top]; break;
        case OpCode::AddColumn: stack[top] += row[in.column]; break;
        case OpCode::SubColumn: stack[top] -= row[in.column]; break;
        case OpCode::MulColumn: stack[top] *= row[in.column]; break;
        case OpCode::DivColumn:
            stack[top] = row[in.column] == 0 ? std::numeric_limits<double>::quiet_NaN() : stack[top] / row[in.column];
            break;
        case OpCode::ModColumn: stack[top] = formulaMod(stack[top], row[in.column]); break;
        case OpCode::AddConstant: stack[top] += in.constant; break;
        case OpCode::SubConstant: stack[top] -= in.constant; break;
        case OpCode::MulConstant: stack[top] *= in.constant; break;
        case OpCode::DivConstant:
            stack[top] = in.constant == 0 ? std::numeric_limits<double>::quiet_NaN() : stack[top] / in.constant;
            break;
        case OpCode::ModConstant: stack[top] = formulaMod(stack[top], in.constant); break;
        }
    }
    return top == 0 ? stack[0] : std::numeric_limits<double>::quiet_NaN();
}

// Recursive descent over a token list; the depth limit keeps hostile nesting from exhausting
// the call stack.
class ExpressionCompiler {
public:
    explicit ExpressionCompiler(QStringView code) : code_(code) {}

    Result<CompiledFormula> run()
    {
        if (!tokenize())
            return fail();
        if (tokens_.size() == 1)
            return error(0, QStringLiteral("公式为空"));
        if (!parseSum(0))
            return fail();
        if (current().kind != TokenKind::End)
            return error(current().position, QStringLiteral("多余的“%1”").arg(excerpt(current().text)));
        if (formula_.stackDepth_ > kMaxStackDepth)
            return error(0, QStringLiteral("公式过于复杂"));
        return formula_;
    }

private:
    enum class TokenKind { Number, Column, Plus, Minus, Star, Slash, Mod, Open, Close, End };
    struct Token {
        TokenKind kind;
        qsizetype position;  // 0-based
        QStringView text;
        double number = 0;
        int column = 0;
    };

    Result<CompiledFormula> fail() const { return *error_; }

    Result<CompiledFormula> error(qsizetype position, const QString& what)
    {
        setError(position, what);
        return *error_;
    }

    bool setError(qsizetype position, const QString& what)
    {
        if (!error_) {
            error_ = badInput(QStringLiteral("公式“%1”第%2个字符处有误：%3")
                                  .arg(excerpt(code_, 200))
                                  .arg(position + 1)
                                  .arg(what));
        }
        return false;
    }

    static bool isAsciiLetter(QChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
    static bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

    bool tokenize()
    {
        qsizetype i = 0;
        const qsizetype n = code_.size();
        while (i < n) {
            const QChar c = code_[i];
            if (c == u' ' || c == u'\t') {
                ++i;
                continue;
            }
            const qsizetype start = i;
            if (isAsciiDigit(c) || (c == u'.' && i + 1 < n && isAsciiDigit(code_[i + 1]))) {
                while (i < n && isAsciiDigit(code_[i]))
                    ++i;
                if (i < n && code_[i] == u'.') {
                    ++i;
                    while (i < n && isAsciiDigit(code_[i]))
                        ++i;
                }
                const QStringView text = code_.mid(start, i - start);
                bool ok = false;
                double value = 0;
                if (text.size() <= 15 && !text.contains(u'.')) {
                    // A whole number below 10^15 is exact as a double: added up digit by digit.
                    for (QChar digit : text)
                        value = value * 10 + (digit.unicode() - u'0');
                    ok = true;
                } else {
                    value = text.toString().toDouble(&ok);
                }
                if (!ok || !std::isfinite(value))
                    return setError(start, QStringLiteral("无法识别的数字“%1”").arg(excerpt(text)));
                tokens_.push_back({TokenKind::Number, start, text, value});
                continue;
            }
            if (isAsciiLetter(c)) {
                while (i < n && (isAsciiLetter(code_[i]) || isAsciiDigit(code_[i])))
                    ++i;
                const QStringView word = code_.mid(start, i - start);
                if (word.compare(u"MOD", Qt::CaseInsensitive) == 0) {
                    tokens_.push_back({TokenKind::Mod, start, word});
                    continue;
                }
                const auto index = parameterIndexOfCode(word);
                if (!index)
                    return setError(start, QStringLiteral("未知参数“%1”").arg(excerpt(word)));
                Token t{TokenKind::Column, start, word};
                t.column = *index - 1;
                tokens_.push_back(t);
                continue;
            }
            TokenKind kind;
            switch (c.unicode()) {
            case u'+': kind = TokenKind::Plus; break;
            case u'-': kind = TokenKind::Minus; break;
            case u'*': kind = TokenKind::Star; break;
            case u'/': kind = TokenKind::Slash; break;
            case u'(': kind = TokenKind::Open; break;
            case u')': kind = TokenKind::Close; break;
            default: {
                // Report the whole run of unexpected characters, e.g. a leftover Chinese word.
                qsizetype end = i + 1;
                while (end < n && !isAsciiLetter(code_[end]) && !isAsciiDigit(code_[end]) &&
                       QStringView(u" \t+-*/()").indexOf(code_[end]) < 0)
                    ++end;
                return setError(start, QStringLiteral("无法识别“%1”").arg(excerpt(code_.mid(start, end - start))));
            }
            }
            tokens_.push_back({kind, start, code_.mid(start, 1)});
            ++i;
        }
        tokens_.push_back({TokenKind::End, n, QStringView()});
        return true;
    }

    const Token& current() const { return tokens_[at_]; }

    void appendInstruction(Instruction in, int stackChange)
    {
        auto& program = formula_.program_;
        // Fuse "push column/constant; binary op" into one instruction.
        if (stackChange == -1 && !program.empty() && lastPushIsFusable_) {
            const Instruction pushed = program.back();
            const bool column = pushed.op == OpCode::Column;
            OpCode fused;
            switch (in.op) {
            case OpCode::Add: fused = column ? OpCode::AddColumn : OpCode::AddConstant; break;
            case OpCode::Sub: fused = column ? OpCode::SubColumn : OpCode::SubConstant; break;
            case OpCode::Mul: fused = column ? OpCode::MulColumn : OpCode::MulConstant; break;
            case OpCode::Div: fused = column ? OpCode::DivColumn : OpCode::DivConstant; break;
            case OpCode::Mod: fused = column ? OpCode::ModColumn : OpCode::ModConstant; break;
            default: fused = in.op; break;
            }
            program.back() = {fused, pushed.column, pushed.constant};
            --depth_;
            lastPushIsFusable_ = false;
            return;
        }
        program.push_back(in);
        depth_ += stackChange;
        formula_.stackDepth_ = std::max(formula_.stackDepth_, depth_);
        lastPushIsFusable_ = false;
    }

    void appendPush(Instruction in)
    {
        // Only a push that is the right operand of the next binary op may fuse; the first
        // operand of an expression must stay a push.
        const bool fusable = depth_ >= 1;
        appendInstruction(in, +1);
        lastPushIsFusable_ = fusable;
    }

    bool parseSum(int depth)
    {
        if (!parseModulo(depth))
            return false;
        while (current().kind == TokenKind::Plus || current().kind == TokenKind::Minus) {
            const OpCode op = current().kind == TokenKind::Plus ? OpCode::Add : OpCode::Sub;
            ++at_;
            if (!parseModulo(depth))
                return false;
            appendInstruction({op}, -1);
        }
        return true;
    }

    bool parseModulo(int depth)
    {
        if (!parseProduct(depth))
            return false;
        while (current().kind == TokenKind::Mod) {
            ++at_;
            if (!parseProduct(depth))
                return false;
            appendInstruction({OpCode::Mod}, -1);
        }
        return true;
    }

    bool parseProduct(int depth)
    {
        if (!parseUnary(depth))
            return false;
        while (current().kind == TokenKind::Star || current().kind == TokenKind::Slash) {
            const OpCode op = current().kind == TokenKind::Star ? OpCode::Mul : OpCode::Div;
            ++at_;
            if (!parseUnary(depth))
                return false;
            appendInstruction({op}, -1);
        }
        return true;
    }

    bool parseUnary(int depth)
    {
        if (depth > kMaxExpressionDepth)
            return setError(current().position, QStringLiteral("括号或正负号嵌套超过%1层").arg(kMaxExpressionDepth));
        if (current().kind == TokenKind::Minus || current().kind == TokenKind::Plus) {
            const bool negate = current().kind == TokenKind::Minus;
            ++at_;
            if (!parseUnary(depth + 1))
                return false;
            if (negate)
                appendInstruction({OpCode::Negate}, 0);
            return true;
        }
        return parsePrimary(depth);
    }

    bool parsePrimary(int depth)
    {
        const Token& t = current();
        switch (t.kind) {
        case TokenKind::Number:
            ++at_;
            appendPush({OpCode::Constant, 0, t.number});
            return true;
        case TokenKind::Column:
            ++at_;
            appendPush({OpCode::Column, t.column, 0});
            return true;
        case TokenKind::Open: {
            ++at_;
            if (!parseSum(depth + 1))
                return false;
            if (current().kind != TokenKind::Close)
                return setError(current().position, current().kind == TokenKind::End
                                                        ? QStringLiteral("缺少右括号“)”")
                                                        : QStringLiteral("此处应为右括号“)”"));
            ++at_;
            return true;
        }
        case TokenKind::End:
            return setError(t.position, QStringLiteral("公式不完整，末尾缺少参数或数字"));
        default:
            return setError(t.position, QStringLiteral("此处应为参数、数字或左括号，而不是“%1”").arg(excerpt(t.text)));
        }
    }

    QStringView code_;
    std::vector<Token> tokens_;
    size_t at_ = 0;
    CompiledFormula formula_;
    int depth_ = 0;
    bool lastPushIsFusable_ = false;
    std::optional<Error> error_;
};

Result<CompiledFormula> compileFormula(QStringView code)
{
    return ExpressionCompiler(code).run();
}

}  // namespace qeltaro
