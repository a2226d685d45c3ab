// The analysis report through the output channel: every report device gets it,
// with the page frame on the paged ones and tab-free lines on the spreadsheet
// ones; an umlaut in a closing dimension's text arrives in the device's code page.
#include <gtest/gtest.h>

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "tests/analysis/analysis_chains.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

TEST(AnalysisReport, GoesToEveryReportDevice) {
    Chain chain;
    build(chain, {{0, true, 10, 0.1L, -0.1L}, {0, true, 9.5L, 0.05L, -0.05L}}, {{1, 2}});
    chain.closing(1).text = "Spalt \x84u\xE1" "en";  // "Spalt äußen" as stored
    AnalysisData data;
    data.limits[1] = {0.3L, 0.7L};
    const AnalysisResult result = analyseChain(chain, data, samples(2000));
    struct Row {
        ReportDevice device;
        const char* file;
        bool header;           // page frame on the paged devices
        std::string umlaut;    // "ä" in the device's code page
    };
    const Row rows[] = {
        {kReportDosFile, "OUTDOS.TXT", true, "\x84"},
        {kReportSpreadsheet, "welle$$$1.txt", false, "\x84"},
        {kReportHtml, "KORVANT.htm", false, "\xE4"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        ReportHarness h;
        h.settings.defaultDevice = row.device;
        ASSERT_TRUE(reportAnalysis(result, "welle", h.out(), row.device));
        const std::string report = h.read(row.file);
        EXPECT_NE(report.find("Closing dimension 1  Spalt " + row.umlaut), std::string::npos);
        EXPECT_NE(report.find("Monte Carlo"), std::string::npos);
        EXPECT_NE(report.find("what to tighten"), std::string::npos);  // the dialog's report has the sensitivities
        EXPECT_EQ(report.find("Bl. 1") != std::string::npos, row.header);
    }
}

} // namespace
} // namespace zam1::test
