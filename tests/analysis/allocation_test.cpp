// Tolerance allocation against results known in closed form, the promise that
// the cost method never costs more than one factor on every tolerance, grades
// that a fresh analysis confirms, and correlated pairs judged as the analysis
// judges them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <set>

#include "core/analysis/allocation.h"
#include "core/analysis/allocation_check.h"
#include "core/analysis/correlation.h"
#include "core/analysis/normal.h"
#include "core/standards/general_tolerance.h"
#include "core/standards/iso286.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

// A row of elements each on the one before; closing dimension 1 from the
// reference to the last, so every element counts +1. Sigma 3.
std::unique_ptr<Chain> row(const std::vector<E>& elements) {
    auto chain = std::make_unique<Chain>();
    fill(*chain, elements);
    chain->setClosingCount(1);
    chain->closing(1) = {0, static_cast<std::int32_t>(elements.size()), "Spalt", ""};
    deriveElementValues(*chain);
    return chain;
}

std::vector<E> symmetric(std::initializer_list<long double> halves) {
    std::vector<E> out;
    int n = 0;
    for (long double h : halves) out.push_back({n++, true, 10, h, -h});
    return out;
}

Allocation allocate(Chain& chain, const AnalysisData& data, AllocationMethod method, int closing = 1) {
    Allocation a = allocateClosing(chain, solveClosing(chain, closing), closing, data, method);
    AllocationCheck(chain, data).check(a);
    return a;
}

// Limits ±0.3 about the nominal and Cpk 1: sigma 0.1, so Σ t² = 36 · 0.01 = 0.36 under sigma 3.
AnalysisData cpkOne(long double nominal) {
    AnalysisData data;
    data.limits[1] = {nominal - 0.3L, nominal + 0.3L};
    data.allocation.targets[1] = {std::nullopt, 1.0L};
    return data;
}

struct ClosedForm {
    const char* name;
    AllocationMethod method;
    std::map<int, ElementFreedom> freedoms;
    std::vector<long double> tolerances;  // expected, per element
};

ElementFreedom costB(long double b) {
    ElementFreedom f;
    f.cost.b = b;
    return f;
}

TEST(Allocation, ResultsKnownInClosedForm) {
    // Tolerances 0.1, 0.2, 0.3, 0.4 (Σ t² = 0.30) must reach Σ t² = 0.36.
    const long double factor = std::sqrt(0.36L / 0.30L);
    ElementFreedom fixed;
    fixed.fixed = true;
    ElementFreedom capped = costB(8);  // would take twice the others' tolerance (b^(1/3))
    capped.maxTolerance = 0.25L;
    ElementFreedom floored;
    floored.minTolerance = 0.45L;
    const ClosedForm cases[] = {
        {"equal costs give equal tolerances", AllocationMethod::Cost, {}, {0.3L, 0.3L, 0.3L, 0.3L}},
        {"one factor keeps the proportions", AllocationMethod::Proportional, {},
         {0.1L * factor, 0.2L * factor, 0.3L * factor, 0.4L * factor}},
        {"a fixed element leaves the rest its variance", AllocationMethod::Cost, {{4, fixed}},
         {std::sqrt(0.2L / 3), std::sqrt(0.2L / 3), std::sqrt(0.2L / 3), 0.4L}},
        {"t goes with the cube root of b", AllocationMethod::Cost, {{1, costB(8)}},
         {2 * std::sqrt(0.36L / 7), std::sqrt(0.36L / 7), std::sqrt(0.36L / 7), std::sqrt(0.36L / 7)}},
        {"an upper limit that binds", AllocationMethod::Cost, {{1, capped}},
         {0.25L, std::sqrt(0.2975L / 3), std::sqrt(0.2975L / 3), std::sqrt(0.2975L / 3)}},
        {"a lower limit that binds", AllocationMethod::Cost, {{2, floored}},
         {std::sqrt(0.1575L / 3), 0.45L, std::sqrt(0.1575L / 3), std::sqrt(0.1575L / 3)}},
        {"one factor within the limits", AllocationMethod::Proportional, {{4, fixed}},
         {0.1L * std::sqrt(0.2L / 0.14L), 0.2L * std::sqrt(0.2L / 0.14L), 0.3L * std::sqrt(0.2L / 0.14L), 0.4L}},
    };
    for (const ClosedForm& c : cases) {
        auto chain = row(symmetric({0.05L, 0.1L, 0.15L, 0.2L}));
        AnalysisData data = cpkOne(40);
        data.allocation.elements = c.freedoms;
        const Allocation a = allocate(*chain, data, c.method);
        ASSERT_TRUE(a.reached()) << c.name;
        ASSERT_EQ(a.elements.size(), 4u) << c.name;
        for (std::size_t i = 0; i < 4; ++i) {
            const ToleranceState& after = a.elements[i].after;
            EXPECT_NEAR(static_cast<double>(after.tolerance()), static_cast<double>(c.tolerances[i]), 1e-7)
                << c.name << ", element " << i + 1;
            EXPECT_NEAR(static_cast<double>(after.upper + after.lower), 0, 1e-15) << c.name;  // stays symmetric
        }
        EXPECT_NEAR(static_cast<double>(*a.achieved->cpk), 1.0, 1e-8) << c.name;
    }
}

