#include "domain/poisson_binomial.h"

#include <algorithm>
#include <numeric>

namespace qeltaro {

double poissonBinomialAtLeast(const std::vector<double>& chances, int successes)
{
    if (successes <= 0)
        return 1.0;
    const int n = int(chances.size());
    if (successes > n)
        return 0.0;
    // distribution[k] = P(k successes among the trials seen so far).
    std::vector<double> distribution(size_t(n) + 1, 0.0);
    distribution[0] = 1.0;
    for (int i = 0; i < n; ++i) {
        const double p = std::clamp(chances[size_t(i)], 0.0, 1.0);
        for (int k = i + 1; k >= 1; --k)
            distribution[size_t(k)] = distribution[size_t(k)] * (1.0 - p) + distribution[size_t(k - 1)] * p;
        distribution[0] *= 1.0 - p;
    }
    double tail = 0.0;
    for (int k = n; k >= successes; --k)
        tail += distribution[size_t(k)];
    return std::min(1.0, tail);
}

double expectedSuccesses(const std::vector<double>& chances)
{
    return std::accumulate(chances.begin(), chances.end(), 0.0);
}

}  // namespace qeltaro
