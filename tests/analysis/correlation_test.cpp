// Correlated elements: the statistical variance against the covariance formula,
// Monte Carlo against the exact normal result, r = 1 and r = -1 against the
// chains they amount to, the normal copula of bounded elements, and the lists
// of pairs that must be refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <sstream>

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/correlation.h"
#include "core/analysis/normal.h"
#include "core/analysis/sidecar.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

using D = Distribution;

// 1: +10 ±0.1, 2: +20 +0.2/-0.1 on 1, 3: -5 +0.05/-0.15 on 2, 4: +8 ±0.3;
// closing dimension 4 -> 3. Coefficients a (change of the closing dimension
// per mm of the element's own dimension): 1 +1, 2 +1, 3 -1, 4 -1. Half
// tolerances 0.1, 0.15, 0.1, 0.3; zone middles put the mean at 17.1.
void fourElements(Chain& chain) {
    build(chain,
          {{0, true, 10, 0.1L, -0.1L}, {1, true, 20, 0.2L, -0.1L}, {2, false, 5, 0.05L, -0.15L}, {0, true, 8, 0.3L, -0.3L}},
          {{4, 3}});
}
constexpr double kCoefficient[] = {0, +1, +1, -1, -1};
constexpr double kHalf[] = {0, 0.1, 0.15, 0.1, 0.3};
constexpr double kMean = 17.1;

double sigmaOf(D kind, double half) {
    switch (kind) {
    case D::Uniform: return half / std::sqrt(3.0);
    case D::Triangular: return half / std::sqrt(6.0);
    case D::Normal:
    case D::ShiftedNormal:
    case D::Measured: break;  // no measured elements in these chains
    }
    return half / 3;
}

struct Pair {
    int first;
    int second;
    double r;
};

std::vector<Correlation> correlations(std::initializer_list<Pair> pairs) {
    std::vector<Correlation> out;
    for (const Pair& p : pairs) out.push_back({p.first, p.second, p.r});
    return out;
}

// Var = sum over i, j of a_i a_j r_ij s_i s_j; element i's covariance with the
// closing dimension is row i of that sum.
struct Expected {
    double variance = 0;
    std::map<int, double> covariance;
};
Expected covarianceFormula(const std::vector<Correlation>& pairs, const std::map<int, D>& kinds) {
    double r[5][5] = {};
    for (int i = 1; i <= 4; ++i) r[i][i] = 1;
    for (const Correlation& p : pairs) r[p.first][p.second] = r[p.second][p.first] = static_cast<double>(p.r);
    const auto sigma = [&](int i) { return sigmaOf(kinds.count(i) != 0 ? kinds.at(i) : D::Normal, kHalf[i]); };
    Expected e;
    for (int i = 1; i <= 4; ++i) {
        for (int j = 1; j <= 4; ++j) {
            const double term = kCoefficient[i] * kCoefficient[j] * r[i][j] * sigma(i) * sigma(j);
            e.variance += term;
            e.covariance[i] += term;
        }
    }
    return e;
}

