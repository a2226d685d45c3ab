// What the analysis says about each element beyond its share: the closed-form
// sensitivities of the statistical method against finite differences of whole
// re-runs, the "what to tighten" order, the percentile form of Cp/Cpk, and the
// Monte Carlo shares from the sample covariance.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <sstream>

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

// 1: +10 ±0.1, 2: -4 +0.05/-0.15 on 1, 3: +6 +0.2/-0.1 on 2, 4: +3 +0.08/-0.02;
// closing dimension 4 -> 3: element 4 on the first end's side, 3, 2, 1 on the
// second's. Nominal 9, zone middles give 9.07.
void fourElements(Chain& chain) {
    build(chain,
          {{0, true, 10, 0.1L, -0.1L}, {1, false, 4, 0.05L, -0.15L}, {2, true, 6, 0.2L, -0.1L}, {0, true, 3, 0.08L, -0.02L}},
          {{4, 3}});
}

const ClosingAnalysis& only(const AnalysisResult& r) { return r.closings.at(0); }

AnalysisResult analyse(Chain& chain, const AnalysisData& data) {
    deriveElementValues(chain);
    return analyseChain(chain, data, samples(1));
}

long double ppmOf(const ClosingAnalysis& a) { return a.ppmBelow + a.ppmAbove; }

// Widens element n's zone by `by` about its middle.
void widen(Chain& chain, int n, long double by) {
    chain.element(n).upperDev += by / 2;
    chain.element(n).lowerDev -= by / 2;
}

TEST(Sensitivities, ClosedFormsMatchFiniteDifferencesAndReRuns) {
    using D = Distribution;
    struct Case {
        const char* name;
        std::map<int, ElementDistribution> distributions;
        RequiredLimits limits;
        long double productionSigma;
        std::vector<Correlation> correlations = {};
    };
    const Case cases[] = {
        {"production sigma, both limits", {}, {8.9L, 9.2L}, 3},
        {"production sigma 2, upper only", {}, {std::nullopt, 9.2L}, 2},
        {"one uniform", {{3, {D::Uniform, 0}}}, {8.9L, 9.2L}, 3},
        {"triangular and uniform, lower only", {{1, {D::Triangular, 0}}, {4, {D::Uniform, 0}}}, {8.85L, std::nullopt}, 3},
        {"shifted 20 % on the far side", {{3, {D::ShiftedNormal, 20}}}, {8.9L, 9.2L}, 3},
        {"shifted -30 % on the near side, a '-' element normal",
         {{4, {D::ShiftedNormal, -30}}, {2, {D::Normal, 0}}, {1, {D::Uniform, 0}}}, {8.95L, 9.25L}, 3},
        {"a correlated pair, production sigma", {}, {8.9L, 9.2L}, 3, {{1, 2, 0.7L}}},
        {"correlated across the sides, shifted and uniform, r < 0",
         {{3, {D::ShiftedNormal, 20}}, {4, {D::Uniform, 0}}}, {8.9L, 9.2L}, 3, {{3, 4, -0.5L}, {1, 3, 0.4L}}},
        {"r = 1, upper only", {{2, {D::Triangular, 0}}}, {std::nullopt, 9.2L}, 3, {{2, 3, 1}}},
    };
    const long double h = 1e-6L;  // mm; central differences, so the error goes with h²
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        fourElements(chain);
        chain.productionSigma = c.productionSigma;
        AnalysisData data;
        data.elements = c.distributions;
        data.limits[1] = c.limits;
        data.correlations = c.correlations;
        const ClosingAnalysis base = only(analyse(chain, data));
        ASSERT_EQ(base.sensitivities.size(), 4u);
        ASSERT_GT(ppmOf(base), 1);  // the limits bite: the derivatives are not tiny
        for (const ElementSensitivity& e : base.sensitivities) {
            SCOPED_TRACE(e.element);
            ASSERT_TRUE(e.sigmaPerTolerance && e.ppmPerTolerance && e.ppmSaved && e.sigmaSaved);

            chain.element(e.element).distance += h;
            const long double meanUp = only(analyse(chain, data)).mean;
            chain.element(e.element).distance -= 2 * h;
            const long double meanDown = only(analyse(chain, data)).mean;
            chain.element(e.element).distance += h;
            EXPECT_NEAR(static_cast<double>((meanUp - meanDown) / (2 * h)), e.meanPerNominal, 1e-9);

            widen(chain, e.element, h);
            const ClosingAnalysis up = only(analyse(chain, data));
            widen(chain, e.element, -2 * h);
            const ClosingAnalysis down = only(analyse(chain, data));
            widen(chain, e.element, h);
            const double ds = static_cast<double>((up.sigma - down.sigma) / (2 * h));
            const double dppm = static_cast<double>((ppmOf(up) - ppmOf(down)) / (2 * h));
            EXPECT_NEAR(static_cast<double>(*e.sigmaPerTolerance), ds, 1e-7 * std::max(1.0, std::fabs(ds)));
            EXPECT_NEAR(static_cast<double>(*e.ppmPerTolerance), dppm, 1e-6 * std::max(1.0, std::fabs(dppm)));

            // Narrowed by 10 % about its middle, the whole analysis again.
            const Element& el = chain.element(e.element);
            const long double tolerance = el.upperDev - el.lowerDev;
            widen(chain, e.element, -kTightenShare * tolerance);
            const ClosingAnalysis narrowed = only(analyse(chain, data));
            widen(chain, e.element, kTightenShare * tolerance);
            EXPECT_NEAR(static_cast<double>(*e.ppmSaved), static_cast<double>(ppmOf(base) - ppmOf(narrowed)),
                        1e-9 * static_cast<double>(ppmOf(base)));
            EXPECT_NEAR(static_cast<double>(*e.sigmaSaved), static_cast<double>(base.sigma - narrowed.sigma), 1e-15);
        }
    }
}

