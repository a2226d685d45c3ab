// Monte Carlo against distributions whose figures are known exactly: the
// statistical method's normal, the triangle two uniforms make, a mean shift;
// and the promise that a seed gives the same bits on one thread or two.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/analysis/monte_carlo.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

constexpr std::int64_t kN = 200000;

// One element 10 +0.3/-0.3 at sigma 3: normal with mean 10 and s = 0.1.
TEST(MonteCarlo, SingleNormalElementReproducesTheStatisticalMethod) {
    Chain chain;
    build(chain, {{0, true, 10, 0.3L, -0.3L}}, {{0, 1}});
    AnalysisData data;
    data.limits[1] = {9.7L, 10.3L};  // ±3 s
    const SampleSummary m = simulate(chain, data, samples(kN)).at(0);
    const double n = kN;
    EXPECT_EQ(m.count, kN);
    EXPECT_NEAR(m.mean, 10, 3 * 0.1 / std::sqrt(n));
    EXPECT_NEAR(m.stdDev, 0.1, 3 * 0.1 / std::sqrt(2 * n));
    const double p = 0.0026997960632601891;  // outside ±3 s
    const double ppm = static_cast<double>(m.below + m.above) / n * 1e6;
    EXPECT_NEAR(ppm, p * 1e6, 3 * std::sqrt(p * (1 - p) / n) * 1e6);
    EXPECT_NEAR(m.p50, 10, 0.002);
    EXPECT_NEAR(m.p00135, 9.7, 0.01);
    EXPECT_NEAR(m.p99865, 10.3, 0.01);
    EXPECT_LE(m.min, m.p00135);
    EXPECT_GE(m.max, m.p99865);
    std::int64_t inHistogram = 0;
    for (const std::int64_t c : m.histogram.counts) inHistogram += c;
    EXPECT_EQ(inHistogram, kN);
    EXPECT_EQ(m.histogram.counts.size(), static_cast<std::size_t>(kDisplayBins));
    EXPECT_EQ(m.histogram.low, m.min);
    EXPECT_EQ(m.histogram.high, m.max);
}

// Two uniform elements ±0.1 add to a triangle over ±0.2; a triangular element
// over ±0.2 gives the same. P(X < x) = (x + a)² / 2a² below the middle.
TEST(MonteCarlo, TwoUniformsMakeTheTriangle) {
    struct Case {
        const char* name;
        std::initializer_list<E> elements;
        std::map<int, ElementDistribution> distributions;
    };
    const Case cases[] = {
        {"two uniforms", {{0, true, 5, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}},
         {{1, {Distribution::Uniform, 0}}, {2, {Distribution::Uniform, 0}}}},
        {"one triangle", {{0, true, 10, 0.2L, -0.2L}}, {{1, {Distribution::Triangular, 0}}}},
    };
    const double a = 0.2;
    for (const Case& c : cases) {
        Chain chain;
        build(chain, c.elements, {{0, static_cast<int>(c.elements.size())}});
        AnalysisData data;
        data.elements = c.distributions;
        data.limits[1] = {std::nullopt, 10.1L};
        const SampleSummary m = simulate(chain, data, samples(kN, 7)).at(0);
        const double sd = a / std::sqrt(6.0);
        EXPECT_NEAR(m.mean, 10, 3 * sd / std::sqrt(double(kN))) << c.name;
        EXPECT_NEAR(m.stdDev, sd, 0.01 * sd) << c.name;
        EXPECT_NEAR(m.p00135, 10 - a + a * std::sqrt(2 * 0.00135), 0.003) << c.name;
        EXPECT_NEAR(m.p99865, 10 + a - a * std::sqrt(2 * 0.00135), 0.003) << c.name;
        EXPECT_GE(m.min, 10 - a) << c.name;
        EXPECT_LE(m.max, 10 + a) << c.name;
        const double above = 0.125;  // (a - 0.1)² / 2a²
        EXPECT_NEAR(double(m.above) / kN, above, 3 * std::sqrt(above * (1 - above) / kN)) << c.name;
        EXPECT_EQ(m.below, 0) << c.name;
    }
}

