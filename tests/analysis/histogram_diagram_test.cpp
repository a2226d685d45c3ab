// The Monte Carlo histogram on the sheet: every bar, the curve and the limits
// lie on the 160 x 120 mm sheet, the limits stand where their values are, and a
// closing dimension without samples draws only its text.
#include <gtest/gtest.h>

#include "core/analysis/analysis.h"
#include "core/analysis/histogram_diagram.h"
#include "tests/analysis/analysis_chains.h"
#include "tests/diagrams/recorded_run.h"

namespace zam1::test {
namespace {

TEST(HistogramDiagram, BarsCurveAndLimitsLieOnTheSheet) {
    struct Row {
        const char* name;
        std::optional<long double> lower, upper;
    };
    for (const Row& row : {Row{"both limits inside", 0.3L, 0.7L}, Row{"limits far outside", -5, 6},
                           Row{"no limits", std::nullopt, std::nullopt}, Row{"upper only", std::nullopt, 0.55L}}) {
        SCOPED_TRACE(row.name);
        Chain chain;
        build(chain, {{0, true, 10, 0.1L, -0.1L}, {0, true, 9.5L, 0.05L, -0.05L}}, {{1, 2}});
        AnalysisData data;
        data.limits[1] = {row.lower, row.upper};
        const AnalysisResult result = analyseChain(chain, data, samples(5000));
        RecordedRun run;
        drawHistogramDiagram(*run.layer, result.closings.at(0), 3);
        EXPECT_EQ(run.outside({0, 0, 160, 120}), std::vector<std::string>{});
        EXPECT_GE(run.count("line "), 4u * 30) << "bars of four lines each";
        const auto lowerLabel = row.lower ? run.findText("UGW " + fixedText(*row.lower, 0, 4, false)) : std::nullopt;
        const auto upperLabel = row.upper ? run.findText("OGW " + fixedText(*row.upper, 0, 4, false)) : std::nullopt;
        EXPECT_EQ(lowerLabel.has_value(), row.lower.has_value());
        EXPECT_EQ(upperLabel.has_value(), row.upper.has_value());
        if (lowerLabel && upperLabel) {
            EXPECT_LT(lowerLabel->x, upperLabel->x);
        }
    }
}

TEST(HistogramDiagram, WithoutSamplesOnlyTheTextIsDrawn) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 5, 0.1L, -0.1L}}, {{2, 2}});
    const AnalysisResult result = analyseChain(chain, AnalysisData{}, samples(100));
    RecordedRun run;
    drawHistogramDiagram(*run.layer, result.closings.at(0), 3);
    EXPECT_EQ(run.count("line "), 0u);
    EXPECT_TRUE(run.findText("Undefinierter Abstand !").has_value());
}

} // namespace
} // namespace zam1::test
