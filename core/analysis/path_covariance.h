#pragma once
// The covariance terms that correlated pairs add to the variance of a closing
// dimension, as the statistical method takes them: 2 r a_i a_j s_i s_j per pair
// with both elements on the path (a the element's sensitivity there, +1 or -1;
// s its standard deviation). The analysis and the tolerance allocation both
// take their terms from here, so that a proposal is judged as it was made.

#include <cmath>
#include <cstddef>
#include <vector>

#include "core/analysis/correlation.h"

namespace zam1 {

// A pair with both elements on the path.
struct PathPair {
    std::size_t pair = 0;    // its index in the list of pairs
    std::size_t first = 0;   // positions of its elements on the path
    std::size_t second = 0;
    long double r = 0;       // r a_i a_j
};

// The pairs of `pairs` whose elements both lie on the path, in the order of
// the list; `elements` and `sensitivities` the path's elements and their a.
std::vector<PathPair> pathPairs(const std::vector<Correlation>& pairs, const std::vector<int>& elements,
                                const std::vector<int>& sensitivities);

// Half of the pair's covariance term, r a_i a_j s_i s_j, from the variances of its two elements.
inline long double halfCovariance(const PathPair& p, long double firstVariance, long double secondVariance) {
    return p.r * std::sqrt(firstVariance * secondVariance);
}

// The sum of the covariance terms of `pairs`, the variances by position on the path.
long double covarianceTerms(const std::vector<PathPair>& pairs, const std::vector<long double>& variances);

// A variance that correlated pairs cancel leaves a few roundings of the
// independent variance behind: below this share of it, none is left.
inline constexpr long double kCancelledVariance = 1e-15L;

inline long double uncancelled(long double variance, long double independent) {
    return variance > independent * kCancelledVariance ? variance : 0;
}

} // namespace zam1
