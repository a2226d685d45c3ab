// The sidecar file: what it writes reads back, bad content is refused with
// the field named and nothing changed, names the project lacks are skipped.
#include <gtest/gtest.h>

#include "core/analysis/sidecar.h"
#include "tests/analysis/analysis_chains.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

class Sidecar : public ::testing::Test {
protected:
    void SetUp() override {
        build(m_chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}, {2, true, 5, 0.1L, 0}}, {{0, 2}, {1, 3}});
        m_data.elements[2] = {Distribution::ShiftedNormal, 12.5L};
        m_data.elements[3] = {Distribution::Uniform, 0};
        m_data.limits[1] = {14.8L, std::nullopt};
        m_data.limits[2] = {9.5L, 10.5L};
        m_data.options = {AnalysisMethod::MonteCarlo, 5000, 77, 0};
    }
    Chain m_chain;
    AnalysisData m_data;
};

TEST_F(Sidecar, WhatIsWrittenReadsBack) {
    const std::string text = sidecarText(m_data);
    AnalysisData back;
    const SidecarRead r = parseSidecar(text, m_chain, back);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.notes.empty());
    EXPECT_EQ(sidecarText(back), text);
    EXPECT_EQ(back.options.samples, 5000);
    EXPECT_EQ(back.options.seed, 77u);
    EXPECT_EQ(back.elements.at(2).meanShiftPercent, 12.5L);
    EXPECT_FALSE(back.limits.at(1).upper.has_value());

    TempFolder folder;
    const std::string path = sidecarPath(folder.file("p.zm1"));
    EXPECT_EQ(path, folder.file("p.zm1.json"));
    ASSERT_EQ(writeSidecar(path, m_data), 0);
    AnalysisData read;
    ASSERT_TRUE(readSidecar(path, m_chain, read).ok);
    EXPECT_EQ(sidecarText(read), text);
}

TEST_F(Sidecar, MissingFileLeavesTheDefaults) {
    TempFolder folder;
    AnalysisData data;
    EXPECT_TRUE(readSidecar(folder.file("none.zm1.json"), m_chain, data).ok);
    EXPECT_TRUE(data.elements.empty());
    EXPECT_EQ(data.options.samples, kDefaultSamples);
}

TEST_F(Sidecar, BadContentIsRefusedNamingTheField) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"closings": [{"closing": 1, "lower": "0.1"}]})", "closings[0].lower: must be a number"},
        {R"({"closings": [{"closing": 1, "lower": 0.5, "upper": 0.1}]})", "closings[0].lower: is above upper"},
        {R"({"closings": [{"closing": 1.5}]})", "closings[0].closing: must be a whole number"},
        {R"({"closings": [{"closing": 1}, {"closing": 1}]})", "closings[1].closing: 1 is named twice"},
        {R"({"closings": {"closing": 1}})", "closings: must be a list"},
        {R"({"closings": [{"closing": 1, "lowr": 0.1}]})", "closings[0].lowr: unknown field"},
        {R"({"elements": [{"element": 2, "distribution": "gauss"}]})", "elements[0].distribution: unknown distribution"},
        {R"({"elements": [{"element": 2, "distribution": 3}]})", "elements[0].distribution: must be a text"},
        {R"({"elements": [{"element": 2, "meanShiftPercent": 5}]})", "elements[0].meanShiftPercent: only with"},
        {R"({"elements": [{"distribution": "uniform"}]})", "elements[0]: must be an object with \"element\""},
        {R"({"monteCarlo": {"samples": 0}})", "monteCarlo.samples: must be 1 to 100000000"},
        {R"({"monteCarlo": {"samples": 100000001}})", "monteCarlo.samples: must be 1 to 100000000"},
        {R"({"monteCarlo": {"samples": 1e5}})", "monteCarlo.samples: must be a whole number"},
        {R"({"monteCarlo": {"seed": -1}})", "monteCarlo.seed: must be a whole number from 0"},
        {R"({"monteCarlo": {"seed": 18446744073709551616}})", "monteCarlo.seed: must be a whole number from 0 to 18446744073709551615"},
        // A shift moves the mean at most to the edge of the zone; the element is named.
        {R"({"elements": [{"element": 2, "distribution": "shiftedNormal", "meanShiftPercent": 200}]})",
         "elements[0].meanShiftPercent: must be -50 to 50 (percent of the tolerance), element 2"},
        {R"({"elements": [{"element": 3, "distribution": "shiftedNormal", "meanShiftPercent": -1e308}]})",
         "elements[0].meanShiftPercent: must be -50 to 50 (percent of the tolerance), element 3"},
        {R"({"method": "taguchi"})", "method: unknown method"},
        {R"({"format": 2})", "format: must be 1"},
        {R"({"sigma": 3})", "sigma: unknown field"},
        {R"([1, 2])", "(top level): must be an object"},
        {R"({"closings": [)", "not JSON"},
        // Skipped entries are still checked, so a typo is found before it matters.
        {R"({"closings": [{"closing": 99, "lower": true}]})", "closings[0].lower: must be a number"},
    };
    const std::string before = sidecarText(m_data);
    for (const auto& [text, message] : cases) {
        AnalysisData data = m_data;
        const SidecarRead r = parseSidecar(text, m_chain, data);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(r.error.rfind(message, 0), 0u) << text << "\n  " << r.error;
        EXPECT_EQ(sidecarText(data), before) << text;
    }
}

