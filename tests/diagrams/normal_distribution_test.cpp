// The normal distribution: value, percentage and sigma scales, and the cases in
// which one standard deviation is zero or undefined.

#include <gtest/gtest.h>

#include <cmath>

#include "core/model/calculation.h"
#include "tests/diagrams/recorded_run.h"
#include "tests/model/chain_builder.h"

namespace zam1 {
namespace {

using test::E;

// Window -4.5..5 x -1..1.05 on the 160 x 120 mm sheet.
double sheetX(double x) { return (x + 4.5) / 9.5 * 160; }
double sheetY(double y) { return (y + 1) / 2.05 * 120; }

struct NormalDistribution : ::testing::Test {
    test::DiagramState s;
    test::RecordedRun run;

    // One element of 10 mm: the closing dimension 0 -> 1 has mean 10 and the
    // statistical half tolerance of the element's deviations.
    DiagramOutcome draw(long double deviation, long double productionSigma) {
        test::fill(s.state->chain, {E{0, true, 10, deviation, -deviation}});
        s.state->chain.closing(1).fromElement = 0;
        s.state->chain.closing(1).toElement = 1;
        s.state->chain.setClosingCount(1);
        s.state->chain.productionSigma = productionSigma;
        const DiagramInput in = s.input();
        const PreparedDiagram diagram = prepareDiagram(in, kDiagramNormalDistribution, 1);
        if (diagram.outcome == DiagramOutcome::Drawn) drawDiagram(*run.layer, in, diagram);
        return diagram.outcome;
    }
};

TEST_F(NormalDistribution, OneStandardDeviationIsOneUnitOfTheValueScale) {
    ASSERT_EQ(draw(0.3L, 3), DiagramOutcome::Drawn);  // sigma = 0.3 / 3 = 0.1
    const auto label = run.findText("10.10");
    ASSERT_TRUE(label);
    EXPECT_NEAR(static_cast<double>(label->x), sheetX(1 + 0.05), 1e-3);
    EXPECT_NEAR(static_cast<double>(label->y), sheetY(-0.25), 1e-3);
    // The scale spans mean +- 3 sigma with a step of 0.1, one step beyond its start.
    for (const char* v : {"9.60", "9.70", "10.00", "10.30"}) EXPECT_TRUE(run.findText(v)) << v;
    EXPECT_FALSE(run.findText("10.40"));
    EXPECT_TRUE(run.findText("  mm"));
    EXPECT_TRUE(s.state->chain.messages.empty());
}

TEST_F(NormalDistribution, NinePercentagesUnderMinusFourToFour) {
    ASSERT_EQ(draw(0.3L, 3), DiagramOutcome::Drawn);
    std::vector<std::string> row;
    for (const test::RecordedText& t : run.texts()) {
        if (std::fabs(static_cast<double>(t.y) - sheetY(-0.675)) < 1e-3 && t.text != "Prozent") row.push_back(t.text);
    }
    const std::vector<std::string> expected = {"0.003",  "0.140",  "2.280",  "15.900", "50.000",
                                               "84.100", "97.720", "99.860", "99.997"};
    EXPECT_EQ(row, expected);
    const auto minusFour = run.findText("-4");
    ASSERT_TRUE(minusFour);
    EXPECT_NEAR(static_cast<double>(minusFour->x), sheetX(-4 + 0.05), 1e-3);
}

TEST(NormalDistributionWithoutSigma, NoScalesButAMessage) {
    struct Case {
        const char* what;
        long double deviation, productionSigma;
        std::string_view message;
    };
    const Case cases[] = {
        {"no statistical tolerance", 0, 3, "Toleranz = 0 ? !"},
        {"production sigma 0", 0.3L, 0, kNoSigmaMessage},
    };
    for (const Case& c : cases) {
        test::DiagramState local;
        test::RecordedRun out;
        test::fill(local.state->chain, {E{0, true, 10, c.deviation, -c.deviation}});
        local.state->chain.closing(1).fromElement = 0;
        local.state->chain.closing(1).toElement = 1;
        local.state->chain.setClosingCount(1);
        local.state->chain.productionSigma = c.productionSigma;
        const DiagramInput in = local.input();
        const PreparedDiagram diagram = prepareDiagram(in, kDiagramNormalDistribution, 1);
        ASSERT_EQ(diagram.outcome, DiagramOutcome::Drawn) << c.what;
        drawDiagram(*out.layer, in, diagram);
        EXPECT_FALSE(out.error.isSet()) << c.what;
        EXPECT_FALSE(out.findText("Prozent")) << c.what;
        EXPECT_FALSE(out.findText("Sigma")) << c.what;
        EXPECT_FALSE(out.findText("  mm")) << c.what;
        EXPECT_GE(out.count("line"), 160u) << c.what;  // the curve and its hatching stay
        EXPECT_TRUE(out.findText("Toleranz : " + std::string(c.deviation == 0 ? "0.000" : "0.600"))) << c.what;
        ASSERT_EQ(local.state->chain.messages.count(), 1) << c.what;
        EXPECT_EQ(local.state->chain.messages.at(0), c.message.substr(0, kMessageLength)) << c.what;
    }
}

} // namespace
} // namespace zam1
