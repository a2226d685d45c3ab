// The normal distribution the analysis evaluates: tail probabilities against
// published values far into the tail, and the inverse the draws use.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "core/analysis/normal.h"

namespace zam1::test {
namespace {

TEST(NormalPpmAbove, MatchesPublishedTailValuesToNineDigits) {
    const std::pair<long double, long double> cases[] = {
        {0, 500000},
        {1, 158655.253931457051L},
        {2, 22750.1319481792072L},
        {3, 1349.89803163009453L},
        {4, 31.6712418331199213L},
        {5, 0.286651571879193912L},
        {6, 0.000986587645037698140L},
        {-3, 1e6L - 1349.89803163009453L},
    };
    for (const auto& [z, ppm] : cases) EXPECT_NEAR(normalPpmAbove(z) / ppm, 1, 1e-9) << "z " << static_cast<double>(z);
}

// Phi(inverse(p)) = p over the whole range the draws can produce, both regions
// of the rational approximation and the far tails included.
TEST(InverseNormal, IsTheInverseOfTheTailProbability) {
    const double shares[] = {0x1.0p-54, 1e-12, 1e-6, 0.00135, 0.02, 0.075, 0.0751, 0.3, 0.5,
                             0.6,       0.924,              0.98, 0.99865, 1 - 1e-9, 1 - 0x1.0p-53};
    for (const double p : shares) {
        const double z = inverseNormal(p);
        const double tail = static_cast<double>(normalPpmAbove(p < 0.5 ? -z : z)) / 1e6;
        const double expected = p < 0.5 ? p : 1 - p;
        // Near 1 the share itself carries only the precision of 1 - p.
        EXPECT_NEAR(tail / expected, 1, p > 0.99 ? 1e-6 : 1e-12) << "p " << p;
    }
    EXPECT_NEAR(inverseNormal(0.975), 1.959963984540054, 1e-14);
    EXPECT_EQ(inverseNormal(0.5), 0);
    EXPECT_EQ(inverseNormal(0.25), -inverseNormal(0.75));
}

// Two million draws from a counter stream: the share beyond each of 1, 2, 3 and
// 4 standard deviations within four standard errors of the exact tail, and the
// first four moments of the normal. A wrong layer table, a lost tail or a
// one-sided wedge shows up in one of them.
TEST(ZigguratNormal, DrawsTheStandardNormal) {
    constexpr int kDraws = 2000000;
    const auto mix = [](std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    };
    double sum = 0, sumSq = 0, sumCube = 0, sumFourth = 0;
    int beyond[5] = {};
    int below = 0;
    for (int n = 0; n < kDraws; ++n) {
        const std::uint64_t base = mix(static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15ull + 7);
        const double z = zigguratNormal([&](int k) { return mix(base + static_cast<std::uint64_t>(k) * 0xD1B54A32D192ED03ull); });
        sum += z;
        sumSq += z * z;
        sumCube += z * z * z;
        sumFourth += z * z * z * z;
        for (int s = 1; s <= 4; ++s) beyond[s] += std::fabs(z) > s ? 1 : 0;
        below += z < 0 ? 1 : 0;
    }
    const double n = kDraws;
    EXPECT_NEAR(sum / n, 0, 4 / std::sqrt(n));
    EXPECT_NEAR(sumSq / n, 1, 4 * std::sqrt(2 / n));
    EXPECT_NEAR(sumCube / n, 0, 4 * std::sqrt(15 / n));
    EXPECT_NEAR(sumFourth / n, 3, 4 * std::sqrt(96 / n));
    EXPECT_NEAR(below / n, 0.5, 4 * std::sqrt(0.25 / n));
    for (int s = 1; s <= 4; ++s) {
        const double p = 2 * static_cast<double>(normalPpmAbove(s)) / 1e6;
        EXPECT_NEAR(beyond[s] / n, p, 4 * std::sqrt(p * (1 - p) / n) + 1e-7) << s << " sigma";
    }
}

} // namespace
} // namespace zam1::test
