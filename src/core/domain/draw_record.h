#pragma once
// A draw and every derived column the formula language reads. The derived values are held in
// catalogue order: value[i] is the column parameterCode(i + 1).

#include "domain/parameter_catalogue.h"
#include "domain/period_number.h"

#include <QDate>
#include <QString>

#include <array>
#include <optional>

namespace qeltaro {

using Digits = std::array<int, 5>;  // 万位, 千位, 百位, 十位, 个位
using DerivedValues = std::array<int, kParameterCount>;

// Values from this index on (QH..NFW) depend on the period only, not on the digits.
inline constexpr int kFirstPeriodColumn = 91;

struct DrawRecord {
    QString period;  // strQQH
    DerivedValues values{};

    Digits digits() const { return {values[0], values[1], values[2], values[3], values[4]}; }
    // The draw date held in the date columns (NF, YF, RQ).
    QDate drawDate() const;
};

// Five digits 0-9 from text such as "38146"; nullopt and a message for anything else.
std::optional<Digits> parseDigits(const QString& text, QString* error = nullptr);
QString digitsText(const Digits& digits);

// Every derived column of a draw of `game`. `previous` is the draw just before in period order;
// without one, LX and LY are 0. The date columns take the period's date (the draw date for
// year-numbered games).
DrawRecord deriveDrawRecord(const PeriodNumber& period, const Digits& digits,
                            const std::optional<Digits>& previous, const Game& game);

// LX and LY: repeats of the previous draw at the same position / anywhere.
int sameDigitAtSamePosition(const Digits& digits, const Digits& previous);
int digitsFoundInPrevious(const Digits& digits, const Digits& previous);

// Catalogue-order index (0-based) of a column code, for callers that read single values.
int derivedIndex(QStringView code);

}  // namespace qeltaro
