#pragma once
// The number of successes among independent trials that each have their own chance: the
// yardstick for a run of predictions whose kept digits cover more or less of the ten.

#include <vector>

namespace qeltaro {

// P(X >= successes) where X counts successes of independent trials with the given chances.
// Exact: the distribution is built trial by trial, and the tail is summed rather than taken as
// one minus the rest, so small p-values keep their precision. 1 for successes <= 0.
double poissonBinomialAtLeast(const std::vector<double>& chances, int successes);

// The expected number of successes: the sum of the chances.
double expectedSuccesses(const std::vector<double>& chances);

}  // namespace qeltaro