// Three elements in a row, tolerances 0.3 > 0.2 > 0.1, and one without
// tolerance: the widest saves the most, whatever the element numbers; without
// limits no ppm is saved and the order follows s.
TEST(Sensitivities, WhatToTightenPutsTheWidestToleranceFirst) {
    struct Case {
        const char* name;
        RequiredLimits limits;
        bool ppm;
    };
    const Case cases[] = {
        {"both limits", {19.7L, 20.3L}, true},
        {"upper only", {std::nullopt, 20.2L}, true},
        {"no limits", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        build(chain,
              {{0, true, 5, 0.05L, -0.05L}, {1, true, 5, 0, 0}, {2, false, 5, 0.15L, -0.15L}, {3, true, 15, 0.1L, -0.1L},
               {4, true, 0, 0, 0}},
              {{0, 5}});
        AnalysisData data;
        data.limits[1] = c.limits;
        const ClosingAnalysis a = analyseChain(chain, data, samples(1)).closings.at(0);
        std::vector<int> order;
        for (const ElementSensitivity& e : a.sensitivities) order.push_back(e.element);
        EXPECT_EQ(order, (std::vector<int>{3, 4, 1, 2, 5}));
        EXPECT_EQ(a.sensitivities[0].meanPerNominal, -1);  // the "-" element
        EXPECT_EQ(a.sensitivities[0].ppmSaved.has_value(), c.ppm);
        EXPECT_EQ(*a.sensitivities.back().sigmaPerTolerance, 0);  // no tolerance, no spread to take
        if (c.ppm) {
            EXPECT_GT(*a.sensitivities[0].ppmSaved, *a.sensitivities[1].ppmSaved);
        }
    }
}

TEST(Capability, PercentileFormOnTextbookCases) {
    struct Case {
        const char* name;
        std::optional<long double> lower;
        std::optional<long double> upper;
        long double low, median, high;  // the 0.135 %, 50 % and 99.865 % points
        std::optional<double> cp;
        std::optional<double> cpk;
    };
    const Case cases[] = {
        {"normal, centred", 9.7L, 10.3L, 9.7L, 10, 10.3L, 1.0, 1.0},
        {"skewed right", 9.7L, 10.6L, 9.9L, 10, 10.5L, 1.5, 1.2},
        {"median beyond the upper limit", 9.7L, 10.3L, 9.7L, 10.4L, 10.6L, 0.6 / 0.9, -0.5},
        {"upper only", std::nullopt, 10.6L, 9.9L, 10, 10.5L, std::nullopt, 1.2},
        {"lower only", 9.7L, std::nullopt, 9.9L, 10, 10.5L, std::nullopt, 3.0},
        {"no spread", 9.7L, 10.3L, 10, 10, 10, std::nullopt, std::nullopt},
        {"no spread above, upper limit", std::nullopt, 10.3L, 9.9L, 10, 10, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Capability k = percentileCapability({c.lower, c.upper}, c.low, c.median, c.high);
        ASSERT_EQ(k.cp.has_value(), c.cp.has_value());
        ASSERT_EQ(k.cpk.has_value(), c.cpk.has_value());
        EXPECT_NEAR(static_cast<double>(k.cp.value_or(0)), c.cp.value_or(0), 1e-12);
        EXPECT_NEAR(static_cast<double>(k.cpk.value_or(0)), c.cpk.value_or(0), 1e-12);
    }
}

// One uniform element ±0.1 with limits on its ends: every part is good. The
// standard deviation form says Cp 0.577; the percentiles say about 1.003 (the
// 99.73 % of the zone between them).
TEST(Capability, PercentilesSeeTheBoundedDistribution) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}}, {{0, 1}});
    AnalysisData data;
    data.elements[1] = {Distribution::Uniform, 0};
    data.limits[1] = {9.9L, 10.1L};
    AnalysisOptions options = samples(200000);
    options.method = AnalysisMethod::MonteCarlo;
    const AnalysisResult r = analyseChain(chain, data, options);
    const ClosingAnalysis& a = r.closings.at(0);
    EXPECT_NEAR(static_cast<double>(*a.mcCapability.cp), 1 / std::sqrt(3.0), 0.005);
    EXPECT_NEAR(static_cast<double>(*a.mcPercentileCapability.cp), 1 / 0.9973, 0.005);
    EXPECT_NEAR(static_cast<double>(*a.mcPercentileCapability.cpk), 1 / 0.9973, 0.01);
    const std::string json = analysisJson(r, "p");
    EXPECT_NE(json.find("\"cpPercentile\": 1.00"), std::string::npos) << json.substr(0, 2000);
    EXPECT_NE(json.find("\"verdictBasis\": \"percentiles\""), std::string::npos);
}

