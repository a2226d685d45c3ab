// Closing dimensions whose structure cannot be resolved, through every report:
// nothing throws, the structure error is printed where the numbers would stand,
// and no row or block shows the numbers of another closing dimension.
#include <gtest/gtest.h>

#include <functional>

#include "core/model/chain.h"
#include "core/report/calculation_reports.h"
#include "core/report/cross_reference.h"
#include "core/report/main_report.h"
#include "tests/model/chain_builder.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

// Closing dimension 1 is sound and easy to recognise: its nominal is 777.777.
// Closing dimension 2 is the malformed one of the case.
struct Malformed {
    const char* name;
    int from, to;
    std::function<void(Chain&)> damage; // changes the chain after it was built
    bool resolves;                      // a negative end counts as element 0
    const char* words;                  // what the reports say in its place
};

void build(Chain& chain, const Malformed& m, bool withBad) {
    fill(chain, {{0, true, 777.777L, 0.1L, -0.1L}, {0, true, 5, 0.02L, 0}, {2, false, 3, 0.01L, -0.01L},
                 {3, true, 1, 0.03L, -0.01L}});
    if (m.damage) m.damage(chain);
    chain.setClosingCount(withBad ? 2 : 1);
    chain.closing(1) = {0, 1, "gut", ""};
    chain.closing(2) = {m.from, m.to, "kaputt", ""};
}

const Malformed kCases[] = {
    {"negative end", -1, 4, nullptr, true, nullptr},
    {"end beyond the chain", 1, 3000, nullptr, false, "Fehler im Massaufbau zwischen Element 1 und 3000 !"},
    {"end far beyond the chain", 2147483647, 3, nullptr, false, "Fehler im Massaufbau zwischen Element 2147483647 und 3 !"},
    {"end equal to start", 3, 3, nullptr, false, "Undefinierter Abstand !"},
    {"cycle", 0, 4, [](Chain& c) { c.element(2).predecessor = 3; }, false, "Fehler im Massaufbau zwischen Element 0 und 4 !"},
    {"own predecessor", 4, 1, [](Chain& c) { c.element(4).predecessor = 4; }, false,
     "Fehler im Massaufbau zwischen Element 4 und 1 !"},
    {"predecessor outside", 0, 4, [](Chain& c) { c.element(3).predecessor = 99999; }, false,
     "Fehler im Massaufbau zwischen Element 0 und 4 !"},
};

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

struct Report {
    const char* name;
    ReportDevice device;
    const char* file;
    std::function<bool(Chain&, ReportHarness&)> write;
};

const Report kMainReports[] = {
    {"standard", kReportDosFile, "OUTDOS.TXT", [](Chain& c, ReportHarness& h) { return writeStandardReport(c, h.out(), kReportDosFile); }},
    {"excerpt", kReportDosFile, "OUTDOS.TXT", [](Chain& c, ReportHarness& h) { return writeExcerptReport(c, h.out(), kReportDosFile); }},
    {"export", kReportFile, "welle.zam", [](Chain& c, ReportHarness& h) { return writeExportReport(c, h.out(), h.folder.file("welle.zam")); }},
    {"html", kReportHtml, "KORVANT.htm", [](Chain& c, ReportHarness& h) { return writeStandardReport(c, h.out(), kReportHtml); }},
    {"spreadsheet", kReportSpreadsheet, "welle$$$1.txt", [](Chain& c, ReportHarness& h) { return writeStandardReport(c, h.out(), kReportSpreadsheet); }},
    {"cross reference", kReportDosFile, "OUTDOS.TXT", [](Chain& c, ReportHarness& h) { return writeCrossReferenceAll(c, h.out()); }},
    {"zero distances", kReportDosFile, "OUTDOS.TXT", [](Chain& c, ReportHarness& h) { return reportZeroDistances(c, h.out()); }},
};

std::string produce(const Report& r, const Malformed& m, bool withBad) {
    ReportHarness h;
    h.settings.defaultDevice = r.device;
    Chain chain;
    build(chain, m, withBad);
    EXPECT_TRUE(r.write(chain, h)) << r.name << ", " << m.name;
    return h.read(r.file);
}

TEST(MalformedClosing, MainReportsShowTheFaultInPlaceOfNumbers) {
    for (const Malformed& m : kCases) {
        for (const Report& r : kMainReports) {
            const std::string report = produce(r, m, true);
            const std::string alone = produce(r, m, false);
            const bool tables = std::string(r.name) == "standard" || std::string(r.name) == "excerpt" ||
                                std::string(r.name) == "export" || std::string(r.name) == "html" ||
                                std::string(r.name) == "spreadsheet";
            if (!m.resolves && tables) {
                // One row in each table, and the message section where it repeats the words.
                EXPECT_GE(count(report, m.words), 2u) << r.name << ", " << m.name;
                EXPECT_NE(report.find("BEMERKUNGEN"), std::string::npos) << r.name << ", " << m.name;
            }
            if (!m.resolves) {
                // The sound closing dimension's nominal appears as often as without the broken one.
                EXPECT_EQ(count(report, "777.777"), count(alone, "777.777")) << r.name << ", " << m.name;
            }
        }
    }
}

TEST(MalformedClosing, SingleClosingReportsSayWhyInsteadOfNumbers) {
    for (const Malformed& m : kCases) {
        for (const bool listing : {false, true}) {
            ReportHarness h;
            h.settings.defaultDevice = kReportDosFile;
            Chain chain;
            build(chain, m, true);
            // The sound one first, so that its sums would be the ones left behind.
            int choice = 1;
            h.prompter.choose(1).choose(2);
            ASSERT_TRUE(listing ? reportChainListing(chain, h.out(), choice) : reportClosingStatistics(chain, h.out(), choice));
            ASSERT_TRUE(listing ? reportChainListing(chain, h.out(), choice) : reportClosingStatistics(chain, h.out(), choice))
                << m.name;
            const std::string report = h.read("OUTDOS.TXT");
            if (m.resolves) {
                EXPECT_EQ(report.find("Fehler"), std::string::npos) << m.name;
                continue;
            }
            EXPECT_NE(report.find(m.words), std::string::npos) << m.name << (listing ? " listing" : " statistics");
            EXPECT_EQ(report.find("777.777"), std::string::npos) << m.name << (listing ? " listing" : " statistics");
            EXPECT_EQ(report.find(" X < "), std::string::npos) << m.name << ": no probability rows";
            EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{m.words}) << m.name;
        }
    }
}

} // namespace
} // namespace zam1::test