// With the same draws the shift moves every sample, so the mean moves by exactly
// the shift: + for a "+" element on the far side, - for a "-" one or the near side.
TEST(MonteCarlo, MeanShiftMovesTheMeanByTheShift) {
    struct Case {
        bool positive;
        std::pair<int, int> ends;
        double percent;
        double move;  // of the closing dimension; tolerance 0.6
    };
    const Case cases[] = {
        {true, {0, 1}, 10, +0.06},
        {false, {0, 1}, 10, -0.06},
        {true, {1, 0}, 10, -0.06},
        {true, {0, 1}, -25, -0.15},
    };
    for (const Case& c : cases) {
        Chain chain;
        build(chain, {{0, c.positive, 10, 0.3L, -0.3L}}, {c.ends});
        AnalysisData plain;
        AnalysisData shifted;
        shifted.elements[1] = {Distribution::ShiftedNormal, c.percent};
        const SampleSummary m0 = simulate(chain, plain, samples(10000)).at(0);
        const SampleSummary m1 = simulate(chain, shifted, samples(10000)).at(0);
        EXPECT_NEAR(m1.mean - m0.mean, c.move, 1e-12) << c.percent;
        EXPECT_NEAR(m1.stdDev, m0.stdDev, 1e-12);
        EXPECT_NEAR(m1.min - m0.min, c.move, 1e-12);
    }
}

// Closing dimensions made from the same draws: 0 -> 1 and 1 -> 0 are each
// other's negative sample by sample; 1 -> 2 does not see element 1 at all.
TEST(MonteCarlo, ClosingDimensionsShareTheDraws) {
    Chain chain;
    build(chain, {{0, true, 10, 0.3L, -0.3L}, {1, true, 5, 0.03L, -0.03L}}, {{0, 1}, {1, 0}, {1, 2}});
    const std::vector<SampleSummary> m = simulate(chain, AnalysisData{}, samples(20000));
    EXPECT_DOUBLE_EQ(m[0].mean, -m[1].mean);
    EXPECT_DOUBLE_EQ(m[0].min, -m[1].max);
    EXPECT_NEAR(m[2].stdDev, 0.01, 0.0005);
    EXPECT_NEAR(m[2].mean, 5, 0.0005);
}

bool sameBits(const SampleSummary& a, const SampleSummary& b) {
    const double x[] = {a.mean, a.stdDev, a.min, a.max, a.p00135, a.p50, a.p99865};
    const double y[] = {b.mean, b.stdDev, b.min, b.max, b.p00135, b.p50, b.p99865};
    return std::memcmp(x, y, sizeof x) == 0 && a.below == b.below && a.above == b.above &&
           a.histogram.counts == b.histogram.counts && a.sharePercent.size() == b.sharePercent.size() &&
           (a.sharePercent.empty() ||
            std::memcmp(a.sharePercent.data(), b.sharePercent.data(), a.sharePercent.size() * sizeof(double)) == 0);
}

TEST(MonteCarlo, SameSeedSameBitsOnAnyThreadCount) {
    Chain chain;
    build(chain, {{0, true, 10, 0.3L, -0.1L}, {1, false, 4, 0.2L, 0}, {2, true, 1, 0.05L, -0.05L}},
          {{0, 3}, {1, 3}, {3, 1}});
    AnalysisData data;
    data.elements[2] = {Distribution::Uniform, 0};
    data.elements[3] = {Distribution::ShiftedNormal, 5};
    data.limits[1] = {6.8L, 7.2L};
    for (const std::int64_t n : {std::int64_t{1}, std::int64_t{63}, std::int64_t{100001}}) {
        const auto one = simulate(chain, data, samples(n, 42, 1));
        for (const unsigned threads : {1u, 2u, 3u}) {
            const auto other = simulate(chain, data, samples(n, 42, threads));
            for (std::size_t k = 0; k < one.size(); ++k) EXPECT_TRUE(sameBits(one[k], other[k])) << n << " " << threads;
        }
    }
    EXPECT_NE(simulate(chain, data, samples(1000, 42))[0].mean, simulate(chain, data, samples(1000, 43))[0].mean);
}

