// The normal distribution the analysis evaluates: tail probabilities against
// published values far into the tail, and the inverse the draws use.
#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
} // namespace zam1::test
