// The figures of one closing dimension against required limits: worst case,
// the exact normal tail, Cp/Cpk on textbook cases, the shares of the elements,
// and which method fails when.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/normal.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

TEST(WorstCase, SidesHoldStraddleOrLieBeyond) {
    struct Case {
        long double lower;
        long double upper;
        WorstCaseSide below;
        WorstCaseSide above;
    };
    // The worst-case range is 9.8 .. 10.2; a value on a limit holds.
    const Case cases[] = {
        {9.8L, 10.2L, WorstCaseSide::Holds, WorstCaseSide::Holds},
        {9.9L, 10.1L, WorstCaseSide::Partly, WorstCaseSide::Partly},
        {10.3L, 10.4L, WorstCaseSide::All, WorstCaseSide::Holds},
        {9.5L, 9.7L, WorstCaseSide::Holds, WorstCaseSide::All},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(worstCaseBelow(9.8L, 10.2L, c.lower), c.below) << static_cast<double>(c.lower);
        EXPECT_EQ(worstCaseAbove(9.8L, 10.2L, c.upper), c.above) << static_cast<double>(c.upper);
    }
    EXPECT_EQ(worstCasePpm(WorstCaseSide::Holds), 0.0L);
    EXPECT_EQ(worstCasePpm(WorstCaseSide::All), 1e6L);
    EXPECT_FALSE(worstCasePpm(WorstCaseSide::Partly).has_value());
}

TEST(Capability, TextbookCases) {
    struct Case {
        std::optional<long double> lower;
        std::optional<long double> upper;
        long double mean;
        long double sigma;
        std::optional<double> cp;
        std::optional<double> cpk;
    };
    const Case cases[] = {
        {9.7L, 10.3L, 10, 0.1L, 1.0, 1.0},                 // centred, ±3 sigma
        {9.95L, 10.05L, 10.01L, 0.01L, 5.0 / 3, 4.0 / 3},  // off centre: the nearer limit counts
        {9.7L, 10.3L, 10.4L, 0.1L, 1.0, -1.0 / 3},         // mean beyond a limit: negative Cpk
        {std::nullopt, 10.3L, 10, 0.1L, std::nullopt, 1.0},  // one-sided: Cpu
        {9.4L, std::nullopt, 10, 0.1L, std::nullopt, 2.0},   // Cpl
        {9.7L, 10.3L, 10, 0, std::nullopt, std::nullopt},    // no spread: no index
    };
    for (const Case& c : cases) {
        const Capability k = capability({c.lower, c.upper}, c.mean, c.sigma);
        ASSERT_EQ(k.cp.has_value(), c.cp.has_value());
        ASSERT_EQ(k.cpk.has_value(), c.cpk.has_value());
        EXPECT_NEAR(static_cast<double>(k.cp.value_or(0)), c.cp.value_or(0), 1e-12);
        EXPECT_NEAR(static_cast<double>(k.cpk.value_or(0)), c.cpk.value_or(0), 1e-12);
    }
}

// One element ±0.3 at sigma 3: s = 0.1, limits ±3 s, so each side loses
// Phi(-3) exactly, and Cp = Cpk = 1.
TEST(Analysis, StatisticalPpmIsTheExactNormalTail) {
    Chain chain;
    build(chain, {{0, true, 10, 0.3L, -0.3L}}, {{0, 1}});
    AnalysisData data;
    data.limits[1] = {9.7L, 10.3L};
    const ClosingAnalysis a = analyseChain(chain, data, samples(1000)).closings.at(0);
    EXPECT_NEAR(static_cast<double>(a.ppmBelow / 1349.89803163009453L), 1, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.ppmAbove / 1349.89803163009453L), 1, 1e-9);
    EXPECT_NEAR(static_cast<double>(*a.statCapability.cp), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(*a.statCapability.cpk), 1, 1e-12);
    EXPECT_NEAR(static_cast<double>(a.sigma), 0.1, 1e-15);
    EXPECT_EQ(a.worstBelow, WorstCaseSide::Holds);
    EXPECT_FALSE(a.failsStatistical);  // the statistical limits lie on the required ones
}

