#include "core/analysis/confidence.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zam1 {

Interval wilsonInterval(std::int64_t k, std::int64_t n) {
    if (n <= 0) return {0, 1};
    const double count = static_cast<double>(n);
    const double p = static_cast<double>(k) / count;
    const double z2 = kConfidenceZ * kConfidenceZ;
    const double denominator = 1 + z2 / count;
    const double centre = (p + z2 / (2 * count)) / denominator;
    const double half = kConfidenceZ / denominator * std::sqrt(p * (1 - p) / count + z2 / (4 * count * count));
    // At k = 0 or k = n the interval touches 0 or 1 exactly; rounding must not move it off.
    return {k == 0 ? 0.0 : std::max(0.0, centre - half), k == n ? 1.0 : std::min(1.0, centre + half)};
}

double proportionStandardError(std::int64_t k, std::int64_t n) {
    if (n <= 0) return 0;
    const double p = static_cast<double>(k) / static_cast<double>(n);
    return std::sqrt(p * (1 - p) / static_cast<double>(n));
}

RankInterval quantileRanks(std::int64_t n, double q) {
    RankInterval r{0, n + 1};
    if (n <= 0 || !(q > 0 && q < 1)) return r;
    // The binomial probabilities of X = the number of samples below the quantile,
    // over mean ± 12 standard deviations (what lies beyond is far below 1e-30),
    // walked outward from the mode by the ratio of neighbours and normalised.
    const double count = static_cast<double>(n);
    const double mean = count * q;
    const double spread = 12 * std::sqrt(count * q * (1 - q)) + 12;
    const std::int64_t first = std::max<std::int64_t>(0, static_cast<std::int64_t>(std::floor(mean - spread)));
    const std::int64_t last = std::min<std::int64_t>(n, static_cast<std::int64_t>(std::ceil(mean + spread)));
    const std::int64_t mode = std::clamp<std::int64_t>(static_cast<std::int64_t>(std::floor((count + 1) * q)), first, last);
    std::vector<double> p(static_cast<std::size_t>(last - first + 1), 0.0);
    const auto at = [&](std::int64_t k) -> double& { return p[static_cast<std::size_t>(k - first)]; };
    const double odds = q / (1 - q);
    at(mode) = 1;
    for (std::int64_t k = mode; k < last; ++k) {
        at(k + 1) = at(k) * static_cast<double>(n - k) / static_cast<double>(k + 1) * odds;
    }
    for (std::int64_t k = mode; k > first; --k) {
        at(k - 1) = at(k) * static_cast<double>(k) / static_cast<double>(n - k + 1) / odds;
    }
    double total = 0;
    for (const double v : p) total += v;
    // l - 1 is the largest j with P(X <= j) <= 2.5 %, u - 1 the smallest with P(X <= j) >= 97.5 %.
    double below = 0;  // P(X <= k)
    bool upperFound = false;
    r.lower = first;  // P(X <= first - 1) is negligible, so x(first) is a lower bound when first >= 1
    for (std::int64_t k = first; k <= last; ++k) {
        below += at(k) / total;
        if (below <= kConfidenceTail) r.lower = k + 1;
        if (!upperFound && below >= 1 - kConfidenceTail) {
            r.upper = k + 1;
            upperFound = true;
        }
    }
    return r;
}

std::int64_t samplesForBoundedRank(double q) {
    // (1 - q)^n <= 2.5 %: the chance that no sample lies below the quantile.
    return static_cast<std::int64_t>(std::ceil(std::log(kConfidenceTail) / std::log1p(-q)));
}

} // namespace zam1