// Each model's stationary points share one multiplier: cost'(t) = -2 λ k t.
TEST(Allocation, EveryCostModelSharesOneMultiplier) {
    struct Case {
        CostModel model;
        long double b[3];
        long double tau;
    };
    const Case cases[] = {
        {CostModel::Reciprocal, {1, 2, 5}, 1},
        {CostModel::ReciprocalSquared, {1, 3, 0.2L}, 1},
        {CostModel::Exponential, {1, 4, 20}, 0.05L},
    };
    for (const Case& c : cases) {
        auto chain = row(symmetric({0.1L, 0.1L, 0.1L}));
        AnalysisData data = cpkOne(30);
        for (int n = 1; n <= 3; ++n) {
            ElementFreedom f;
            f.cost = {c.model, 0.5L, c.b[n - 1], c.tau};
            data.allocation.elements[n] = f;
        }
        const Allocation a = allocate(*chain, data, AllocationMethod::Cost);
        ASSERT_TRUE(a.reached()) << costModelName(c.model);
        EXPECT_FALSE(a.proportionalKept);
        long double sumSquares = 0;
        std::vector<long double> multipliers;
        for (int n = 0; n < 3; ++n) {
            const long double t = a.elements[static_cast<std::size_t>(n)].after.tolerance();
            const long double b = c.b[n];
            const long double slope = c.model == CostModel::Reciprocal          ? b / (t * t)
                                      : c.model == CostModel::ReciprocalSquared ? 2 * b / (t * t * t)
                                                                                : b / c.tau * std::exp(-t / c.tau);
            multipliers.push_back(slope / t);
            sumSquares += t * t;
        }
        EXPECT_NEAR(static_cast<double>(sumSquares), 0.36, 1e-8) << costModelName(c.model);
        EXPECT_NEAR(static_cast<double>(multipliers[1] / multipliers[0]), 1, 1e-8) << costModelName(c.model);
        EXPECT_NEAR(static_cast<double>(multipliers[2] / multipliers[0]), 1, 1e-8) << costModelName(c.model);
    }
}

// A reject rate: 100 ppm on both sides of ±0.3 is 50 ppm a side, z = 3.8906.
TEST(Allocation, ReachesARejectRate) {
    auto chain = row(symmetric({0.1L, 0.1L}));
    AnalysisData data;
    data.limits[1] = {19.7L, 20.3L};
    data.allocation.targets[1] = {100.0L, std::nullopt};
    const Allocation a = allocate(*chain, data, AllocationMethod::Cost);
    ASSERT_TRUE(a.reached());
    const double sigma = 0.3 / -inverseNormal(50e-6);
    EXPECT_NEAR(static_cast<double>(a.achieved->sigma), sigma, 1e-9);
    EXPECT_NEAR(static_cast<double>(a.achieved->ppmBelow + a.achieved->ppmAbove), 100, 1e-5);
    EXPECT_NEAR(static_cast<double>(a.elements[0].after.tolerance()), 3 * sigma * std::sqrt(2.0), 1e-8);
}

// An asymmetric element keeps its place relative to its tolerance; a fixed one
// and the mean shift it brings stay; the target holds for the shifted mean.
TEST(Allocation, AsymmetricDeviationsScaleAboutTheNominal) {
    auto chain = row({{0, true, 10, 0.2L, 0}, {1, true, 10, 0, -0.1L}, {2, false, 5, 0.05L, 0.01L}});
    AnalysisData data;
    data.limits[1] = {14.8L, 15.4L};
    data.allocation.targets[1] = {std::nullopt, 1.33L};
    for (AllocationMethod method : {AllocationMethod::Proportional, AllocationMethod::Cost}) {
        const Allocation a = allocate(*chain, data, method);
        ASSERT_TRUE(a.reached()) << allocationMethodName(method);
        EXPECT_EQ(a.elements[0].after.lower, 0);
        EXPECT_EQ(a.elements[1].after.upper, 0);
        const ToleranceState& third = a.elements[2].after;
        EXPECT_NEAR(static_cast<double>(third.upper / third.lower), 5, 1e-12);
        EXPECT_NEAR(static_cast<double>(*a.achieved->cpk), 1.33, 1e-7);
        EXPECT_NEAR(static_cast<double>(a.achieved->mean), static_cast<double>(a.predicted.mean), 1e-12);
    }
}

// Chains drawn from a fixed seed: mixed directions, asymmetric deviations,
// distributions, cost models, limits and fixed elements.
struct Drawn {
    std::unique_ptr<Chain> chain;
    AnalysisData data;
};

Drawn drawChain(std::uint32_t seed) {
    const auto next = [&seed](int range) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    const int count = 3 + next(10);
    std::vector<E> elements;
    for (int n = 1; n <= count; ++n) {
        // Deviations on both sides of the nominal or touching it, as ISO and drawings have them.
        const long double upper = 0.01L * next(30);
        elements.push_back({n - 1, next(3) != 0, 5.0L + next(40), upper, -0.01L * (upper == 0) - 0.01L * next(30)});
    }
    Drawn d{row(elements), {}};
    const ClosingSolution s = solveClosing(*d.chain, 1);
    const long double mean = s.sums.closingMean;
    d.data.limits[1] = {mean - 0.05L * (4 + next(10)), mean + 0.05L * (4 + next(10))};
    if (next(2) == 0) {
        d.data.allocation.targets[1] = {std::nullopt, 0.5L + next(16) * 0.1L};
    } else {
        d.data.allocation.targets[1] = {10.0L * (1 + next(300)), std::nullopt};
    }
    const CostModel models[] = {CostModel::Reciprocal, CostModel::ReciprocalSquared, CostModel::Exponential};
    const Distribution kinds[] = {Distribution::Normal, Distribution::Uniform, Distribution::Triangular,
                                  Distribution::ShiftedNormal};
    for (int n = 1; n <= count; ++n) {
        ElementFreedom f;
        f.fixed = next(8) == 0;
        f.cost = {models[next(3)], 0.1L * next(5), 0.5L + next(20) * 0.25L, 0.02L + next(10) * 0.02L};
        if (next(4) == 0) f.minTolerance = 0.005L * (1 + next(4));
        if (next(4) == 0) f.maxTolerance = 0.05L * (1 + next(8));
        d.data.allocation.elements[n] = f;
        const Distribution kind = kinds[next(4)];
        d.data.elements[n] = {kind, kind == Distribution::ShiftedNormal ? 5.0L * (next(11) - 5) : 0};
    }
    return d;
}