// Two elements ±0.1: worst case ±0.2, statistical ±0.1414. Limits ±0.15 let
// only the worst case fail; ±0.12 fail all three.
TEST(Analysis, EachMethodJudgesByItsOwnLimits) {
    struct Case {
        long double half;
        bool worstCase;
        bool statistical;
        bool monteCarlo;
    };
    const Case cases[] = {{0.25L, false, false, false}, {0.15L, true, false, false}, {0.12L, true, true, true}};
    for (const Case& c : cases) {
        Chain chain;
        build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}}, {{0, 2}});
        AnalysisData data;
        data.limits[1] = {15 - c.half, 15 + c.half};
        for (const AnalysisMethod method : {AnalysisMethod::WorstCase, AnalysisMethod::Statistical,
                                            AnalysisMethod::MonteCarlo}) {
            AnalysisOptions options = samples(100000);  // enough for Monte Carlo to decide every case
            options.method = method;
            const AnalysisResult r = analyseChain(chain, data, options);
            const ClosingAnalysis& a = r.closings.at(0);
            EXPECT_EQ(a.failsWorstCase, c.worstCase);
            EXPECT_EQ(a.failsStatistical, c.statistical);
            EXPECT_EQ(a.failsMonteCarlo, c.monteCarlo);
            const bool expected = method == AnalysisMethod::WorstCase     ? c.worstCase
                                  : method == AnalysisMethod::Statistical ? c.statistical
                                                                          : c.monteCarlo;
            EXPECT_EQ(a.fails, expected) << static_cast<double>(c.half) << " " << methodName(method);
            EXPECT_EQ(r.allHold(), !expected);
            EXPECT_EQ(a.verdict, expected ? Verdict::Fails : Verdict::Holds);
        }
    }
}

// Shares are h² over the sum of h², largest first; the sensitivity is what the
// closing dimension does when the element itself grows.
TEST(Analysis, ContributionsAndSensitivities) {
    Chain chain;
    // 1: +10 ±0.1 (near side), 2: +20 ±0.2, 3: -5 +0.1/-0.1, both far side of 1 -> 3.
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {0, true, 20, 0.2L, -0.2L}, {2, false, 5, 0.1L, -0.1L}}, {{1, 3}});
    const ClosingAnalysis a = analyseChain(chain, AnalysisData{}, samples(10)).closings.at(0);
    ASSERT_EQ(a.contributions.size(), 3u);
    const std::tuple<int, int, double> expected[] = {{2, +1, 200.0 / 3}, {1, -1, 50.0 / 3}, {3, -1, 50.0 / 3}};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& [element, sensitivity, share] = expected[i];
        EXPECT_EQ(a.contributions[i].element, element);
        EXPECT_EQ(a.contributions[i].sensitivity, sensitivity) << element;
        EXPECT_NEAR(static_cast<double>(a.contributions[i].sharePercent), share, 1e-12) << element;
    }
    EXPECT_NEAR(static_cast<double>(a.nominal), 5, 1e-15);
}

