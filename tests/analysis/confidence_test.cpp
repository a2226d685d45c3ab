// The 95 % intervals of the Monte Carlo figures: Wilson and the order-statistic
// ranks on values known from the binomial distribution, and against chains whose
// figures are known exactly (n equal uniform elements: Irwin-Hall; normal
// elements: the normal tail) the exact value inside the interval in at least
// 93 of 100 seeds.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/analysis/analysis.h"
#include "core/analysis/confidence.h"
#include "core/analysis/normal.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

TEST(Confidence, WilsonIntervalOnKnownValues) {
    struct Case {
        std::int64_t k;
        std::int64_t n;
        double low;
        double high;
    };
    const Case cases[] = {
        {0, 3, 0.0, 0.5614970317550455},  // three samples within the limit say little
        {5, 100, 0.02154367915436796, 0.11175046923191913},
        {1, 1, 0.20654931437723745, 1.0},
        {0, 100000, 0.0, 3.8414e-5},
    };
    for (const Case& c : cases) {
        const Interval i = wilsonInterval(c.k, c.n);
        EXPECT_NEAR(i.low, c.low, 1e-12) << c.k << "/" << c.n;
        EXPECT_NEAR(i.high, c.high, c.high * 1e-4) << c.k << "/" << c.n;
    }
    EXPECT_NEAR(proportionStandardError(5, 100), std::sqrt(0.05 * 0.95 / 100), 1e-15);
}

// The ranks from the exact binomial sums (checked with rational arithmetic).
TEST(Confidence, OrderStatisticRanks) {
    struct Case {
        std::int64_t n;
        double q;
        std::int64_t lower;
        std::int64_t upper;
    };
    const Case cases[] = {
        {100, 0.5, 40, 61},     // the textbook interval of the median
        {3, 0.00135, 0, 1},     // no sample bounds the 0.135 % point from below
        {20, 0.99865, 19, 21},  // nor one the 99.865 % point from above
        {4000, 0.00135, 1, 11},
    };
    for (const Case& c : cases) {
        const RankInterval r = quantileRanks(c.n, c.q);
        EXPECT_EQ(r.lower, c.lower) << c.n << " " << c.q;
        EXPECT_EQ(r.upper, c.upper) << c.n << " " << c.q;
    }
    const std::int64_t least = samplesForBoundedRank(0.00135);
    EXPECT_EQ(quantileRanks(least, 0.00135).lower, 1);
    EXPECT_EQ(quantileRanks(least - 1, 0.00135).lower, 0);
    const RankInterval median = quantileRanks(100'000'000, 0.5);  // ±1.96 sqrt(n) / 2 ranks
    EXPECT_NEAR(static_cast<double>(median.upper - median.lower), 2 * kConfidenceZ * 5000, 3);
}

// P(sum of n uniforms on (0, 1) <= x).
double irwinHall(int n, double x) {
    double sum = 0;
    double factorial = 1;
    for (int i = 2; i <= n; ++i) factorial *= i;
    for (int k = 0; k <= std::floor(x) && k <= n; ++k) {
        sum += (k % 2 ? -1 : 1) * std::tgamma(n + 1) / (std::tgamma(k + 1) * std::tgamma(n - k + 1)) *
               std::pow(x - k, n);
    }
    return sum / factorial;
}

double inverseOf(const std::function<double(double)>& cdf, double p, double low, double high) {
    for (int i = 0; i < 200; ++i) {
        const double mid = (low + high) / 2;
        (cdf(mid) < p ? low : high) = mid;
    }
    return (low + high) / 2;
}

struct Exact {
    double ppmBelow;
    double ppmAbove;
    double p00135;
    double p99865;
};

// Every figure with an interval, over 100 seeds: how often the exact value is inside.
void expectCoverage(Chain& chain, const AnalysisData& data, const Exact& exact, const char* name) {
    int below = 0;
    int above = 0;
    int low = 0;
    int high = 0;
    double widthBelow = 0;
    bool bounded = true;
    const auto inside = [](const Interval& i, double v) { return i.low <= v && v <= i.high; };
    for (std::uint64_t seed = 1; seed <= 100; ++seed) {
        AnalysisOptions options = samples(4000, seed);
        options.method = AnalysisMethod::MonteCarlo;
        const ClosingAnalysis a = analyseChain(chain, data, options).closings.at(0);
        below += inside(a.mcConfidence.ppmBelow, exact.ppmBelow);
        above += inside(a.mcConfidence.ppmAbove, exact.ppmAbove);
        low += inside(a.monteCarlo.p00135Interval, exact.p00135);
        high += inside(a.monteCarlo.p99865Interval, exact.p99865);
        widthBelow += a.mcConfidence.ppmBelow.high - a.mcConfidence.ppmBelow.low;
        bounded = bounded && std::isfinite(a.monteCarlo.p00135Interval.low) &&
                  std::isfinite(a.monteCarlo.p99865Interval.high);  // 4000 samples bound both
    }
    // Covering is no merit in an interval wider than it must be: about 2 z standard errors.
    const double p = exact.ppmBelow / 1e6;
    EXPECT_LT(widthBelow / 100, 1.15 * 2 * kConfidenceZ * std::sqrt(p * (1 - p) / 4000) * 1e6) << name;
    EXPECT_TRUE(bounded) << name;
    EXPECT_GE(below, 93) << name;
    EXPECT_GE(above, 93) << name;
    EXPECT_GE(low, 93) << name;
    EXPECT_GE(high, 93) << name;
}

// Four uniform elements 10 ±0.1: the closing dimension is 40 + 0.2 (IH4 - 2).
TEST(Confidence, IrwinHallChainLiesInsideTheIntervals) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 10, 0.1L, -0.1L}, {2, true, 10, 0.1L, -0.1L},
                  {3, true, 10, 0.1L, -0.1L}},
          {{0, 4}});
    AnalysisData data;
    for (int n = 1; n <= 4; ++n) data.elements[n] = {Distribution::Uniform, 0};
    data.limits[1] = {39.7L, 40.2L};  // IH4 < 0.5 and IH4 > 3
    const auto cdf = [](double x) { return irwinHall(4, x); };
    const Exact exact{cdf(0.5) * 1e6, (1 - cdf(3)) * 1e6, 40 + 0.2 * (inverseOf(cdf, 0.00135, 0, 4) - 2),
                      40 + 0.2 * (inverseOf(cdf, 0.99865, 0, 4) - 2)};
    EXPECT_NEAR(exact.ppmBelow, 1e6 / 384, 1e-6);   // 0.5^4 / 4!
    EXPECT_NEAR(exact.ppmAbove, 1e6 / 24, 1e-6);    // 1 / 4!
    expectCoverage(chain, data, exact, "Irwin-Hall");
}

// Three normal elements ±0.3 at sigma 3: normal with s = 0.1 sqrt(3).
TEST(Confidence, NormalChainLiesInsideTheIntervals) {
    Chain chain;
    build(chain, {{0, true, 10, 0.3L, -0.3L}, {1, true, 20, 0.3L, -0.3L}, {2, true, 30, 0.3L, -0.3L}}, {{0, 3}});
    const double s = 0.1 * std::sqrt(3.0);
    AnalysisData data;
    data.limits[1] = {60 - 2.5L * static_cast<long double>(s), 60 + 2 * static_cast<long double>(s)};
    const double z = inverseNormal(0.99865);
    const Exact exact{static_cast<double>(normalPpmAbove(2.5L)), static_cast<double>(normalPpmAbove(2)), 60 - z * s,
                      60 + z * s};
    expectCoverage(chain, data, exact, "normal");
}

} // namespace
} // namespace zam1::test
