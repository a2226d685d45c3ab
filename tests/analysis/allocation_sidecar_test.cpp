// The allocation settings in the settings file: targets and element freedoms
// read back as written (a dialog that saves the limits keeps them), and bad
// values are refused with the field named.
#include <gtest/gtest.h>

#include <cmath>

#include "core/analysis/sidecar.h"
#include "tests/analysis/analysis_chains.h"

namespace zam1::test {
namespace {

class AllocationSidecar : public ::testing::Test {
protected:
    void SetUp() override {
        build(m_chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}, {2, true, 5, 0.1L, 0}}, {{0, 2}, {1, 3}});
    }
    Chain m_chain;
};

TEST_F(AllocationSidecar, TargetsAndFreedomsReadBackAsWritten) {
    const char* text = R"({"elements": [
        {"element": 1, "fixed": true},
        {"element": 2, "distribution": "uniform", "minTolerance": 0.01, "maxTolerance": 0.5,
         "cost": {"model": "exponential", "a": 2, "b": 3, "tau": 0.05}},
        {"element": 3, "cost": {"model": "reciprocalSquared", "b": 0.25}}],
      "closings": [{"closing": 1, "lower": 19.5, "targetPpm": 63},
                   {"closing": 2, "lower": 9.5, "upper": 10.5, "targetCpk": 1.33}]})";
    AnalysisData data;
    const SidecarRead r = parseSidecar(text, m_chain, data);
    ASSERT_TRUE(r.ok) << r.error;
    const AllocationSettings& a = data.allocation;
    EXPECT_TRUE(a.freedomOf(1).fixed);
    EXPECT_EQ(a.freedomOf(2).cost.model, CostModel::Exponential);
    EXPECT_EQ(a.freedomOf(2).cost.tau, static_cast<long double>(0.05));
    EXPECT_EQ(*a.freedomOf(2).maxTolerance, 0.5L);
    EXPECT_EQ(data.distributionOf(2).kind, Distribution::Uniform);
    EXPECT_EQ(a.freedomOf(3).cost.b, 0.25L);
    EXPECT_EQ(*a.targetOf(1).ppm, 63);
    EXPECT_EQ(*a.targetOf(2).cpk, static_cast<long double>(1.33));
    EXPECT_FALSE(a.targetOf(2).ppm);

    const std::string written = sidecarText(data);
    AnalysisData back;
    ASSERT_TRUE(parseSidecar(written, m_chain, back).ok);
    EXPECT_EQ(sidecarText(back), written);
    EXPECT_EQ(*back.allocation.targetOf(2).cpk, static_cast<long double>(1.33));
    EXPECT_EQ(back.allocation.freedomOf(2).cost.a, 2);
    EXPECT_EQ(back.allocation.freedomOf(3).cost.model, CostModel::ReciprocalSquared);
    EXPECT_EQ(back.allocation.elements.count(1), 1u);
    // A dialog that clears the limits drops the target with them, so the file stays readable.
    back.limits.erase(1);
    AnalysisData again;
    ASSERT_TRUE(parseSidecar(sidecarText(back), m_chain, again).ok);
    EXPECT_FALSE(again.allocation.targetOf(1).any());
    EXPECT_TRUE(again.allocation.targetOf(2).any());
    // Each cost is what its model says.
    EXPECT_EQ(toleranceCost(back.allocation.freedomOf(3).cost, 0.5L), 1);
    EXPECT_EQ(toleranceCost(ElementCost{}, 0.25L), 4);
    EXPECT_NEAR(static_cast<double>(toleranceCost(back.allocation.freedomOf(2).cost, 0.05L)), 2 + 3 / std::exp(1.0), 1e-15);
}

TEST_F(AllocationSidecar, BadValuesAreRefusedNamingTheField) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"elements": [{"element": 1, "fixed": 1}]})", "elements[0].fixed: must be true or false"},
        {R"({"elements": [{"element": 1, "minTolerance": 0}]})", "elements[0].minTolerance: must be above 0"},
        {R"({"elements": [{"element": 1, "maxTolerance": -0.1}]})", "elements[0].maxTolerance: must be above 0"},
        {R"({"elements": [{"element": 1, "minTolerance": 0.2, "maxTolerance": 0.1}]})",
         "elements[0].minTolerance: is above maxTolerance"},
        {R"({"elements": [{"element": 1, "minTolerance": "0.1"}]})", "elements[0].minTolerance: must be a number"},
        {R"({"elements": [{"element": 1, "cost": {"model": "linear"}}]})", "elements[0].cost.model: unknown cost model"},
        {R"({"elements": [{"element": 1, "cost": {"b": 0}}]})", "elements[0].cost.b: must be above 0"},
        {R"({"elements": [{"element": 1, "cost": {"a": -1}}]})", "elements[0].cost.a: must not be below 0"},
        {R"({"elements": [{"element": 1, "cost": {"model": "exponential"}}]})",
         "elements[0].cost.tau: is needed by the exponential model"},
        {R"({"elements": [{"element": 1, "cost": {"tau": 0.1}}]})", "elements[0].cost.tau: only with the exponential"},
        {R"({"elements": [{"element": 1, "cost": {"model": "exponential", "tau": 0}}]})",
         "elements[0].cost.tau: must be above 0"},
        {R"({"elements": [{"element": 1, "cost": {"c": 1}}]})", "elements[0].cost.c: unknown field"},
        {R"({"elements": [{"element": 1, "cost": 5}]})", "elements[0].cost: must be an object"},
        {R"({"closings": [{"closing": 1, "upper": 1, "targetPpm": 0}]})", "closings[0].targetPpm: must be above 0"},
        {R"({"closings": [{"closing": 1, "upper": 1, "targetPpm": 1000000}]})",
         "closings[0].targetPpm: must be below 1000000"},
        {R"({"closings": [{"closing": 1, "upper": 1, "targetCpk": -1}]})", "closings[0].targetCpk: must be above 0"},
        {R"({"closings": [{"closing": 1, "upper": 1, "targetPpm": 10, "targetCpk": 1}]})",
         "closings[0].targetCpk: only one of targetPpm and targetCpk"},
        {R"({"closings": [{"closing": 1, "targetCpk": 1.33}]})", "closings[0].targetCpk: needs a lower or an upper limit"},
        {R"({"closings": [{"closing": 9, "upper": null, "targetPpm": 5}]})",
         "closings[0].targetPpm: needs a lower or an upper limit"},
    };
    for (const auto& [text, message] : cases) {
        AnalysisData data;
        const SidecarRead r = parseSidecar(text, m_chain, data);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.error.rfind(message, 0), 0u) << text << "\n  " << r.error;
        EXPECT_TRUE(data.allocation.elements.empty() && data.allocation.targets.empty()) << text;
    }
}

} // namespace
} // namespace zam1::test
