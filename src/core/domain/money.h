#pragma once
// Amounts of money. Stakes and prizes are whole thousandths of a yuan (厘, the finest stake the
// games sell), so costs, payouts and their sums are exact integers; a sum up to 10^12 yuan is
// 10^15 厘, which a double still holds exactly when it is shown. Expected values are real
// numbers, kept as doubles.

#include "common/result.h"

#include <QString>
#include <QStringView>

#include <cstdint>

namespace qeltaro {

using Mills = std::int64_t;  // thousandths of a yuan

inline constexpr Mills kMillsPerYuan = 1000;

constexpr double yuanOf(Mills amount) { return double(amount) / double(kMillsPerYuan); }

// "2", "0.5", "100000", "-12.345": the shortest exact writing in yuan.
QString yuanText(Mills amount);
// A real amount in yuan to two places: "-1.25".
QString yuanText(double yuan);

// A plainly written decimal number ("2", "0.5", "-1.25", no exponent, no grouping) as a whole
// number of 10^-places units: "1.5" with places 3 is 1500. Refused when the text is no such
// number, has more decimal places than `places`, or has so many digits before the point that
// the units could pass 10^18. `what` names the value in the message.
Result<std::int64_t> parseScaledDecimal(QStringView text, int places, const QString& what);

// An amount in yuan, positive, to the 厘, at most `largest`.
Result<Mills> parsePositiveYuan(QStringView text, const QString& what, Mills largest);

}  // namespace qeltaro
