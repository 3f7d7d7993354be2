#include "predictions/kept_digits.h"

#include "aggregate/err_window_rows.h"

namespace qeltaro {

std::vector<int> keptDigits(const ErrCounts& counts, Kind kind)
{
    std::vector<int> kept;
    for (int digit = 0; digit < 10; ++digit) {
        if (!isKilledVerdict(counts[size_t(digit)].total, kind))
            kept.push_back(digit);
    }
    return kept;
}

}  // namespace qeltaro