// The shares of the sample variance estimate the shares of the declared
// variance; they add up to 100 % exactly, as the covariances add up to the variance.
TEST(MonteCarloShares, EstimateTheDeclaredSharesAndAddUpToAll) {
    using D = Distribution;
    struct Case {
        const char* name;
        std::map<int, ElementDistribution> distributions;
    };
    const Case cases[] = {
        {"production sigma", {}},
        {"uniform, triangular, shifted", {{1, {D::Uniform, 0}}, {3, {D::Triangular, 0}}, {4, {D::ShiftedNormal, 25}}}},
        {"all uniform", {{1, {D::Uniform, 0}}, {2, {D::Uniform, 0}}, {3, {D::Uniform, 0}}, {4, {D::Uniform, 0}}}},
    };
    constexpr std::int64_t n = 200000;
    static_assert(n > kMaxShareSamples);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        fourElements(chain);
        AnalysisData data;
        data.elements = c.distributions;
        const ClosingAnalysis a = analyseChain(chain, data, samples(n, 5)).closings.at(0);
        EXPECT_EQ(a.monteCarlo.shareSamples, kMaxShareSamples);  // of 200,000
        double total = 0;
        for (const Contribution& e : a.contributions) {
            ASSERT_TRUE(e.monteCarloSharePercent.has_value()) << e.element;
            total += *e.monteCarloSharePercent;
            // The share estimate's error is about share·sqrt(2 / N) plus the
            // cross terms; 1.5 points is over four standard errors here.
            EXPECT_NEAR(*e.monteCarloSharePercent, static_cast<double>(e.sharePercent), 1.5) << e.element;
        }
        EXPECT_NEAR(total, 100, 1e-9);
    }
}