TEST(Allocation, CostNeverCostsMoreThanProportional) {
    int reached = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        Drawn d = drawChain(seed);
        const Allocation p = allocate(*d.chain, d.data, AllocationMethod::Proportional);
        const Allocation c = allocate(*d.chain, d.data, AllocationMethod::Cost);
        ASSERT_EQ(c.proportionalCost, p.cost) << "seed " << seed;
        if (!p.reached()) continue;
        EXPECT_TRUE(c.reached()) << "seed " << seed;
        ++reached;
        EXPECT_LE(c.cost, p.cost * (1 + 1e-12L)) << "seed " << seed;
        for (const AllocatedElement& e : c.elements) {
            const ElementFreedom f = d.data.allocation.freedomOf(e.element);
            const long double t = e.after.tolerance();
            if (f.fixed) {
                EXPECT_EQ(t, e.before.tolerance()) << "seed " << seed;
                continue;
            }
            EXPECT_GE(t, f.minTolerance.value_or(0) * (1 - 1e-12L)) << "seed " << seed;
            if (f.maxTolerance) {
                EXPECT_LE(t, *f.maxTolerance * (1 + 1e-12L)) << "seed " << seed;
            }
        }
    }
    EXPECT_GE(reached, 30);  // the table must exercise the comparison, not only infeasible chains
}

TEST(Allocation, UnreachableTargetNamesTheElementsAtTheirLimit) {
    auto chain = row(symmetric({0.1L, 0.1L, 0.1L}));
    AnalysisData data = cpkOne(30);
    ElementFreedom floor;
    floor.minTolerance = 0.45L;
    data.allocation.elements[1] = floor;
    data.allocation.elements[2] = floor;
    ElementFreedom fixed;
    fixed.fixed = true;
    data.allocation.elements[3] = fixed;
    for (AllocationMethod method : {AllocationMethod::Proportional, AllocationMethod::Cost}) {
        const Allocation a = allocate(*chain, data, method);
        EXPECT_FALSE(a.reached());
        EXPECT_TRUE(a.elements[0].atLimit && a.elements[1].atLimit);
        EXPECT_FALSE(a.elements[2].atLimit);
        // The best reachable: the floors 0.45, 0.45 and the fixed 0.2.
        EXPECT_NEAR(static_cast<double>(*a.achieved->cpk), 0.3 / std::sqrt(0.445 / 36) / 3, 1e-9);
    }
}

// The deviations an ISO code gives at a size, in mm; none where it is not defined.
std::optional<std::pair<long double, long double>> isoDeviations(std::string letters, int grade, long double size) {
    IsoStepPositions positions;
    const auto r = IsoDeviations(letters, grade, size, positions);
    if (!r || r->isError()) return std::nullopt;
    return std::pair{r->upperUm * 0.001L, r->lowerUm * 0.001L};
}

void code(Chain& chain, int n, const char* letters, int grade) {
    Element& e = chain.element(n);
    e.isoLetters = letters;
    e.isoGrade = static_cast<std::uint8_t>(grade);
    std::tie(e.upperDev, e.lowerDev) = isoDeviations(letters, grade, e.distance).value();
}

// Every proposed grade is a code of the element's letters within IT5..IT16 with
// the table's deviations; loosening any one grade breaks the target.
void expectValidAndTight(Chain& chain, const AnalysisData& data, const Allocation& a) {
    for (const AllocatedElement& e : a.elements) {
        const Element& el = chain.element(e.element);
        if (!el.hasIsoCode()) continue;
        const std::string letters(el.isoLetters.view());
        ASSERT_EQ(e.after.iso.rfind(letters, 0), 0u) << e.after.iso;
        const int grade = std::stoi(e.after.iso.substr(letters.size()));
        EXPECT_TRUE(grade >= 5 && grade <= 16) << e.after.iso;
        const auto deviations = isoDeviations(letters, grade, el.distance);
        ASSERT_TRUE(deviations) << e.after.iso;
        EXPECT_EQ(e.after.upper, deviations->first) << e.after.iso;
        EXPECT_EQ(e.after.lower, deviations->second) << e.after.iso;
        const auto next = isoDeviations(letters, grade + 1, el.distance);
        if (grade == 16 || !next) continue;
        Allocation looser = a;
        for (AllocatedElement& l : looser.elements) {
            if (l.element != e.element) continue;
            l.after.iso = letters + std::to_string(grade + 1);
            std::tie(l.after.upper, l.after.lower) = *next;
        }
        AllocationCheck(chain, data).check(looser);
        EXPECT_FALSE(meetsTarget(a.target, *looser.achieved)) << "element " << e.element << " could be " << grade + 1;
    }
}