TEST(CorrelatedRss, VarianceSharesAndMonteCarloFollowTheCovarianceFormula) {
    struct Case {
        const char* name;
        std::vector<Correlation> pairs;
        std::map<int, D> kinds;
        bool monteCarloNormal;  // every correlated element normal: Monte Carlo is the exact normal
    };
    const Case cases[] = {
        {"same side, r 0.8", correlations({{1, 2, 0.8}}), {}, true},
        {"a '+' and a '-' element, r 0.5: the term subtracts", correlations({{1, 3, 0.5}}), {}, true},
        {"near and far side, both turned, r -0.6", correlations({{3, 4, -0.6}}), {}, true},
        {"three pairs among three elements", correlations({{1, 2, 0.8}, {2, 4, 0.3}, {4, 1, 0.2}}), {}, true},
        {"a uniform element in a pair: declared variance", correlations({{2, 1, 0.7}}), {{2, D::Uniform}}, false},
        {"triangular and uniform in one pair", correlations({{3, 4, -0.4}}), {{3, D::Triangular}, {4, D::Uniform}}, false},
    };
    constexpr std::int64_t n = 200000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        fourElements(chain);
        AnalysisData data;
        for (const auto& [element, kind] : c.kinds) data.elements[element] = {kind, 0};
        data.correlations = c.pairs;
        data.limits[1] = {16.95L, 17.3L};
        const ClosingAnalysis a = analyseChain(chain, data, samples(n, 5)).closings.at(0);
        const Expected e = covarianceFormula(c.pairs, c.kinds);
        const double s = std::sqrt(e.variance);
        EXPECT_NEAR(static_cast<double>(a.sigma), s, 1e-15);
        EXPECT_NEAR(static_cast<double>(a.statDev), 3 * s, 1e-14);
        EXPECT_NEAR(static_cast<double>(a.mean), kMean, 1e-13);
        EXPECT_NEAR(static_cast<double>(a.ppmAbove), static_cast<double>(normalPpmAbove((17.3 - kMean) / s)), 1e-6);
        EXPECT_EQ(a.correlations.size(), c.pairs.size());
        double shares = 0;
        for (const Contribution& k : a.contributions) {
            EXPECT_NEAR(static_cast<double>(k.sharePercent), e.covariance.at(k.element) / e.variance * 100, 1e-9)
                << k.element;
            shares += static_cast<double>(k.sharePercent);
            ASSERT_TRUE(k.monteCarloSharePercent);
            EXPECT_NEAR(*k.monteCarloSharePercent, static_cast<double>(k.sharePercent), 2.5) << k.element;
        }
        EXPECT_NEAR(shares, 100, 1e-9);
        if (!c.monteCarloNormal) continue;
        // The exact result is normal: its 0.135 % and 99.865 % points and its
        // ppm lie within the sample's 95 % intervals.
        const SampleSummary& m = a.monteCarlo;
        const double z = inverseNormal(0.00135);
        EXPECT_LE(m.p00135Interval.low, kMean + z * s);
        EXPECT_GE(m.p00135Interval.high, kMean + z * s);
        EXPECT_LE(m.p99865Interval.low, kMean - z * s);
        EXPECT_GE(m.p99865Interval.high, kMean - z * s);
        const double ppmAbove = static_cast<double>(a.ppmAbove);
        EXPECT_LE(a.mcConfidence.ppmAbove.low, ppmAbove);
        EXPECT_GE(a.mcConfidence.ppmAbove.high, ppmAbove);
        EXPECT_NEAR(m.mean, kMean, 4 * s / std::sqrt(double(n)));
        EXPECT_NEAR(m.stdDev, s, 4 * s / std::sqrt(2.0 * n));
    }
}

// Two elements of ±0.1 in a row with r = 1 are one element of ±0.2; with r = -1
// they cancel. A '-' element turns the sign of its dimension in the chain, so
// r = 1 with it cancels too.
TEST(CorrelatedRss, FullCorrelationAddsToleranceAndFullAnticorrelationCancels) {
    struct Case {
        const char* name;
        bool secondPositive;
        double r;
        double sigma;  // of the closing dimension
    };
    const Case cases[] = {
        {"r = 1", true, 1, 0.2 / 3},
        {"r = -1", true, -1, 0},
        {"r = 1, second element turned", false, 1, 0},
        {"r = -1, second element turned", false, -1, 0.2 / 3},
    };
    constexpr std::int64_t n = 100000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, c.secondPositive, 3, 0.1L, -0.1L}}, {{0, 2}});
        AnalysisData data;
        data.correlations = {{1, 2, c.r}};
        data.limits[1] = {std::nullopt, chain.element(2).positive ? 13.1L : 7.1L};
        const ClosingAnalysis a = analyseChain(chain, data, samples(n, 3)).closings.at(0);
        const double nominal = c.secondPositive ? 13 : 7;
        EXPECT_NEAR(static_cast<double>(a.sigma), c.sigma, 1e-16);
        const SampleSummary& m = a.monteCarlo;
        if (c.sigma == 0) {
            EXPECT_EQ(a.sigma, 0);
            EXPECT_EQ(a.ppmAbove, 0);
            EXPECT_NEAR(m.stdDev, 0, 1e-15);
            EXPECT_NEAR(m.min, nominal, 1e-12);
            EXPECT_NEAR(m.max, nominal, 1e-12);
            continue;
        }
        // The same figures as one element of ±0.2.
        Chain single;
        build(single, {{0, true, nominal, 0.2L, -0.2L}}, {{0, 1}});
        AnalysisData plain;
        plain.limits[1] = data.limits[1];
        const ClosingAnalysis b = analyseChain(single, plain, samples(n, 3)).closings.at(0);
        EXPECT_NEAR(static_cast<double>(a.sigma), static_cast<double>(b.sigma), 1e-16);
        EXPECT_NEAR(static_cast<double>(a.ppmAbove), static_cast<double>(b.ppmAbove), 1e-9);
        const double z = inverseNormal(0.00135);
        EXPECT_LE(m.p00135Interval.low, nominal + z * c.sigma);
        EXPECT_GE(m.p00135Interval.high, nominal + z * c.sigma);
        EXPECT_LE(m.p99865Interval.low, nominal - z * c.sigma);
        EXPECT_GE(m.p99865Interval.high, nominal - z * c.sigma);
        EXPECT_LE(a.mcConfidence.ppmAbove.low, static_cast<double>(b.ppmAbove));
        EXPECT_GE(a.mcConfidence.ppmAbove.high, static_cast<double>(b.ppmAbove));
        EXPECT_NEAR(m.stdDev, b.monteCarlo.stdDev, 0.01 * c.sigma);
    }
}

