#include "search/candidate_generator.h"

#include "domain/parameter_catalogue.h"
#include "domain/random_stream.h"
#include "search/search_category.h"

#include <cmath>

namespace qeltaro {

Result<TailConstant> TailConstant::fromText(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return TailConstant{false, 0};
    const double rounded = std::nearbyint(value);  // half to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return badInput(QStringLiteral("公式末尾偏移常数“%1”超出范围，应在-32768到32767之间").arg(text.trimmed()));
    return TailConstant{false, int(rounded)};
}

QString TailConstant::describe() const
{
    return random ? QStringLiteral("随机") : QString::number(given);
}

QString candidatePrefix(const Category& category, Kind kind)
{
    return u'[' + category.starWord() + category.playWord() + killWord(kind) + u']';
}

QString candidateSuffix(const Category& category, Kind kind)
{
    return QStringLiteral("=下期") + killWord(kind) + category.starWord() + category.playWord();
}

CandidateGenerator::CandidateGenerator(const CandidateShape& shape, std::uint64_t seed) : shape_(shape), seed_(seed)
{
    if (shape_.operandCount < kMinOperandCount)
        shape_.operandCount = kMinOperandCount;
    if (shape_.operandCount > kMaxOperandCount)
        shape_.operandCount = kMaxOperandCount;
    if (shape_.form == FormulaForm::Prefix)
        prefix_ = candidatePrefix(shape_.category, shape_.kind);
    else
        suffix_ = candidateSuffix(shape_.category, shape_.kind);
}

Candidate CandidateGenerator::candidate(std::uint64_t ordinal) const
{
    RandomStream random(seed_, ordinal);
    Candidate c;
    c.operandCount = shape_.operandCount;
    for (int i = 0; i < c.operandCount; ++i)
        c.operands[size_t(i)] = std::uint8_t(random.below(kParameterCount) + 1);
    c.constant = shape_.constant.random ? random.below(10) : shape_.constant.given;
    return c;
}

QString CandidateGenerator::codeText(const Candidate& candidate) const
{
    QString text;
    text.reserve(candidate.operandCount * 5 + 8);
    for (int i = 0; i < candidate.operandCount; ++i)
        text += parameterCode(candidate.operands[size_t(i)]) + u'+';
    return text + QString::number(candidate.constant);
}

QString CandidateGenerator::chineseText(const Candidate& candidate) const
{
    QString text = prefix_;
    text.reserve(prefix_.size() + candidate.operandCount * 6 + suffix_.size() + 8);
    for (int i = 0; i < candidate.operandCount; ++i)
        text += parameterName(candidate.operands[size_t(i)]) + u'+';
    return text + QString::number(candidate.constant) + suffix_;
}

Result<int> parseOperandCount(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < kMinOperandCount || n > kMaxOperandCount)
        return badInput(QStringLiteral("公式运算元数应为%1到%2的整数，而不是“%3”")
                            .arg(kMinOperandCount).arg(kMaxOperandCount).arg(text));
    return n;
}

}  // namespace qeltaro