// Depth and size are refused before the parser builds anything; brackets inside
// texts do not count, so a name with "[" stays readable.
TEST_F(Sidecar, DeepNestingAndHugeTextsAreRefusedUnparsed) {
    const auto nested = [](int depth) {
        return R"({"closings": )" + std::string(static_cast<std::size_t>(depth - 1), '[') +
               std::string(static_cast<std::size_t>(depth - 1), ']') + "}";
    };
    struct Case {
        std::string text;
        const char* error;  // empty: not refused for its form
    };
    const Case cases[] = {
        {std::string(2000000, '['), "lists and objects are nested deeper than 32 levels"},
        {nested(33), "lists and objects are nested deeper than 32 levels"},
        {std::string(40, '{'), "lists and objects are nested deeper than 32 levels"},
        {nested(32), "closings[0]: must be an object"},
        {R"({"method": ")" + std::string(100, '[') + R"("})", "method: unknown method"},
        {R"({"method": "\")" + std::string(100, '[') + R"("})", "method: unknown method"},
        {std::string(kMaxSidecarBytes + 1, ' '), "is larger than 16 MiB; not read"},
    };
    for (const Case& c : cases) {
        AnalysisData data = m_data;
        const SidecarRead r = parseSidecar(c.text, m_chain, data);
        EXPECT_FALSE(r.ok) << c.text.substr(0, 40);
        EXPECT_EQ(r.error.rfind(c.error, 0), 0u) << c.text.substr(0, 40) << "\n  " << r.error;
    }
}

TEST_F(Sidecar, NamesTheProjectLacksAreNotedAndSkipped) {
    AnalysisData data;
    const SidecarRead r = parseSidecar(R"({"elements": [{"element": 4, "distribution": "uniform"},
                                                         {"element": 1, "distribution": "triangular"}],
                                           "closings": [{"closing": 0, "upper": 1}, {"closing": 2, "upper": 10.2}]})",
                                       m_chain, data);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.notes, (std::vector<std::string>{"elements[0]: the project has no element 4; ignored",
                                                 "closings[0]: the project has no closing 0; ignored"}));
    EXPECT_EQ(data.elements.size(), 1u);
    EXPECT_EQ(data.distributionOf(1).kind, Distribution::Triangular);
    EXPECT_EQ(data.distributionOf(2).kind, Distribution::Normal);
    EXPECT_EQ(data.limits.size(), 1u);
    EXPECT_EQ(*data.limitsOf(2).upper, static_cast<long double>(10.2));  // JSON numbers are doubles
}

} // namespace
} // namespace zam1::test