// Sample i is made of the draws numbered i, whatever block or batch of samples
// it is computed in: counts below, within and beyond one batch and one block.
TEST(MonteCarlo, EverySampleIsMadeOfTheDrawsOfItsNumber) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.05L, -0.05L}, {0, true, 3, 0.2L, -0.2L}}, {{0, 2}, {3, 2}});
    AnalysisData data;
    for (int n = 1; n <= 3; ++n) data.elements[n] = {Distribution::Uniform, 0};
    for (const std::int64_t n : {std::int64_t{1}, std::int64_t{7}, std::int64_t{9}, std::int64_t{13}, std::int64_t{517}}) {
        SCOPED_TRACE(n);
        const std::vector<SampleSummary> m = simulate(chain, data, samples(n, 7));
        const auto deviation = [](std::int64_t sample, int element, double half) {
            return half * (2 * uniformDraw(7, sample, element, 0) - 1);
        };
        double sum[2] = {0, 0};
        double low[2] = {1e9, 1e9};
        double high[2] = {-1e9, -1e9};
        for (std::int64_t i = 0; i < n; ++i) {
            const double d1 = deviation(i, 1, 0.1);
            const double d2 = d1 + deviation(i, 2, 0.05);
            const double v[2] = {d2, d2 - deviation(i, 3, 0.2)};
            for (int k = 0; k < 2; ++k) {
                sum[k] += v[k];
                low[k] = std::min(low[k], v[k]);
                high[k] = std::max(high[k], v[k]);
            }
        }
        const double nominal[2] = {15, 12};
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(m[static_cast<std::size_t>(k)].count, n);
            EXPECT_NEAR(m[static_cast<std::size_t>(k)].mean, nominal[k] + sum[k] / static_cast<double>(n), 1e-12) << k;
            EXPECT_DOUBLE_EQ(m[static_cast<std::size_t>(k)].min, nominal[k] + low[k]) << k;
            EXPECT_DOUBLE_EQ(m[static_cast<std::size_t>(k)].max, nominal[k] + high[k]) << k;
        }
    }
}

TEST(MonteCarlo, DrawsDependOnEveryPartOfTheirKey) {
    const double base = uniformDraw(1, 2, 3, 0);
    EXPECT_GT(base, 0);
    EXPECT_LT(base, 1);
    EXPECT_EQ(uniformDraw(1, 2, 3, 0), base);
    for (const double other : {uniformDraw(2, 2, 3, 0), uniformDraw(1, 3, 3, 0), uniformDraw(1, 2, 4, 0),
                               uniformDraw(1, 2, 3, 1)}) {
        EXPECT_NE(other, base);
    }
}

// Zero tolerance: every sample is the nominal, and the percentiles say so.
TEST(MonteCarlo, ZeroToleranceGivesOneValue) {
    Chain chain;
    build(chain, {{0, true, 10, 0, 0}}, {{0, 1}});
    const SampleSummary m = simulate(chain, AnalysisData{}, samples(1000)).at(0);
    EXPECT_EQ(m.stdDev, 0);
    for (const double v : {m.mean, m.min, m.max, m.p00135, m.p50, m.p99865}) EXPECT_DOUBLE_EQ(v, 10);
}

} // namespace
} // namespace zam1::test

namespace zam1::test {
namespace {

// A spread that overflows a double (a deviation of 1e155, or a production sigma
// of 1e-300 dividing every half tolerance) must not decide where a histogram
// count goes: every sample still lands in one of the bins, none outside them.
TEST(MonteCarlo, ASpreadThatOverflowsStillCountsEverySampleInItsBins) {
    struct Case {
        const char* name;
        long double upper;
        long double sigma;
        Distribution kind;
    };
    const Case cases[] = {
        {"deviation 1e155", 1e155L, 3, Distribution::Normal},
        {"deviation 1e155, uniform", 1e155L, 3, Distribution::Uniform},
        {"sigma 1e-300", 0.1L, 1e-300L, Distribution::Normal},
        {"sigma 1e-300, shifted", 0.1L, 1e-300L, Distribution::ShiftedNormal},
        {"deviation 1e4000", 1e4000L, 3, Distribution::Triangular},
    };
    constexpr std::int64_t n = 5000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, c.upper, -0.1L}}, {{0, 2}, {0, 1}});
        chain.productionSigma = c.sigma;
        AnalysisData data;
        data.elements[2] = {c.kind, 10};
        for (const SampleSummary& m : simulate(chain, data, samples(n, 1, 1))) {
            EXPECT_EQ(m.count, n);
            std::int64_t inHistogram = 0;
            for (const std::int64_t count : m.histogram.counts) inHistogram += count;
            EXPECT_EQ(inHistogram, n);
            EXPECT_EQ(m.histogram.counts.size(), static_cast<std::size_t>(kDisplayBins));
        }
    }
}

} // namespace
} // namespace zam1::test