// A row of elements with ISO codes at sizes 20, 30, 40, 50, 20, ... (each +1).
std::unique_ptr<Chain> isoChain(const std::vector<std::pair<const char*, int>>& codes) {
    std::vector<E> elements;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        elements.push_back({static_cast<int>(i), true, 20.0L + 10 * static_cast<long double>(i % 4), 0, 0});
    }
    auto chain = row(elements);
    for (std::size_t i = 0; i < codes.size(); ++i) code(*chain, static_cast<int>(i) + 1, codes[i].first, codes[i].second);
    deriveElementValues(*chain);
    return chain;
}

// Limits ±0.12 about the mean.
AnalysisData isoLimits(Chain& chain, AllocationTarget target) {
    AnalysisData data;
    const long double mean = solveClosing(chain, 1).sums.closingMean;
    data.limits[1] = {mean - 0.12L, mean + 0.12L};
    data.allocation.targets[1] = target;
    return data;
}

TEST(Allocation, IsoGradesMeetTheTargetInAFreshAnalysis) {
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int>> codes;  // per element, in a row of sizes 30, 50, 20, ...
        AllocationTarget target;
    };
    const Case cases[] = {
        {"enumerated", {{"h", 7}, {"H", 8}, {"f", 7}, {"js", 9}}, {std::nullopt, 1.33L}},
        {"greedy", {{"h", 7}, {"H", 8}, {"f", 7}, {"js", 9}, {"h", 9}, {"k", 6}, {"g", 6}}, {500.0L, std::nullopt}},
    };
    for (const Case& c : cases) {
        std::vector<E> elements;
        long double nominal = 0;
        for (std::size_t i = 0; i < c.codes.size(); ++i) {
            const long double size = 20.0L + 10 * static_cast<long double>(i % 4);
            elements.push_back({static_cast<int>(i), true, size, 0, 0});
            nominal += size;
        }
        auto chain = row(elements);
        for (std::size_t i = 0; i < c.codes.size(); ++i) {
            code(*chain, static_cast<int>(i) + 1, c.codes[i].first, c.codes[i].second);
        }
        deriveElementValues(*chain);
        const long double mean = solveClosing(*chain, 1).sums.closingMean;
        AnalysisData data;
        data.limits[1] = {mean - 0.12L, mean + 0.12L};
        data.allocation.targets[1] = c.target;
        const Allocation a = allocate(*chain, data, AllocationMethod::Iso);
        ASSERT_TRUE(a.reached()) << c.name;
        EXPECT_TRUE(meetsTarget(a.target, *a.achieved)) << c.name;
        expectValidAndTight(*chain, data, a);
        EXPECT_NEAR(static_cast<double>(a.achieved->mean), static_cast<double>(a.predicted.mean), 1e-12) << c.name;
    }
}

// Three elements, 12³ combinations: the enumeration finds the cheapest that a
// fresh analysis lets pass, as trying every one through the analysis does.
TEST(Allocation, IsoEnumerationFindsTheCheapestCombination) {
    auto chain = row({{0, true, 30, 0, 0}, {1, true, 50, 0, 0}, {2, false, 20, 0, 0}});
    code(*chain, 1, "h", 8);
    code(*chain, 2, "H", 7);
    code(*chain, 3, "js", 9);
    deriveElementValues(*chain);
    AnalysisData data;
    data.limits[1] = {59.9L, 60.15L};
    data.allocation.targets[1] = {std::nullopt, 1.0L};
    data.allocation.elements[2] = costB(3);
    const Allocation a = allocate(*chain, data, AllocationMethod::Iso);
    ASSERT_TRUE(a.reached());
    const char* letters[] = {"h", "H", "js"};
    long double cheapest = std::numeric_limits<long double>::infinity();
    AllocationCheck check(*chain, data);
    for (int g1 = 5; g1 <= 16; ++g1) {
        for (int g2 = 5; g2 <= 16; ++g2) {
            for (int g3 = 5; g3 <= 16; ++g3) {
                Allocation trial = a;
                const int grades[] = {g1, g2, g3};
                long double cost = 0;
                for (std::size_t i = 0; i < 3; ++i) {
                    AllocatedElement& e = trial.elements[i];
                    e.after.iso = letters[i] + std::to_string(grades[i]);
                    std::tie(e.after.upper, e.after.lower) =
                        isoDeviations(letters[i], grades[i], chain->element(e.element).distance).value();
                    cost += (e.element == 2 ? 3 : 1) / e.after.tolerance();
                }
                check.check(trial);
                if (cost < cheapest && meetsTarget(a.target, *trial.achieved)) cheapest = cost;
            }
        }
    }
    EXPECT_NEAR(static_cast<double>(a.cost), static_cast<double>(cheapest), 1e-12);
}

