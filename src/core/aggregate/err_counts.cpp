#include "aggregate/err_counts.h"

#include <algorithm>
#include <numeric>

namespace qeltaro {

void moveKillCountsToKeep(ErrCounts& counts)
{
    for (ErrCount& count : counts) {
        count.keep = count.kill;
        count.kill = 0;
    }
}

std::array<int, 10> digitsByTotalAscending(const ErrCounts& counts)
{
    std::array<int, 10> digits;
    std::iota(digits.begin(), digits.end(), 0);
    std::stable_sort(digits.begin(), digits.end(),
                     [&counts](int a, int b) { return counts[size_t(a)].total < counts[size_t(b)].total; });
    return digits;
}

}  // namespace qeltaro
