#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "tests/model/chain_builder.h"

namespace zam1 {
namespace {

using test::fill;

class Calculation : public ::testing::Test {
protected:
    std::unique_ptr<Chain> chain = std::make_unique<Chain>();

    void resolve(int a, int b) {
        deriveElementValues(*chain);
        ASSERT_TRUE(resolveDistance(*chain, a, b));
    }
};

TEST_F(Calculation, SingleSymmetricElementAtThreeSigma) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}});
    chain->productionSigma = 3;
    resolve(0, 1);
    EXPECT_NEAR(chain->result.closingStatDev, 0.1L, 1e-18L);
    long double s = 0;
    ASSERT_TRUE(standardDeviation(chain->result, chain->productionSigma, s));
    EXPECT_NEAR(s, 0.1L / 3, 1e-18L);

    const ProbabilityTables t = probabilityTables(*chain, {});
    ASSERT_EQ(t.rangeRows.size(), 11u);
    ASSERT_EQ(t.intervalRows.size(), 10u);
    // z = 3.0 spans exactly the classic limits.
    EXPECT_EQ(t.intervalRows[5], " " " 3.0" "    " "    9.900" " < X < " "   10.100" "      " " 99.73000" " %   "
                                 "  0.27000" " %");
    EXPECT_EQ(t.intervalRows[0], " " " 0.5" "    " "    9.983" " < X < " "   10.017" "      " " 38.30000" " %   "
                                 " 61.70000" " %");
    EXPECT_EQ(t.rangeRows[0], " " "-5.0" "    X < " "    9.833" "    " " 0.00003" " %      X > " "    9.833" "   "
                              "99.99997" " %");
    EXPECT_EQ(t.rangeRows[5], " " " 0.0" "    X < " "   10.000" "    " "50.00000" " %      X > " "   10.000" "   "
                              "50.00000" " %");
    EXPECT_EQ(t.rangeRows[10], " " " 5.0" "    X < " "   10.167" "    " "99.99997" " %      X > " "   10.167" "   "
                               " 0.00003" " %");
    EXPECT_TRUE(chain->messages.empty());
}

TEST_F(Calculation, RowsFollowTheDecimalsAndCommaSettings) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}});
    resolve(0, 1);
    const ProbabilityTables t = probabilityTables(*chain, {4, true});
    EXPECT_EQ(t.intervalRows[5], " " " 3,00" "    " "    9,9000" " < X < " "   10,1000" "      " " 99,730000" " %   "
                                 "  0,270000" " %");
}

TEST_F(Calculation, ClassicAgainstStatisticalForTwoElements) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 20, 0.1L, -0.1L}});
    resolve(0, 2);
    EXPECT_NEAR(classicTolerance(chain->result), 0.4L, 1e-15L);
    EXPECT_NEAR(statisticalTolerance(chain->result), 2 * std::sqrt(0.02L), 1e-15L);
    EXPECT_NEAR(statisticalMax(chain->result), 30 + std::sqrt(0.02L), 1e-15L);
    EXPECT_NEAR(statisticalMin(chain->result), 30 - std::sqrt(0.02L), 1e-15L);
}

TEST_F(Calculation, AsymmetricElementShiftsTheMeanAndTheStatisticalLimits) {
    fill(*chain, {{0, true, 10, 0.3L, 0.1L}});
    resolve(0, 1);
    const ClosingResult& r = chain->result;
    EXPECT_NEAR(r.closingMean - r.closingNominal, 0.2L, 1e-15L);
    EXPECT_NEAR(statisticalMax(r), 10.3L, 1e-15L);
    EXPECT_NEAR(statisticalMin(r), 10.1L, 1e-15L);

    ClosingResult switched = r;
    switchToStatistical(switched);
    EXPECT_NEAR(switched.closingUpperDev, 0.1L, 1e-15L);
    EXPECT_NEAR(switched.closingLowerDev, -0.1L, 1e-15L);
    EXPECT_NEAR(switched.closingMax, 10.3L, 1e-15L);
    EXPECT_NEAR(switched.closingMin, 10.1L, 1e-15L);
    EXPECT_EQ(switched.closingNominal, r.closingNominal);
    EXPECT_EQ(switched.closingMean, r.closingMean);
}

TEST_F(Calculation, ZeroToleranceIsFlaggedAndSharesStayBlank) {
    fill(*chain, {{0, true, 10, 0, 0}, {1, true, 5, 0, 0}});
    resolve(0, 2);
    EXPECT_FALSE(checkTolerance(*chain, "Toleranz"));
    ASSERT_EQ(chain->messages.count(), 1);
    EXPECT_EQ(chain->messages.at(0), "Toleranz = 0 ? !");
    EXPECT_EQ(elementShare(chain->element(1), chain->result, {}), "          ");
}

TEST_F(Calculation, ShareOfAnElement) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}, {1, false, 20, 0.15L, -0.05L}});
    resolve(0, 2);
    EXPECT_TRUE(checkTolerance(*chain, "Toleranz"));
    EXPECT_EQ(elementShare(chain->element(1), chain->result, {}), "          50 %");
    EXPECT_EQ(elementShare(chain->element(2), chain->result, {5, false}), "          50.00 %");
}

TEST_F(Calculation, SigmaZeroGivesNoRowsButAMessage) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}});
    chain->productionSigma = 0;
    resolve(0, 1);
    long double s = -1;
    EXPECT_FALSE(standardDeviation(chain->result, 0, s));
    EXPECT_EQ(s, -1);
    const ProbabilityTables t = probabilityTables(*chain, {});
    EXPECT_TRUE(t.rangeRows.empty());
    EXPECT_TRUE(t.intervalRows.empty());
    ASSERT_EQ(chain->messages.count(), 1);
    EXPECT_EQ(chain->messages.at(0), kNoSigmaMessage);
    EXPECT_LE(kNoSigmaMessage.size(), kMessageLength);
}

TEST_F(Calculation, HeadingOfTheStatisticsBlock) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}});
    chain->productionSigma = 3;
    resolve(0, 1);
    EXPECT_EQ(statisticsHeading(chain->result, 3, "Schlie\xE1ma\xE1", "bei", {}, {}),
              "Schlie\xE1ma\xE1:   10.000 +/-  0.100 bei  +/-  3.00 Sigma");
    EXPECT_EQ(statisticsHeading(chain->result, 3, "closing dim.", "at", {2, false}, {}),
              "closing dim.:    10.00 +/-   0.10 at  +/-  3.00 Sigma");
}

// Sigma follows the configured decimals, never the project's: a 5-decimal
// project printed "3.0000" and a 2-decimal one "3.0".
TEST_F(Calculation, HeadingSigmaTakesTheConfiguredDecimals) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}});
    resolve(0, 1);
    struct Row {
        int projectDecimals;
        NumberFormat configured;
        const char* sigma;
    };
    for (const Row& row : {Row{5, {}, " 3.00 Sigma"}, Row{2, {}, " 3.00 Sigma"}, Row{3, {4, false}, " 3.000 Sigma"},
                           Row{5, {2, true}, " 3,0 Sigma"}}) {
        const std::string line = statisticsHeading(chain->result, 3, "S", "bei", {row.projectDecimals, false}, row.configured);
        EXPECT_TRUE(line.ends_with(std::string("+/- ") + row.sigma)) << line;
    }
}

} // namespace
} // namespace zam1
