#pragma once
// Random candidate formulas: a sum of catalogue parameters (entries 1..101, repeats allowed)
// plus a tail constant, in code form ("L1A+QH+...+3") and Chinese form, the latter either
// "[三星直选杀]万位码+本期号+...+3" (prefix) or "万位码+本期号+...+3=下期杀三星直选" (suffix).
// A candidate is fixed by the run's seed and its ordinal; its texts are built only on demand,
// so screening many candidates allocates nothing.

#include "common/result.h"
#include "domain/category.h"
#include "domain/kind.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace qeltaro {

inline constexpr int kMinOperandCount = 2;
inline constexpr int kMaxOperandCount = 24;
inline constexpr int kDefaultOperandCount = 8;

enum class FormulaForm { Prefix, Suffix };

// The tail constant: a given number, or a random digit 0..9 per candidate.
struct TailConstant {
    bool random = false;
    int given = 0;  // -32768..32767

    // The constant box's text: a number rounded half to even; text that is not a number gives 0.
    // A number outside -32768..32767 is refused (it would leave the code text ending in "+").
    static Result<TailConstant> fromText(const QString& text);
    static TailConstant randomDigit() { return {true, 0}; }
    QString describe() const;  // "随机" or the number

    friend bool operator==(const TailConstant&, const TailConstant&) = default;
};

struct CandidateShape {
    Category category;
    Kind kind = Kind::Kill;
    int operandCount = kDefaultOperandCount;
    TailConstant constant;
    FormulaForm form = FormulaForm::Prefix;
};

struct Candidate {
    std::array<std::uint8_t, kMaxOperandCount> operands{};  // catalogue indices 1..101
    int operandCount = 0;
    int constant = 0;
};

class CandidateGenerator {
public:
    // The operand count must lie in 2..24 (checked by whoever reads it from the user).
    CandidateGenerator(const CandidateShape& shape, std::uint64_t seed);

    const CandidateShape& shape() const { return shape_; }
    std::uint64_t seed() const { return seed_; }

    Candidate candidate(std::uint64_t ordinal) const;
    QString codeText(const Candidate& candidate) const;
    QString chineseText(const Candidate& candidate) const;

private:
    CandidateShape shape_;
    std::uint64_t seed_ = 0;
    QString prefix_;
    QString suffix_;
};

// "[三星直选杀]" and "=下期杀三星直选".
QString candidatePrefix(const Category& category, Kind kind);
QString candidateSuffix(const Category& category, Kind kind);

// Operand count from user text: a whole number 2..24.
Result<int> parseOperandCount(const QString& text);

}  // namespace qeltaro