// Uniform and triangular elements take the correlated normal score through
// Phi and their inverse distribution function: the correlation of the
// dimensions is then that of the copula, (6/pi) asin(r/2) for two uniforms,
// r sqrt(3/pi) for a normal and a uniform; with r = 1 two uniforms move as
// one, r = -1 cancels two alike.
TEST(CorrelatedMonteCarlo, BoundedElementsCorrelateThroughTheNormalScores) {
    const double pi = std::acos(-1.0);
    struct Case {
        const char* name;
        D first;
        D second;
        double r;
        double pearson;     // of the two dimensions
        double aboveShare;  // of the samples above 10.1 + 3 (NaN: not checked)
    };
    const double none = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"two uniforms, r 0.5", D::Uniform, D::Uniform, 0.5, 6 / pi * std::asin(0.25), none},
        {"two uniforms, r -0.7", D::Uniform, D::Uniform, -0.7, 6 / pi * std::asin(-0.35), none},
        {"normal and uniform, r 0.8", D::Normal, D::Uniform, 0.8, 0.8 * std::sqrt(3 / pi), none},
        {"two uniforms, r 1: one uniform over ±0.2", D::Uniform, D::Uniform, 1, 1, 0.25},
        {"two triangles, r 1: one triangle over ±0.2", D::Triangular, D::Triangular, 1, 1, 0.125},
        {"two triangles, r -1: nothing left", D::Triangular, D::Triangular, -1, -1, 0},
    };
    constexpr std::int64_t n = 200000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Chain chain;
        build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 3, 0.1L, -0.1L}}, {{0, 2}});
        AnalysisData data;
        data.elements[1] = {c.first, 0};
        data.elements[2] = {c.second, 0};
        data.correlations = {{1, 2, c.r}};
        data.limits[1] = {std::nullopt, 13.1L};
        const SampleSummary m = simulate(chain, data, samples(n, 9)).at(0);
        const double s1 = sigmaOf(c.first, 0.1);
        const double s2 = sigmaOf(c.second, 0.1);
        const double sd = std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 + 2 * c.pearson * s1 * s2));
        EXPECT_NEAR(m.stdDev, sd, 0.006 * (s1 + s2));
        EXPECT_NEAR(m.mean, 13, 4 * (s1 + s2) / std::sqrt(double(n)));
        if (c.first != D::Normal) {  // bounded, correlated or not
            EXPECT_GE(m.min, 12.8 - 1e-12);
            EXPECT_LE(m.max, 13.2 + 1e-12);
        }
        if (!std::isnan(c.aboveShare)) {
            const double p = c.aboveShare;
            EXPECT_NEAR(double(m.above) / n, p, 4 * std::sqrt(p * (1 - p) / n) + 1e-12);
        }
    }
}

bool sameBits(const SampleSummary& a, const SampleSummary& b) {
    const double x[] = {a.mean, a.stdDev, a.min, a.max, a.p00135, a.p50, a.p99865};
    const double y[] = {b.mean, b.stdDev, b.min, b.max, b.p00135, b.p50, b.p99865};
    return std::memcmp(x, y, sizeof x) == 0 && a.below == b.below && a.above == b.above &&
           a.histogram.counts == b.histogram.counts && a.sharePercent.size() == b.sharePercent.size() &&
           (a.sharePercent.empty() ||
            std::memcmp(a.sharePercent.data(), b.sharePercent.data(), a.sharePercent.size() * sizeof(double)) == 0);
}