// A long chain with many closing dimensions has more products than the share
// budget: the shares come from the first samples only. Every element uniform,
// so the test can make those samples itself and take the covariances by hand.
TEST(MonteCarloShares, LargeProjectsTakeThemFromTheFirstSamples) {
    constexpr int kElements = 30;
    Chain chain;
    std::vector<E> elements;
    for (int n = 1; n <= kElements; ++n) elements.push_back({n - 1, n % 3 != 0, 2, 0.01L * (1 + n % 4), -0.01L});
    fill(chain, elements);
    chain.setClosingCount(40);
    for (int k = 1; k <= 40; ++k) chain.closing(k) = {k % 5 + (k % 7 == 0 ? 20 : 0), 16 + k % 15, "", ""};
    deriveElementValues(chain);
    AnalysisData data;
    for (int n = 1; n <= kElements; ++n) data.elements[n] = {Distribution::Uniform, 0};
    const auto solutions = solveAllClosings(chain);
    std::int64_t pairs = 0;
    for (const ClosingSolution& s : solutions) pairs += static_cast<std::int64_t>(s.pathFrom.size() + s.pathTo.size());
    ASSERT_GT(pairs, kShareWorkPerDraw * kElements);
    const std::int64_t n = 200000;
    const std::int64_t first =
        std::min(kMaxShareSamples, std::max(kMinShareSamples, kElements * n / pairs));
    ASSERT_LT(first, n);
    const std::vector<SampleSummary> m = simulateClosings(chain, solutions, data, samples(n, 3));

    // The deviations of the first samples, element by element, and each closing dimension's value.
    std::vector<std::vector<double>> d(kElements + 1, std::vector<double>(static_cast<std::size_t>(first)));
    for (std::int64_t i = 0; i < first; ++i) {
        for (int e = 1; e <= kElements; ++e) {
            const Element& el = chain.element(e);
            const double half = static_cast<double>((el.upperDev - el.lowerDev) / 2);
            d[static_cast<std::size_t>(e)][static_cast<std::size_t>(i)] = half * (2 * uniformDraw(3, i, e, 0) - 1);
        }
    }
    for (std::size_t k = 0; k < m.size(); ++k) {
        SCOPED_TRACE(k);
        const ClosingSolution& s = solutions[k];
        ASSERT_TRUE(s.resolved);
        EXPECT_EQ(m[k].shareSamples, first);
        std::vector<std::pair<int, double>> sided;
        for (const std::int32_t e : s.pathFrom) sided.emplace_back(e, -1.0);
        for (const std::int32_t e : s.pathTo) sided.emplace_back(e, +1.0);
        ASSERT_EQ(m[k].shareElements.size(), sided.size());
        std::vector<double> v(static_cast<std::size_t>(first), 0.0);
        for (const auto& [e, side] : sided) {
            for (std::size_t i = 0; i < v.size(); ++i) v[i] += side * d[static_cast<std::size_t>(e)][i];
        }
        const double count = static_cast<double>(first);
        const double meanV = std::accumulate(v.begin(), v.end(), 0.0) / count;
        double varV = 0;
        for (const double x : v) varV += (x - meanV) * (x - meanV);
        for (std::size_t p = 0; p < sided.size(); ++p) {
            const auto& [e, side] = sided[p];
            EXPECT_EQ(m[k].shareElements[p], e);
            const std::vector<double>& x = d[static_cast<std::size_t>(e)];
            const double meanX = std::accumulate(x.begin(), x.end(), 0.0) / count;
            double cov = 0;
            for (std::size_t i = 0; i < v.size(); ++i) cov += side * (x[i] - meanX) * (v[i] - meanV);
            EXPECT_NEAR(m[k].sharePercent[p], cov / varV * 100, 1e-8) << e;
        }
        EXPECT_NEAR(std::accumulate(m[k].sharePercent.begin(), m[k].sharePercent.end(), 0.0), 100, 1e-9);
    }
}

// What the text report (and with it the Monte Carlo dialog's report) and the
// JSON show: both Cp/Cpk forms and which one judges, the Monte Carlo shares,
// the sensitivities ranked.
TEST(Sensitivities, ReportAndJsonNameThem) {
    Chain chain;
    fourElements(chain);
    AnalysisData data;
    data.elements[3] = {Distribution::Uniform, 0};
    data.limits[1] = {8.9L, 9.2L};
    const AnalysisResult r = analyseChain(chain, data, samples(5000));
    std::ostringstream text;
    writeAnalysisReport(r, "p", text);
    const std::string report = text.str();
    for (const char* line : {"                percentile form       Cp ",
                             "The verdict judges the 0.135/99.865 % points, not Cp/Cpk.\n",
                             "  element  sens.  tolerance  distribution    share   MC share\n",
                             "  share: of the variance of the declared distributions\n",
                             "  MC share: sample covariance with the result / its variance, 5000 samples\n",
                             "  what to tighten: each tolerance t narrowed by 10 % about its middle;\n"
                             "  statistical method, variance of the declared distributions;\n",
                             "  element  dmean/dnom         s'         ppm'     ppm saved     s saved\n",
                             "\n        3          +1    0.25000"}) {
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    }
    const std::string json = analysisJson(r, "p");
    for (const char* field : {"\"shareBasis\": {\n        \"sharePercent\": \"declared distributions\",\n"
                              "        \"monteCarloSharePercent\": \"sample covariance\"",
                              "\"sensitivities\": {\n        \"method\": \"statistical\",",
                              "\"element\": 3,\n            \"rank\": 1,\n            \"meanPerNominal\": 1,",
                              "\"monteCarloSharePercent\": ", "\"tightenPercent\": 10.0"}) {
        EXPECT_NE(json.find(field), std::string::npos) << field << "\n" << json;
    }
}

} // namespace
} // namespace zam1::test