// Without an ISO code, an element whose deviations are an ISO 2768-1 class
// chooses among the classes; others stay as they are.
TEST(Allocation, GeneralClassesAreTheChoicesOfElementsWithoutCode) {
    auto chain = row({{0, true, 20, 0.2L, -0.2L}, {1, true, 10, 0.07L, -0.07L}, {2, true, 50, 0.3L, -0.3L}});
    AnalysisData data;
    data.limits[1] = {79.3L, 80.7L};
    data.allocation.targets[1] = {std::nullopt, 1.0L};
    const Allocation a = allocate(*chain, data, AllocationMethod::Iso);
    ASSERT_TRUE(a.reached());
    EXPECT_EQ(a.elements[0].before.generalClass, "m");
    EXPECT_EQ(a.elements[1].before.generalClass, "");
    EXPECT_EQ(a.elements[2].before.generalClass, "m");
    EXPECT_EQ(a.elements[1].after.tolerance(), a.elements[1].before.tolerance());
    const std::set<std::string> classes{"f", "m", "c", "v"};
    for (std::size_t i : {0u, 2u}) {
        const ToleranceState& after = a.elements[i].after;
        ASSERT_EQ(classes.count(after.generalClass), 1u) << after.generalClass;
        GeneralToleranceSetting s;
        s.standardCode = static_cast<std::uint16_t>(kIso2768Fine + std::string("fmcv").find(after.generalClass));
        EXPECT_EQ(after.upper, generalToleranceFor(chain->element(a.elements[i].element).distance, s)->upperMm);
    }
    // Cpk 1 against ±0.7 allows Σ t² = 1.96: with the fixed 0.14, ±0.5 (c) and ±0.3 (m)
    // give 1.36 at cost 1/1.0 + 1/0.6; every cheaper pair of classes exceeds it.
    EXPECT_EQ(a.elements[0].after.generalClass, "c");
    EXPECT_EQ(a.elements[2].after.generalClass, "m");
}

TEST(Allocation, IsoTargetBeyondTheFinestGrades) {
    auto chain = row({{0, true, 30, 0, 0}, {1, true, 40, 0, 0}});
    code(*chain, 1, "h", 9);
    code(*chain, 2, "g", 8);
    deriveElementValues(*chain);
    AnalysisData data;
    const long double mean = solveClosing(*chain, 1).sums.closingMean;
    data.limits[1] = {mean - 0.005L, mean + 0.005L};
    data.allocation.targets[1] = {std::nullopt, 2.0L};
    const Allocation a = allocate(*chain, data, AllocationMethod::Iso);
    EXPECT_FALSE(a.reached());
    EXPECT_EQ(a.elements[0].after.iso, "h5");
    EXPECT_EQ(a.elements[1].after.iso, "g5");
    EXPECT_TRUE(a.elements[0].atLimit && a.elements[1].atLimit);
}

// The proposal written into the chain: grades keep their letters, a scaled
// tolerance drops its code.
TEST(Allocation, AppliedProposalChangesDeviationsAndCodes) {
    auto chain = row({{0, true, 30, 0, 0}, {1, true, 40, 0.1L, -0.1L}});
    code(*chain, 1, "h", 11);
    deriveElementValues(*chain);
    AnalysisData data = cpkOne(70);
    for (AllocationMethod method : {AllocationMethod::Iso, AllocationMethod::Cost}) {
        Chain copy = *chain;
        const Allocation a = allocate(copy, data, method);
        applyAllocation(copy, a);
        const Element& e = copy.element(1);
        EXPECT_EQ(e.upperDev, a.elements[0].after.upper);
        EXPECT_EQ(e.lowerDev, a.elements[0].after.lower);
        if (method == AllocationMethod::Iso) {
            EXPECT_EQ(std::string(e.isoLetters.view()) + std::to_string(e.isoGrade), a.elements[0].after.iso);
            EXPECT_EQ(copy.element(2).upperDev, 0.1L);  // no code, no class: stays
        } else {
            EXPECT_FALSE(e.hasIsoCode());
        }
    }
}


// Correlated pairs. Closing dimension about its mean, limits ±0.3, Cpk 1 or 100 ppm.
AnalysisData aroundMean(Chain& chain, AllocationTarget target) {
    AnalysisData data;
    const long double mean = solveClosing(chain, 1).sums.closingMean;
    data.limits[1] = {mean - 0.3L, mean + 0.3L};
    data.allocation.targets[1] = target;
    return data;
}

const AllocationTarget kCpkOne{std::nullopt, 1.0L};
const AllocationTarget kPpm100{100.0L, std::nullopt};

// The statistical figures the optimiser predicted are the ones the fresh analysis finds.
void expectPredictedAchieved(const Allocation& a, const std::string& name) {
    ASSERT_TRUE(a.achieved) << name;
    EXPECT_NEAR(static_cast<double>(a.achieved->sigma), static_cast<double>(a.predicted.sigma),
                1e-15 + 1e-9 * static_cast<double>(a.predicted.sigma))
        << name;
    EXPECT_NEAR(static_cast<double>(a.achieved->mean), static_cast<double>(a.predicted.mean), 1e-12) << name;
}