// A seed gives the same bits on one thread or two with correlated draws; pairs
// of elements no closing dimension draws change no bit of the others.
TEST(CorrelatedMonteCarlo, SameBitsOnAnyThreadCountAndUntouchedDrawsStayAsTheyWere) {
    Chain chain;
    build(chain,
          {{0, true, 10, 0.3L, -0.1L}, {1, false, 4, 0.2L, 0}, {2, true, 1, 0.05L, -0.05L}, {0, true, 2, 0.1L, -0.1L},
           {4, true, 2, 0.1L, -0.1L}, {0, true, 7, 0.1L, -0.1L}},
          {{0, 3}, {1, 3}, {3, 1}});
    AnalysisData data;
    data.elements[2] = {D::Uniform, 0};
    data.elements[3] = {D::Triangular, 0};
    data.elements[1] = {D::ShiftedNormal, 5};
    data.limits[1] = {6.8L, 7.2L};
    AnalysisData correlated = data;
    correlated.correlations = {{1, 2, 0.6}, {2, 3, -0.3}, {3, 4, 0.9}};
    for (const std::int64_t n : {std::int64_t{1}, std::int64_t{63}, std::int64_t{100001}}) {
        const auto one = simulate(chain, correlated, samples(n, 42, 1));
        for (const unsigned threads : {2u, 3u}) {
            const auto other = simulate(chain, correlated, samples(n, 42, threads));
            for (std::size_t k = 0; k < one.size(); ++k) EXPECT_TRUE(sameBits(one[k], other[k])) << n << " " << threads;
        }
        EXPECT_FALSE(sameBits(one[0], simulate(chain, data, samples(n, 42, 1))[0])) << n;
    }
    // Elements 4, 5 and 6 lie on no path.
    AnalysisData offPath = data;
    offPath.correlations = {{4, 5, 0.9}, {5, 6, -0.5}};
    const auto plain = simulate(chain, data, samples(5000, 8));
    const auto withPairs = simulate(chain, offPath, samples(5000, 8));
    for (std::size_t k = 0; k < plain.size(); ++k) EXPECT_TRUE(sameBits(plain[k], withPairs[k])) << k;
}

TEST(CorrelationList, UnsoundListsAreRefusedNamingThePair) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        std::vector<Correlation> pairs;
        std::size_t index;
        const char* field;
        const char* message;  // empty: the list is sound
    };
    const Case cases[] = {
        {"none", {}, 0, "", ""},
        {"r = 1 and r = -1", correlations({{1, 2, 1}, {3, 4, -1}}), 0, "", ""},
        {"three at -0.5: semi-definite, singular", correlations({{1, 2, -0.5}, {2, 3, -0.5}, {1, 3, -0.5}}), 0, "", ""},
        {"r = 1 chained: 1 = 2 = 3", correlations({{1, 2, 1}, {2, 3, 1}, {1, 3, 1}}), 0, "", ""},
        {"not semi-definite", correlations({{1, 2, 0.9}, {1, 3, 0.9}, {2, 3, -0.9}}), 2, "",
         "the pair 2, 3 (r = -0.9) with the pairs before it makes the correlations of elements 1, 2, 3 impossible "
         "(their matrix is not positive semi-definite; a pair not named has r = 0)"},
        {"a pair not named counts as 0", correlations({{4, 2, 0.9}, {1, 3, 0.2}, {4, 3, 0.9}}), 2, "",
         "the pair 4, 3 (r = 0.9) with the pairs before it makes the correlations of elements 4, 2, 3 impossible"},
        {"r = 1 chained, but the third pair says otherwise", correlations({{1, 2, 1}, {2, 3, 1}, {1, 3, 0.5}}), 2, "",
         "the pair 1, 3 (r = 0.5)"},
        {"self pair", correlations({{1, 2, 0.5}, {3, 3, 0.5}}), 1, "elements", "element 3 is paired with itself"},
        {"unknown element", correlations({{2, 7, 0.5}}), 0, "elements", "the project has no element 7"},
        {"element 0", correlations({{0, 1, 0.5}}), 0, "elements", "the project has no element 0"},
        {"named twice, turned", correlations({{1, 2, 0.5}, {2, 1, 0.5}}), 1, "elements", "the pair 2, 1 is named twice"},
        {"r above 1", correlations({{1, 2, 1.0001}}), 0, "r", "must be -1 to 1"},
        {"r below -1", correlations({{1, 2, -2}}), 0, "r", "must be -1 to 1"},
        {"r not a number", correlations({{1, 2, nan}}), 0, "r", "must be a finite number"},
        {"r infinite", correlations({{1, 2, std::numeric_limits<double>::infinity()}}), 0, "r", "must be a finite number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<CorrelationProblem> p = correlationProblem(c.pairs, 4);
        if (std::string(c.message).empty()) {
            EXPECT_FALSE(p) << p->message;
            continue;
        }
        ASSERT_TRUE(p);
        EXPECT_EQ(p->index, c.index);
        EXPECT_EQ(p->field, c.field);
        EXPECT_EQ(p->message.rfind(c.message, 0), 0u) << p->message;
    }
}

