#pragma once
// The vocabulary of the formula language: the 101 draw parameters, each a column of the history
// table, and the cold and hot digits computed from the history, each with the Chinese name
// people write and the code the engine evaluates.

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace qeltaro {

// The parameters stored with every draw, indices 1..101; the formula search draws from these.
inline constexpr int kParameterCount = 101;
// The parameters computed from the rows up to each row when the history is loaded, never stored:
// 万位冷码..个位冷码 (L1LA..L5LA, 102..106) and 万位热码..个位热码 (L1RA..L5RA, 107..111).
inline constexpr int kHistoryParameterCount = 10;
// Every parameter a formula can name.
inline constexpr int kFormulaParameterCount = kParameterCount + kHistoryParameterCount;

// Catalogue indices of a position's (1..5) cold and hot digit.
inline constexpr int coldDigitIndex(int position) { return kParameterCount + position; }
inline constexpr int hotDigitIndex(int position) { return kParameterCount + 5 + position; }

struct Parameter {
    QString code;  // column name in Lishi, e.g. "L1A"
    QString name;  // Chinese name, e.g. "万位码"
};

// Index 1..111 in catalogue order; the array holds them at 0..110.
const std::array<Parameter, kFormulaParameterCount>& parameterCatalogue();

// Plain lookups by catalogue index 1..111.
const QString& parameterCode(int index);
const QString& parameterName(int index);

// Catalogue index (1..111) of a column code, compared case-insensitively as column names are.
std::optional<int> parameterIndexOfCode(QStringView code);

// "万位", "千位", "百位", "十位", "个位" for positions 1..5.
const QString& positionName(int position);

// Every occurrence of `from` replaced by `to`, searching again from the start after each splice.
QString replaceAllOccurrences(QString text, const QString& from, const QString& to);
// Only the first occurrence replaced.
QString replaceFirstOccurrence(QString text, const QString& from, const QString& to);

// Chinese formula text to code form by the fixed, ordered replacement list. Text that is not a
// parameter name (digits, operators, blanks) passes through unchanged.
QString translateToCode(const QString& chineseText);

}  // namespace qeltaro