// Two elements of the same tolerance with r a_1 a_2 = 1 are one element of
// twice the tolerance: the proposal splits that element's tolerance between them.
// Each of the pair costs b / t, so the pair costs what one element of 4 b / t does.
TEST(AllocationCorrelated, FullCorrelationActsAsOneElementOfTheSummedTolerance) {
    struct Case {
        const char* name;
        AllocationMethod method;
        bool secondPositive;
        long double r;
        AllocationTarget target;
    };
    const Case cases[] = {
        {"proportional, r = 1", AllocationMethod::Proportional, true, 1, kCpkOne},
        {"proportional, r = -1, second element turned", AllocationMethod::Proportional, false, -1, kPpm100},
        {"cost, r = 1", AllocationMethod::Cost, true, 1, kCpkOne},
        {"cost, r = 1, reject rate", AllocationMethod::Cost, true, 1, kPpm100},
        {"cost, r = -1, second element turned", AllocationMethod::Cost, false, -1, kCpkOne},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto pair = row({{0, true, 10, 0.05L, -0.05L}, {1, c.secondPositive, 4, 0.05L, -0.05L}, {2, true, 20, 0.1L, -0.1L}});
        auto single = row({{0, true, c.secondPositive ? 14.0L : 6.0L, 0.1L, -0.1L}, {1, true, 20, 0.1L, -0.1L}});
        AnalysisData pairData = aroundMean(*pair, c.target);
        pairData.correlations = {{1, 2, c.r}};
        AnalysisData singleData = aroundMean(*single, c.target);
        singleData.allocation.elements[1] = costB(4);
        const Allocation a = allocate(*pair, pairData, c.method);
        const Allocation b = allocate(*single, singleData, c.method);
        ASSERT_TRUE(a.reached() && b.reached());
        const long double t1 = a.elements[0].after.tolerance();
        const long double t2 = a.elements[1].after.tolerance();
        EXPECT_NEAR(static_cast<double>(t1 + t2), static_cast<double>(b.elements[0].after.tolerance()), 1e-15);
        EXPECT_NEAR(static_cast<double>(t1), static_cast<double>(t2), 1e-15);
        EXPECT_NEAR(static_cast<double>(a.elements[2].after.tolerance()), static_cast<double>(b.elements[1].after.tolerance()),
                    1e-15);
        EXPECT_NEAR(static_cast<double>(a.cost), static_cast<double>(b.cost), 1e-12);
        EXPECT_NEAR(static_cast<double>(a.predicted.sigma), static_cast<double>(b.predicted.sigma), 1e-16);
        expectPredictedAchieved(a, c.name);
        EXPECT_FALSE(a.proportionalKept);
        if (c.method == AllocationMethod::Proportional && c.target.cpk) {
            // (0.2 f)² + (0.2 f)² = 36 · 0.01: f = sqrt(4.5).
            EXPECT_NEAR(static_cast<double>(t1 + t2), 0.2 * std::sqrt(4.5), 1e-8);
        }
    }
}

// Elements 1 and 2 (±0.05, on the same side) with r = -1 cancel each other:
// element 3 (±0.1) alone must reach Cpk 1 against ±0.3, t3 = 0.6, and the pair
// is free to open (cost: to its upper limit of 1).
TEST(AllocationCorrelated, FullAnticorrelationCancelsAndWidens) {
    struct Case {
        const char* name;
        AllocationMethod method;
        long double r;
        long double pair;  // expected tolerance of elements 1 and 2
        long double third;
    };
    const Case cases[] = {
        {"proportional, independent", AllocationMethod::Proportional, 0, 0.1L * std::sqrt(6.0L), 0.2L * std::sqrt(6.0L)},
        {"proportional, r = -1", AllocationMethod::Proportional, -1, 0.3L, 0.6L},
        {"cost, independent", AllocationMethod::Cost, 0, std::sqrt(0.12L), std::sqrt(0.12L)},
        {"cost, r = -1", AllocationMethod::Cost, -1, 1, 0.6L},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto chain = row(symmetric({0.05L, 0.05L, 0.1L}));
        AnalysisData data = aroundMean(*chain, kCpkOne);
        data.correlations = {{1, 2, c.r}};
        ElementFreedom capped;
        capped.maxTolerance = 1;
        data.allocation.elements[1] = capped;
        data.allocation.elements[2] = capped;
        const Allocation a = allocate(*chain, data, c.method);
        ASSERT_TRUE(a.reached());
        EXPECT_NEAR(static_cast<double>(a.elements[0].after.tolerance()), static_cast<double>(c.pair), 1e-8);
        EXPECT_NEAR(static_cast<double>(a.elements[1].after.tolerance()), static_cast<double>(c.pair), 1e-8);
        EXPECT_NEAR(static_cast<double>(a.elements[2].after.tolerance()), static_cast<double>(c.third), 1e-8);
        EXPECT_NEAR(static_cast<double>(*a.achieved->cpk), 1, 1e-8);
        expectPredictedAchieved(a, c.name);
    }
    // Grades: two js of one size cancel at any grade they share, so both take
    // the coarsest; the third alone must reach Cpk 1.33 against ±0.12, t <= 0.24 / 1.33.
    std::string third;
    for (int grade = 5; grade <= 16; ++grade) {
        const auto d = isoDeviations("js", grade, 40);
        if (d && d->first - d->second <= 0.24L / 1.33L) third = "js" + std::to_string(grade);
    }
    for (const long double r : {0.0L, -1.0L}) {
        SCOPED_TRACE("iso, r = " + std::to_string(static_cast<double>(r)));
        auto chain = row({{0, true, 30, 0, 0}, {1, true, 30, 0, 0}, {2, true, 40, 0, 0}});
        code(*chain, 1, "js", 9);
        code(*chain, 2, "js", 9);
        code(*chain, 3, "js", 8);
        deriveElementValues(*chain);
        AnalysisData data = isoLimits(*chain, {std::nullopt, 1.33L});
        data.correlations = {{1, 2, r}};
        const Allocation a = allocate(*chain, data, AllocationMethod::Iso);
        ASSERT_TRUE(a.reached());
        expectPredictedAchieved(a, "iso");
        if (r == 0) {
            EXPECT_LT(a.elements[0].after.tolerance(), isoDeviations("js", 16, 30)->first * 2);
            continue;
        }
        EXPECT_EQ(a.elements[0].after.iso, "js16");
        EXPECT_EQ(a.elements[1].after.iso, "js16");
        EXPECT_EQ(a.elements[2].after.iso, third);
    }
}

