#pragma once
// The digit a formula's value predicts, the one rule the back-test, the calculation, the search
// and the replay share.

#include <QString>

#include <cmath>
#include <cstdint>

namespace qeltaro {

// The digit a value predicts: rounded half to even, remainder by 10 with the sign of the value
// (-13 predicts -3). kNoDigit when the value is missing.
inline constexpr int kNoDigit = -128;
inline int predictedDigit(double value)
{
    if (!std::isfinite(value))
        return kNoDigit;
    const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
    if (std::fabs(rounded) < 9.0e15)
        return int(static_cast<std::int64_t>(rounded) % 10);  // % keeps the dividend's sign
    return int(std::fmod(rounded, 10.0));
}

// predictedDigit(value) + 9 for a digit -9..9, kNoValueCode for no value: the index of the
// digit's bit in a row's hit masks.
inline constexpr int kNoValueCode = 19;
inline int predictedDigitCode(double value)
{
    // Values that fit an int take the fast road: adding and removing 1.5 * 2^52 rounds half to
    // even, as predictedDigit does. No value and huge values go the general way.
    if (!(std::fabs(value) < 2147483647.0)) [[unlikely]] {
        const int digit = predictedDigit(value);
        return digit == kNoDigit ? kNoValueCode : digit + 9;
    }
    constexpr double kRounder = 6755399441055744.0;
    const double rounded = (value + kRounder) - kRounder;
    return int(rounded) % 10 + 9;
}

// A predicted digit as the lists show it: empty when there is none.
inline QString digitText(int digit)
{
    return digit == kNoDigit ? QString() : QString::number(digit);
}

}  // namespace qeltaro
