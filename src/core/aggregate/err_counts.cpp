#include "aggregate/err_counts.h"

#include <algorithm>
#include <numeric>

namespace qeltaro {

void moveKillCountsToKeep(ErrCounts& counts)
{
    for (ErrCount& count : counts) {
        count.Trrcount = count.Errcount;
        count.Errcount = 0;
    }
}

std::array<int, 10> digitsByTotalAscending(const ErrCounts& counts)
{
    std::array<int, 10> digits;
    std::iota(digits.begin(), digits.end(), 0);
    std::stable_sort(digits.begin(), digits.end(),
                     [&counts](int a, int b) { return counts[size_t(a)].ETrrcount < counts[size_t(b)].ETrrcount; });
    return digits;
}

}  // namespace qeltaro