// At the least cost every tolerance not at a limit has the same ratio of its
// cost's slope to the slope of the variance: cost_i'(t_i) = -λ dV/dt_i, and with
// pairs dV/dt_i holds the partners' tolerances, a partner that stays included.
TEST(AllocationCorrelated, LeastCostSharesOneMultiplierWithTheCovariance) {
    struct Case {
        CostModel model;
        long double b[3];
        long double tau;
    };
    const Case cases[] = {
        {CostModel::Reciprocal, {1, 2, 5}, 1},
        {CostModel::ReciprocalSquared, {1, 3, 0.2L}, 1},
        {CostModel::Exponential, {1, 4, 20}, 0.05L},
    };
    // r between elements 1-2, 2-3 and 1-4 (4 fixed, ±0.05); every element +1, sigma 3.
    const long double r12 = 0.6L;
    const long double r23 = -0.4L;
    const long double r14 = 0.5L;
    for (const Case& c : cases) {
        SCOPED_TRACE(costModelName(c.model));
        auto chain = row(symmetric({0.1L, 0.1L, 0.1L, 0.05L}));
        AnalysisData data = aroundMean(*chain, kCpkOne);
        data.correlations = {{1, 2, r12}, {3, 2, r23}, {4, 1, r14}};
        for (int n = 1; n <= 3; ++n) {
            ElementFreedom f;
            f.cost = {c.model, 0.5L, c.b[n - 1], c.tau};
            data.allocation.elements[n] = f;
        }
        ElementFreedom fixed;
        fixed.fixed = true;
        data.allocation.elements[4] = fixed;
        const Allocation a = allocate(*chain, data, AllocationMethod::Cost);
        ASSERT_TRUE(a.reached());
        EXPECT_FALSE(a.proportionalKept);
        long double t[4];
        for (std::size_t i = 0; i < 4; ++i) t[i] = a.elements[i].after.tolerance();
        // 36 V = Σ t² + 2 Σ r t_i t_j; half its slopes:
        const long double slopes[3] = {t[0] + r12 * t[1] + r14 * t[3], t[1] + r12 * t[0] + r23 * t[2], t[2] + r23 * t[1]};
        const long double variance = t[0] * t[0] + t[1] * t[1] + t[2] * t[2] + t[3] * t[3] +
                                     2 * (r12 * t[0] * t[1] + r23 * t[1] * t[2] + r14 * t[0] * t[3]);
        EXPECT_NEAR(static_cast<double>(variance), 0.36, 1e-9);
        std::vector<long double> multipliers;
        for (int n = 0; n < 3; ++n) {
            const long double b = c.b[n];
            const long double u = t[n];
            const long double slope = c.model == CostModel::Reciprocal          ? b / (u * u)
                                      : c.model == CostModel::ReciprocalSquared ? 2 * b / (u * u * u)
                                                                                : b / c.tau * std::exp(-u / c.tau);
            multipliers.push_back(slope / slopes[n]);
        }
        EXPECT_NEAR(static_cast<double>(multipliers[1] / multipliers[0]), 1, 1e-8);
        EXPECT_NEAR(static_cast<double>(multipliers[2] / multipliers[0]), 1, 1e-8);
        expectPredictedAchieved(a, costModelName(c.model).data());
        // Cheaper than one factor on every tolerance.
        EXPECT_LT(a.cost, a.proportionalCost);
    }
}

// Pairs drawn for a drawn chain: neighbours with r from -1 to 1, now and then
// linking a third element; a list no correlation matrix can have loses its last pair.
std::vector<Correlation> drawPairs(std::uint32_t seed, int count) {
    const auto next = [&seed](int range) {
        seed = seed * 22695477u + 1u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(range));
    };
    std::vector<Correlation> pairs;
    for (int n = 1; n + 1 <= count; n += 2) {
        if (next(3) == 0) continue;
        pairs.push_back({n, n + 1, 0.25L * (next(9) - 4)});
        if (n + 2 <= count && next(3) == 0) pairs.push_back({n + 2, n, 0.1L * (next(11) - 5)});
        if (correlationProblem(pairs, count)) pairs.pop_back();
    }
    return pairs;
}

TEST(AllocationCorrelated, CostNeverCostsMoreThanProportional) {
    int reached = 0;
    int cheaper = 0;
    for (std::uint32_t seed = 1; seed <= 80; ++seed) {
        Drawn d = drawChain(seed);
        d.data.correlations = drawPairs(seed, d.chain->elementCount());
        if (d.data.correlations.empty()) continue;
        const Allocation p = allocate(*d.chain, d.data, AllocationMethod::Proportional);
        const Allocation c = allocate(*d.chain, d.data, AllocationMethod::Cost);
        const std::string name = "seed " + std::to_string(seed);
        ASSERT_EQ(c.proportionalCost, p.cost) << name;
        if (!p.reached()) continue;
        ++reached;
        EXPECT_TRUE(c.reached()) << name;
        EXPECT_LE(c.cost, p.cost * (1 + 1e-12L)) << name;
        if (!c.proportionalKept && c.cost < p.cost * (1 - 1e-6L)) ++cheaper;
        expectPredictedAchieved(p, name);
        expectPredictedAchieved(c, name);
        for (const AllocatedElement& e : c.elements) {
            const ElementFreedom f = d.data.allocation.freedomOf(e.element);
            const long double t = e.after.tolerance();
            if (f.fixed) {
                EXPECT_EQ(t, e.before.tolerance()) << name;
                continue;
            }
            EXPECT_GE(t, f.minTolerance.value_or(0) * (1 - 1e-12L)) << name;
            if (f.maxTolerance) {
                EXPECT_LE(t, *f.maxTolerance * (1 + 1e-12L)) << name;
            }
        }
    }
    // The table must exercise the comparison and the multiplier's own proposals.
    EXPECT_GE(reached, 40);
    EXPECT_GE(cheaper, 30);
}

