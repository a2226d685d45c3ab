// The main report: golden files of the example project on every kind of device
// and language, and the cases at the edges of the element and closing tables.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale>

#include "core/model/resolution.h"
#include "core/report/calculation_reports.h"
#include "core/report/main_report.h"
#include "tests/model/chain_builder.h"
#include "tests/report/example_project.h"

namespace zam1::test {
namespace {

enum class Form { Standard, Excerpt, Export, ChainListing };

struct GoldenCase {
    const char* golden;
    int language;
    ReportDevice device;
    Form form;
    const char* file; // what the device leaves in the work folder
};

std::string produce(const GoldenCase& c) {
    ReportHarness h(c.language);
    ExampleProject p = loadExample(h);
    Chain& chain = *p.chain;
    bool ok = false;
    switch (c.form) {
    case Form::Standard: ok = writeStandardReport(chain, h.out(), c.device); break;
    case Form::Excerpt: ok = writeExcerptReport(chain, h.out(), c.device); break;
    case Form::Export: ok = writeExportReport(chain, h.out(), h.folder.file(c.file)); break;
    case Form::ChainListing: {
        h.settings.defaultDevice = c.device;
        int choice = 3; // "Luftspalt Sensor": its ends lie on two branches
        h.prompter.choose(3);
        ok = reportChainListing(chain, h.out(), choice);
        break;
    }
    }
    EXPECT_TRUE(ok) << c.golden;
    // Reports that name the file they were written to name a fresh folder each run.
    std::string report = h.read(c.file);
    const std::string folder = h.folder.path() + "/";
    for (std::size_t at = report.find(folder); at != std::string::npos; at = report.find(folder, at)) {
        report.erase(at, folder.size());
    }
    return report;
}

TEST(MainReport, ExampleProjectMatchesTheGoldenFiles) {
    const GoldenCase cases[] = {
        {"standard_de.txt", kGerman, kReportDosFile, Form::Standard, "OUTDOS.TXT"},
        {"standard_en.txt", kEnglish, kReportDosFile, Form::Standard, "OUTDOS.TXT"},
        {"excerpt_de.txt", kGerman, kReportDosFile, Form::Excerpt, "OUTDOS.TXT"},
        {"excerpt_en.txt", kEnglish, kReportDosFile, Form::Excerpt, "OUTDOS.TXT"},
        {"export_de.zam", kGerman, kReportFile, Form::Export, "getriebewelle.zam"},
        {"export_en.zam", kEnglish, kReportFile, Form::Export, "getriebewelle.zam"},
        {"chain_listing_de.txt", kGerman, kReportDosFile, Form::ChainListing, "OUTDOS.TXT"},
        {"chain_listing_en.txt", kEnglish, kReportDosFile, Form::ChainListing, "OUTDOS.TXT"},
        {"standard_de.htm", kGerman, kReportHtml, Form::Standard, "KORVANT.htm"},
        {"standard_en.htm", kEnglish, kReportHtml, Form::Standard, "KORVANT.htm"},
        {"standard_de_spreadsheet.txt", kGerman, kReportSpreadsheet, Form::Standard, "getriebewelle$$$1.txt"},
    };
    for (const GoldenCase& c : cases) {
        expectGolden(c.golden, produce(c));
    }
}

// A German locale (decimal comma) must not leak into any number of the report.
TEST(MainReport, GermanLocaleChangesNothing) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 missing: run scripts/bootstrap";
    const std::locale previous = std::locale::global(std::locale("de_DE.UTF-8"));
    const std::string report = produce({"standard_de.txt", kGerman, kReportDosFile, Form::Standard, "OUTDOS.TXT"});
    const std::string html = produce({"standard_de.htm", kGerman, kReportHtml, Form::Standard, "KORVANT.htm"});
    std::locale::global(previous);
    std::setlocale(LC_ALL, before.c_str());
    expectGolden("standard_de.txt", report);
    expectGolden("standard_de.htm", html);
}

TEST(MainReport, HtmlPassesTidy) {
    ASSERT_EQ(std::system("command -v tidy >/dev/null 2>&1"), 0) << "tidy missing: run scripts/bootstrap";
    ReportHarness h;
    ExampleProject p = loadExample(h);
    p.chain->element(1).text = "<b>Lager & Co";
    ASSERT_TRUE(writeStandardReport(*p.chain, h.out(), kReportHtml));
    // tidy: 0 clean, 1 warnings only, 2 errors.
    const std::string command = "tidy -q -e -latin1 '" + h.folder.file("KORVANT.htm") + "' 2>/dev/null";
    EXPECT_LT(WEXITSTATUS(std::system(command.c_str())), 2);
    EXPECT_NE(h.read("KORVANT.htm").find("&lt;b&gt;Lager &amp; Co"), std::string::npos);
}

TEST(MainReport, ChainWithoutClosingDimensionsListsElementsAndEmptyTables) {
    ReportHarness h;
    Chain chain;
    fill(chain, {{0, true, 10, 0.1L, -0.1L}, {1, false, 4, 0, -0.05L}});
    chain.element(1).text = "Welle";
    chain.element(2).text = "";
    ASSERT_TRUE(writeStandardReport(chain, h.out(), kReportSpreadsheet));
    const std::string report = h.read("welle$$$1.txt");
    const std::string expected =
        "El.\t Vorg.\t   \xF1\t   Nennma\xE1\t  ob.Abm.\t unt.Abm.\t    ISO\t   Text\r\n"
        "  1\t     0\t   +\t    10.000\t    0.100\t   -0.100\t   .....\t   Welle\r\n"
        "  2\t     1\t   -\t     4.000\t    0.000\t   -0.050\t   .....\t   ..................\r\n"
        "999\t\t\t\t\t\t\t\r\n"
        "\r\n\r\n\r\nSchlie\xE1ma\xE1" "e bei konstanter Verteilung\r\n"
        "Dis\ttanz\t   Nennma\xE1\t   ob.T.\t  u.Tol.\t  Gr\x94\xE1tma\xE1\t    Kl.ma\xE1\t Bemerkung\r\n"
        "\r\nSchlie\xE1ma\xE1" "e bei Gau\xE1scher Normalverteilung\r\n"
        "Dis\ttanz\t   Mit.ma\xE1\t   ob.T.\t  u.Tol.\t  Gr\x94\xE1tma\xE1\t    Kl.ma\xE1\t Bemerkung\r\n";
    EXPECT_NE(report.find(expected), std::string::npos) << report;
    EXPECT_EQ(report.find("Wahrscheinlichkeit"), std::string::npos);
    // The dots an element without text gets in the report stay in the element.
    EXPECT_EQ(chain.element(2).text, "..................");
}

TEST(MainReport, PrintersAskForANewPageAfterTheElementList) {
    {
        ReportHarness h;
        Chain chain;
        fill(chain, {{0, true, 10, 0.1L, -0.1L}});
        h.prompter.yesNo(true);
        ASSERT_TRUE(writeExcerptReport(chain, h.out(), kReportWindowsPrinter));
        const std::string& text = h.out().contents();
        EXPECT_LT(text.find("999"), text.find('\f'));
        EXPECT_LT(text.find('\f'), text.find("Schlie\xE1ma\xE1" "e bei konstanter"));
        EXPECT_EQ(h.prompter.log().front(), "yesno: Neue Seite nach Elementliste ?");
    }
    {
        ReportHarness h;
        Chain chain;
        h.prompter.cancel(ScriptedPrompter::Kind::YesNo);
        EXPECT_FALSE(writeStandardReport(chain, h.out(), kReportWindowsPrinter));
        EXPECT_TRUE(h.error.isSet());
        EXPECT_TRUE(h.desktop.log().empty());
        EXPECT_TRUE(std::filesystem::is_empty(h.folder.path()));
    }
}

} // namespace
} // namespace zam1::test
