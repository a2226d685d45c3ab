#pragma once
// 95 % confidence intervals of what a Monte Carlo sample estimates: the share
// of parts beyond a limit (Wilson's score interval) and a percentile (an
// interval between two order statistics, from the exact binomial distribution
// of the number of samples below the true percentile).

#include <cstdint>
#include <limits>

namespace zam1 {

inline constexpr double kConfidenceZ = 1.959963984540054;  // two-sided 95 % of the normal
inline constexpr double kConfidenceTail = 0.025;            // left out on each side

struct Interval {
    double low = -std::numeric_limits<double>::infinity();
    double high = std::numeric_limits<double>::infinity();
};

// The proportion k / n (0 <= k <= n, n > 0).
Interval wilsonInterval(std::int64_t k, std::int64_t n);
// sqrt(p (1 - p) / n) with p = k / n.
double proportionStandardError(std::int64_t k, std::int64_t n);

// The 1-based ranks l and u of the order statistics x(l) <= x(u) that hold the
// true q-quantile (0 < q < 1) with at least 95 % over samples of n: l is 0 when
// not even the smallest sample bounds it from below, u is n + 1 when not even
// the largest bounds it from above.
struct RankInterval {
    std::int64_t lower = 0;
    std::int64_t upper = 0;
};
RankInterval quantileRanks(std::int64_t n, double q);

// The fewest samples for which the smallest sample bounds the q-quantile from
// below (q small), and by symmetry the largest from above for 1 - q.
std::int64_t samplesForBoundedRank(double q);

} // namespace zam1