// Pairs with r = 0 are no pairs: every proposal is the one without them, to the bit.
TEST(AllocationCorrelated, UncorrelatedPairsLeaveEveryProposalAsItWas) {
    const auto expectSame = [](const Allocation& a, const Allocation& b, const std::string& name) {
        EXPECT_EQ(a.feasible, b.feasible) << name;
        EXPECT_EQ(a.proportionalKept, b.proportionalKept) << name;
        EXPECT_EQ(a.cost, b.cost) << name;
        EXPECT_EQ(a.proportionalCost, b.proportionalCost) << name;
        EXPECT_EQ(a.predicted.mean, b.predicted.mean) << name;
        EXPECT_EQ(a.predicted.sigma, b.predicted.sigma) << name;
        EXPECT_EQ(a.predicted.ppmBelow + a.predicted.ppmAbove, b.predicted.ppmBelow + b.predicted.ppmAbove) << name;
        EXPECT_EQ(a.before.sigma, b.before.sigma) << name;
        ASSERT_EQ(a.elements.size(), b.elements.size()) << name;
        for (std::size_t i = 0; i < a.elements.size(); ++i) {
            EXPECT_EQ(a.elements[i].after.upper, b.elements[i].after.upper) << name << ", element " << i + 1;
            EXPECT_EQ(a.elements[i].after.lower, b.elements[i].after.lower) << name << ", element " << i + 1;
            EXPECT_EQ(a.elements[i].after.iso, b.elements[i].after.iso) << name << ", element " << i + 1;
        }
    };
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        Drawn d = drawChain(seed);
        AnalysisData zero = d.data;
        for (int n = 1; n + 1 <= d.chain->elementCount(); ++n) zero.correlations.push_back({n, n + 1, 0});
        for (AllocationMethod method : {AllocationMethod::Proportional, AllocationMethod::Cost}) {
            const std::string name = "seed " + std::to_string(seed) + ", " + std::string(allocationMethodName(method));
            expectSame(allocate(*d.chain, zero, method), allocate(*d.chain, d.data, method), name);
        }
    }
    auto chain = isoChain({{"h", 7}, {"H", 8}, {"f", 7}, {"js", 9}, {"h", 9}, {"k", 6}, {"g", 6}});
    for (const AllocationTarget& target : {AllocationTarget{std::nullopt, 1.33L}, AllocationTarget{500.0L, std::nullopt}}) {
        AnalysisData data = isoLimits(*chain, target);
        AnalysisData zero = data;
        zero.correlations = {{1, 2, 0}, {3, 5, 0}, {7, 4, 0}};
        expectSame(allocate(*chain, zero, AllocationMethod::Iso), allocate(*chain, data, AllocationMethod::Iso), "iso");
    }
}

// A proposal made blind to the pairs misses the target where they are strongly
// positive and is needlessly tight where they are negative; made with them, it
// meets the target in a fresh analysis of the changed chain with the pairs,
// each grade as loose as that allows.
TEST(AllocationCorrelated, EveryMethodMeetsTheTargetInAFreshAnalysisWithThePairs) {
    struct Case {
        const char* name;
        std::vector<Correlation> pairs;
        bool positive;
    };
    const Case cases[] = {
        {"strongly positive", {{1, 2, 0.9L}, {3, 4, 0.8L}, {5, 6, 1}}, true},
        {"negative", {{1, 2, -0.7L}, {4, 5, -0.5L}, {6, 7, -0.9L}}, false},
    };
    auto chain = isoChain({{"h", 7}, {"H", 8}, {"f", 7}, {"js", 9}, {"h", 9}, {"k", 6}, {"g", 6}});
    for (const Case& c : cases) {
        for (const AllocationTarget& target : {AllocationTarget{std::nullopt, 1.33L}, AllocationTarget{500.0L, std::nullopt}}) {
            AnalysisData blindData = isoLimits(*chain, target);
            AnalysisData data = blindData;
            data.correlations = c.pairs;
            for (AllocationMethod method : {AllocationMethod::Proportional, AllocationMethod::Cost, AllocationMethod::Iso}) {
                const std::string name = std::string(c.name) + ", " + std::string(allocationMethodName(method)) +
                                         (target.cpk ? ", Cpk" : ", ppm");
                const Allocation a = allocate(*chain, data, method);
                ASSERT_TRUE(a.reached()) << name;
                EXPECT_TRUE(meetsTarget(a.target, *a.achieved)) << name;
                expectPredictedAchieved(a, name);
                Allocation blind = allocate(*chain, blindData, method);
                AllocationCheck(*chain, data).check(blind);
                if (method == AllocationMethod::Iso) {
                    expectValidAndTight(*chain, data, a);
                    EXPECT_TRUE(c.positive ? a.cost >= blind.cost : a.cost <= blind.cost) << name;
                } else if (c.positive) {
                    EXPECT_FALSE(meetsTarget(a.target, *blind.achieved)) << name;
                } else {
                    EXPECT_LT(a.cost, blind.cost) << name;
                }
            }
        }
    }
}

} // namespace
} // namespace zam1::test