// Two elements ±0.1 (h = 0.1) adding to 15. With a declared distribution the
// statistical method takes its exact variance (normal (h/3)², uniform h²/3,
// triangular h²/6) and the mean shift; the shares follow that variance, and
// the Monte Carlo spread agrees with it.
TEST(Analysis, DeclaredDistributionsGiveTheStatisticalVariance) {
    struct Case {
        const char* name;
        Distribution first;
        Distribution second;
        double variance;
        double mean;
        double firstShare;
        bool declared;
    };
    const double h2 = 0.01;
    const Case cases[] = {
        {"both normal", Distribution::Normal, Distribution::Normal, 2 * h2 / 9, 15, 50, false},
        {"uniform and normal", Distribution::Uniform, Distribution::Normal, h2 / 3 + h2 / 9, 15, 75, true},
        {"both triangular", Distribution::Triangular, Distribution::Triangular, 2 * h2 / 6, 15, 50, true},
        {"shifted 10 % of 0.2", Distribution::ShiftedNormal, Distribution::Normal, 2 * h2 / 9, 15.02, 50, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}}, {{0, 2}});
        AnalysisData data;
        data.elements[1] = {c.first, c.first == Distribution::ShiftedNormal ? 10.0L : 0.0L};
        data.elements[2] = {c.second, 0};
        data.limits[1] = {14.85L, 15.15L};
        const ClosingAnalysis a = analyseChain(chain, data, samples(20000)).closings.at(0);
        const double s = std::sqrt(c.variance);
        EXPECT_EQ(a.declaredVariance, c.declared);
        EXPECT_NEAR(static_cast<double>(a.sigma), s, 1e-15);
        EXPECT_NEAR(static_cast<double>(a.statDev), 3 * s, 1e-14);
        EXPECT_NEAR(static_cast<double>(a.mean), c.mean, 1e-14);
        EXPECT_NEAR(static_cast<double>(a.ppmAbove), static_cast<double>(normalPpmAbove((15.15 - c.mean) / s)), 1e-6);
        EXPECT_NEAR(static_cast<double>(a.ppmBelow), static_cast<double>(normalPpmAbove((c.mean - 14.85) / s)), 1e-6);
        EXPECT_NEAR(a.monteCarlo.stdDev, s, 0.03 * s);
        EXPECT_NEAR(a.monteCarlo.mean, c.mean, 4 * s / std::sqrt(20000.0));
        const auto first = std::find_if(a.contributions.begin(), a.contributions.end(),
                                        [](const Contribution& e) { return e.element == 1; });
        ASSERT_NE(first, a.contributions.end());
        EXPECT_NEAR(static_cast<double>(first->sharePercent), c.firstShare, 1e-9);
        const std::string json = analysisJson(analyseChain(chain, data, samples(100)), "p");
        EXPECT_NE(json.find(c.declared ? "\"variance\": \"declared distributions\""
                                       : "\"variance\": \"production sigma\""),
                  std::string::npos);
    }
}

TEST(Analysis, WhatCannotBeCalculatedHoldsNoLimit) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}}, {{1, 1}, {1, 1}, {0, 1}});
    AnalysisData data;
    data.limits[1] = {9.0L, 11.0L};
    data.limits[3] = {9.0L, 11.0L};
    AnalysisResult r = analyseChain(chain, data, samples(100));
    EXPECT_FALSE(r.closings[0].resolved);
    EXPECT_TRUE(r.closings[0].fails);      // limits it cannot be shown to hold
    EXPECT_FALSE(r.closings[1].fails);     // no limits, nothing to hold
    EXPECT_FALSE(r.closings[2].fails);
    EXPECT_EQ(r.closings[0].monteCarlo.count, 0);

    chain.productionSigma = 0;  // no s: neither statistics nor Monte Carlo can judge
    r = analyseChain(chain, data, samples(100));
    EXPECT_FALSE(r.statistical);
    EXPECT_TRUE(r.closings[2].fails);
    EXPECT_EQ(r.closings[2].monteCarlo.count, 0);
    EXPECT_NE(analysisJson(r, "p").find("\"statistical\": null"), std::string::npos);
}

TEST(Analysis, JsonIsTheSameForOneThreadOrTwo) {
    Chain chain;
    build(chain, {{0, true, 10, 0.3L, -0.1L}, {1, false, 4, 0.2L, 0}, {0, true, 6, 0.05L, -0.05L}}, {{2, 3}, {0, 1}});
    AnalysisData data;
    data.elements[1] = {Distribution::Triangular, 0};
    data.limits[1] = {-0.2L, 0.3L};
    const std::string one = analysisJson(analyseChain(chain, data, samples(50000, 9, 1)), "p");
    EXPECT_EQ(analysisJson(analyseChain(chain, data, samples(50000, 9, 2)), "p"), one);
    EXPECT_EQ(analysisJson(analyseChain(chain, data, samples(50000, 9, 1)), "p"), one);
}

} // namespace
} // namespace zam1::test
