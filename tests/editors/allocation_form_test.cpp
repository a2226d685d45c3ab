// The allocation dialog's form: the target it offers, the faults it names before
// anything is computed, and proposals proven by a fresh analysis.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/editors/allocation_form.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/text/codepage.h"
#include "tests/model/chain_builder.h"

namespace zam1 {
namespace {

using test::E;

// Four elements of 10 ± 0.1 in a row; closing dimension 1 over all of them (nominal 40).
std::unique_ptr<Chain> fourInARow() {
    auto chain = std::make_unique<Chain>();
    test::fill(*chain, std::vector<E>{{0, true, 10, 0.1L, -0.1L}, {1, true, 10, 0.1L, -0.1L},
                                       {2, true, 10, 0.1L, -0.1L}, {3, true, 10, 0.1L, -0.1L}});
    chain->setClosingCount(1);
    chain->closing(1) = {0, 4, "Spalt", ""};
    chain->productionSigma = 3;
    deriveElementValues(*chain);
    return chain;
}

// ±0.3 about the nominal: a Cpk of 1 asks for sigma 0.1.
AnalysisData withLimits() {
    AnalysisData data;
    data.limits[1] = {39.7L, 40.3L};
    return data;
}

AllocationForm cpk(const char* target, AllocationMethod method = AllocationMethod::Cost) {
    AllocationForm f;
    f.byCpk = true;
    f.target = target;
    f.method = method;
    return f;
}

TEST(AllocationForm, OffersTheTargetOfTheSettingsFileOrACpkOf133) {
    struct Row {
        const char* name;
        AllocationTarget target;
        bool byCpk;
        const char* text;
    };
    const Row rows[] = {
        {"none", {}, true, "1.33"},
        {"cpk", {std::nullopt, 1.67L}, true, "1.67"},
        {"ppm", {250, std::nullopt}, false, "250"},
    };
    for (const Row& r : rows) {
        AnalysisData data = withLimits();
        data.allocation.targets[1] = r.target;
        const AllocationForm form = allocationForm(data, 1);
        EXPECT_EQ(form.closing, 1) << r.name;
        EXPECT_EQ(form.byCpk, r.byCpk) << r.name;
        EXPECT_EQ(form.target, r.text) << r.name;
    }
}

TEST(AllocationForm, NamesAFaultBeforeAnythingIsComputed) {
    struct Row {
        const char* name;
        AllocationForm form;
        bool limits;
        long double sigma;
        const char* message;
        bool inTarget;
    };
    AllocationForm ppm = cpk("1000000");
    ppm.byCpk = false;
    AllocationForm second = cpk("1");
    second.closing = 2;
    const Row rows[] = {
        {"not a number", cpk("abc"), true, 3, "Ziel Cpk: Ungültige Eingabe \"abc\" !", true},
        {"empty", cpk(""), true, 3, "Ziel Cpk: Ungültige Eingabe \"\" !", true},
        {"infinite", cpk("inf"), true, 3, "Ziel Cpk: Ungültige Eingabe \"inf\" !", true},
        {"nan", cpk("nan"), true, 3, "Ziel Cpk: Ungültige Eingabe \"nan\" !", true},
        {"zero", cpk("0"), true, 3, "Ziel Cpk: Gültiger Wertebereich: 0 < Cpk <= 100 !", true},
        {"too high", cpk("100,5"), true, 3, "Ziel Cpk: Gültiger Wertebereich: 0 < Cpk <= 100 !", true},
        {"every part a reject", ppm, true, 3, "Ziel Ausschuss (ppm): Gültiger Wertebereich: 0 < ppm < 1000000 !", true},
        {"no limits", cpk("1"), false, 3, "Schließmaß 1 hat keine geforderten Grenzen: erst unter Monte Carlo ... eintragen.",
         false},
        {"sigma 0", cpk("1"), true, 0, "Sigma ist 0: die statistische Methode kann nicht urteilen.", false},
        {"no such closing dimension", second, true, 3, "Schließmaß 2: keine kritischen Abstände definiert", false},
    };
    const LanguageTexts texts;
    for (const Row& r : rows) {
        auto chain = fourInARow();
        chain->productionSigma = r.sigma;
        const AnalysisData data = r.limits ? withLimits() : AnalysisData{};
        const AllocationProposal p = proposeAllocation(*chain, data, r.form, texts);
        EXPECT_EQ(oemToUtf8(p.fault), r.message) << r.name;
        EXPECT_EQ(p.targetFault, r.inTarget) << r.name;
        EXPECT_FALSE(p.allocation.has_value()) << r.name;
        EXPECT_DOUBLE_EQ(static_cast<double>(chain->element(2).upperDev), 0.1) << r.name << ": the chain changed";
    }
}

TEST(AllocationForm, EqualElementsAtEqualCostGetEqualTolerances) {
    // Σ t² = 36 σ² = 0.36 over four elements: each 0.3, ±0.15.
    const AllocationMethod methods[] = {AllocationMethod::Cost, AllocationMethod::Proportional};
    for (const AllocationMethod method : methods) {
        auto chain = fourInARow();
        const AllocationProposal p = proposeAllocation(*chain, withLimits(), cpk("1,0", method), LanguageTexts{});
        ASSERT_TRUE(p.fault.empty()) << oemToUtf8(p.fault);
        ASSERT_TRUE(p.allocation.has_value());
        const Allocation& a = *p.allocation;
        EXPECT_TRUE(a.reached());
        ASSERT_TRUE(a.achieved.has_value());
        ASSERT_TRUE(a.achieved->cpk.has_value());
        EXPECT_NEAR(static_cast<double>(*a.achieved->cpk), 1.0, 1e-6);
        ASSERT_EQ(a.elements.size(), 4u);
        for (const AllocatedElement& e : a.elements) {
            EXPECT_NEAR(static_cast<double>(e.after.upper), 0.15, 1e-6) << e.element;
            EXPECT_NEAR(static_cast<double>(e.after.lower), -0.15, 1e-6) << e.element;
        }
        const std::string summary = proposalSummary(a);
        EXPECT_NE(summary.find("Ziel Cpk >= 1.000; heute Cpk 1.500, mit dem Vorschlag Cpk 1.000 (neu berechnet)."),
                  std::string::npos)
            << summary;
        // The proposal is only shown: the chain keeps its deviations until it is taken over.
        EXPECT_DOUBLE_EQ(static_cast<double>(chain->element(1).upperDev), 0.1);
    }
}

TEST(AllocationForm, AnUnreachableTargetSaysSoAndNamesTheElementsAtTheirLimit) {
    auto chain = fourInARow();
    chain->element(1).upperDev = 0.5L;
    chain->element(1).lowerDev = -0.5L;
    deriveElementValues(*chain);
    AnalysisData data = withLimits();
    data.allocation.elements[1].fixed = true;  // alone its sigma is 1/6 > 0.1
    for (int n = 2; n <= 4; ++n) data.allocation.elements[n].minTolerance = 0.05L;
    const AllocationProposal p = proposeAllocation(*chain, data, cpk("1"), LanguageTexts{});
    ASSERT_TRUE(p.allocation.has_value()) << oemToUtf8(p.fault);
    EXPECT_FALSE(p.allocation->reached());
    const std::string summary = proposalSummary(*p.allocation);
    EXPECT_NE(summary.find(", bestenfalls Cpk "), std::string::npos) << summary;
    EXPECT_NE(summary.find("nicht erreichbar; an ihrer Grenze: 2, 3, 4."), std::string::npos) << summary;
}

TEST(AllocationForm, ARejectRateTargetIsMetInTheFreshAnalysis) {
    auto chain = fourInARow();
    AllocationForm form = cpk("10");
    form.byCpk = false;
    const AllocationProposal p = proposeAllocation(*chain, withLimits(), form, LanguageTexts{});
    ASSERT_TRUE(p.allocation.has_value()) << oemToUtf8(p.fault);
    ASSERT_TRUE(p.allocation->achieved.has_value());
    EXPECT_TRUE(p.allocation->reached());
    EXPECT_LE(static_cast<double>(p.allocation->achieved->ppmBelow + p.allocation->achieved->ppmAbove), 10.0);
    // Looser than today's tolerances: today's reject rate is far below 10 ppm.
    EXPECT_GT(static_cast<double>(p.allocation->elements[0].after.tolerance()), 0.2);
}

} // namespace
} // namespace zam1