// In the settings file: read back as written; refused with the entry named and
// the data in memory unchanged.
TEST(CorrelationList, SettingsFileReadsWritesAndRefuses) {
    Chain chain;
    fourElements(chain);
    AnalysisData data;
    data.correlations = correlations({{3, 1, 0.8}, {2, 4, -0.25}});
    const std::string text = sidecarText(data);
    EXPECT_NE(text.find("\"correlations\""), std::string::npos);
    AnalysisData back;
    const SidecarRead read = parseSidecar(text, chain, back);
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_EQ(back.correlations.size(), 2u);
    EXPECT_EQ(back.correlations[0].first, 3);
    EXPECT_EQ(back.correlations[0].second, 1);
    EXPECT_EQ(back.correlations[1].r, -0.25L);
    EXPECT_EQ(sidecarText(back), text);
    EXPECT_EQ(sidecarText(AnalysisData{}).find("correlations"), std::string::npos);  // no pairs, no field

    const std::pair<const char*, const char*> cases[] = {
        {R"({"correlations": [{"elements": [1, 2], "r": 0.9}, {"elements": [1, 3], "r": 0.9}, {"elements": [2, 3], "r": -0.9}]})",
         "correlations[2]: the pair 2, 3 (r = -0.9) with the pairs before it makes the correlations of elements 1, 2, 3 impossible"},
        {R"({"correlations": [{"elements": [2, 2], "r": 0.5}]})", "correlations[0].elements: element 2 is paired with itself"},
        {R"({"correlations": [{"elements": [1, 9], "r": 0.5}]})", "correlations[0].elements: the project has no element 9"},
        {R"({"correlations": [{"elements": [1, 99999999999], "r": 0.5}]})",
         "correlations[0].elements: the project has no element 99999999999"},
        {R"({"correlations": [{"elements": [1, 2], "r": 0.5}, {"elements": [2, 1], "r": 0.1}]})",
         "correlations[1].elements: the pair 2, 1 is named twice"},
        {R"({"correlations": [{"elements": [1, 2], "r": 1.5}]})", "correlations[0].r: must be -1 to 1"},
        {R"({"correlations": [{"elements": [1, 2], "r": "0.5"}]})", "correlations[0].r: must be a number"},
        {R"({"correlations": [{"elements": [1, 2]}]})", "correlations[0].r: is needed"},
        {R"({"correlations": [{"elements": [1, 2, 3], "r": 0.5}]})", "correlations[0].elements: must be a list of two"},
        {R"({"correlations": [{"elements": [1.5, 2], "r": 0.5}]})", "correlations[0].elements[0]: must be a whole number"},
        {R"({"correlations": [{"elements": [1, 2], "r": 0.5, "rho": 1}]})", "correlations[0].rho: unknown field"},
        {R"({"correlations": {"elements": [1, 2], "r": 0.5}})", "correlations: must be a list"},
    };
    for (const auto& [json, message] : cases) {
        AnalysisData kept = data;
        const SidecarRead r = parseSidecar(json, chain, kept);
        EXPECT_FALSE(r.ok) << json;
        EXPECT_EQ(r.error.rfind(message, 0), 0u) << json << "\n  " << r.error;
        EXPECT_EQ(sidecarText(kept), text) << json;
    }
}

TEST(CorrelatedRss, ReportAndJsonListThePairs) {
    Chain chain;
    fourElements(chain);
    AnalysisData data;
    data.correlations = correlations({{1, 2, 0.8}, {3, 4, -0.25}});
    const AnalysisResult r = analyseChain(chain, data, samples(100));
    std::ostringstream text;
    writeAnalysisReport(r, "p", text);
    EXPECT_NE(text.str().find("Correlated elements: r of their dimensions (Monte Carlo: of their normal scores)\n"
                              "  element  element          r\n"
                              "        1        2        0.8\n"
                              "        3        4      -0.25\n"),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("correlated:  1 & 2 (r 0.8)  3 & 4 (r -0.25)\n"), std::string::npos) << text.str();
    const std::string json = analysisJson(r, "p");
    EXPECT_NE(json.find(R"("correlations": [
    {
      "elements": [
        1,
        2
      ],
      "r": 0.8
    },)"),
              std::string::npos)
        << json;
    EXPECT_NE(analysisJson(analyseChain(chain, AnalysisData{}, samples(10)), "p").find("\"correlations\": []"),
              std::string::npos);
}

} // namespace
} // namespace zam1::test
