#pragma once
// The vocabulary of the formula language: 101 draw parameters, each a column of the history
// table, with the Chinese name people write and the code the engine evaluates.

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace qeltaro {

inline constexpr int kParameterCount = 101;

struct Parameter {
    QString code;  // column name in Lishi, e.g. "L1A"
    QString name;  // Chinese name, e.g. "万位码"
};

// Index 1..101 in catalogue order; the array holds them at 0..100.
const std::array<Parameter, kParameterCount>& parameterCatalogue();

// Plain lookups by catalogue index 1..101.
const QString& parameterCode(int index);
const QString& parameterName(int index);

// Catalogue index (1..101) of a column code, compared case-insensitively as column names are.
std::optional<int> parameterIndexOfCode(QStringView code);

// "万位", "千位", "百位", "十位", "个位" for positions 1..5.

// Every occurrence of `from` replaced by `to`, searching again from the start after each splice.
QString replaceAllOccurrences(QString text, const QString& from, const QString& to);
// Only the first occurrence replaced.
QString replaceFirstOccurrence(QString text, const QString& from, const QString& to);

// Chinese formula text to code form by the fixed, ordered replacement list. Text that is not a
// parameter name (digits, operators, blanks) passes through unchanged.
QString translateToCode(const QString& chineseText);

}  // namespace qeltaro
