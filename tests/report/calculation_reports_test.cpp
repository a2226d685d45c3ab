// The reports of one resolved distance at a time, the choice of a closing
// dimension, the zero distances and the cross references.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/report/calculation_reports.h"
#include "core/report/cross_reference.h"
#include "core/text/number_format.h"
#include "tests/model/chain_builder.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

//   0 -- 1 (+10 ±0.1) -- 2 (+20 +0.2/0)
//   0 -- 3 (+5 0/-0.05) -- 4 (-2 +0.1/-0.2)
void twoBranches(Chain& chain) {
    fill(chain, {{0, true, 10, 0.1L, -0.1L}, {1, true, 20, 0.2L, 0}, {0, true, 5, 0, -0.05L}, {3, false, 2, 0.1L, -0.2L}});
    const char* texts[] = {"Welle", "Bund", "H\x81lse", "Ring"};
    for (int n = 1; n <= 4; ++n) chain.element(n).text = texts[n - 1];
    deriveElementValues(chain);
}

void addClosing(Chain& chain, int from, int to, const char* text, const char* remark = "") {
    const int k = chain.closingCount() + 1;
    chain.setClosingCount(k);
    chain.closing(k) = {from, to, text, remark};
}

// The report lines without margin and line ends, and without the page header
// that starts the first page (up to the empty line after it).
std::vector<std::string> lines(const std::string& report) {
    std::vector<std::string> out;
    std::istringstream in(report);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.push_back(line.size() >= 7 ? line.substr(7) : std::string());
    }
    const auto headed = [&](std::size_t i) { return out.size() > i && out[i].find("Bl. 1") != std::string::npos; };
    if (headed(0) || headed(1)) {
        const auto body = std::find(out.begin(), out.end(), std::string());
        out.erase(out.begin(), body == out.end() ? body : body + 1);
    }
    return out;
}

TEST(CalculationReports, PathLineWalksUpOneSideAndDownTheOther) {
    struct Case {
        int from, to;
        std::string expected;
    };
    const Case cases[] = {
        {0, 2, "MASSAUFBAU : 0 <= 1 <= 2"},
        {1, 2, "MASSAUFBAU : 1 <= 2"},            // from is an ancestor of to
        {2, 1, "MASSAUFBAU : 2 => 1"},
        {2, 4, "MASSAUFBAU : 2 => 1 => 0 <= 3 <= 4"},
        {4, 0, "MASSAUFBAU : 4 => 3 => 0"},
    };
    for (const Case& c : cases) {
        ReportHarness h;
        Chain chain;
        twoBranches(chain);
        deriveElementValues(chain);
        const ClosingSolution solution = solveDistance(chain, c.from, c.to);
        ASSERT_TRUE(solution.resolved);
        ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
        writePathLine(h.out(), solution);
        const auto l = lines(h.out().contents());
        ASSERT_EQ(l.size(), 4u);
        EXPECT_EQ(l[0], "");
        EXPECT_EQ(l[2], c.expected) << c.from << " -> " << c.to;
        EXPECT_EQ(l[1], l[3]);
        h.out().closeOutput();
    }
}

TEST(CalculationReports, ClassicAndStatisticalBlocksLineUpInEveryLanguage) {
    const std::string b20(20, ' ');
    const std::vector<std::string> german = {
        "1. Klassische Methode mit konstanter Verteilung:", "",
        "  0 ===>   2      Gr\x94\xE1tmass   :   30.300" + b20 + " 0.300",
        "                  Nennmass    :   30.000" + std::string(10, ' ') + "  30.000 --------",
        "Spalt             Kleinstmass :   29.900" + b20 + "-0.100", "Bemerkung zum Spalt",
        "2. Statistische Methode mit Gau\xE1scher Normalverteilung", "",
        "  0 ===>   2      Gr\x94\xE1tmass   :   30.241" + b20 + " 0.141",
        "                  Mittelmass  :   30.100" + std::string(10, ' ') + "  30.100 --------",
        "Spalt             Kleinstmass :   29.959" + b20 + "-0.141", ""};
    for (const int language : {kGerman, kEnglish, kFrench}) {
        ReportHarness h(language);
        h.settings.separatorStyle = 4;
        Chain chain;
        twoBranches(chain);
        addClosing(chain, 0, 2, "Spalt", "Bemerkung zum Spalt");
        deriveElementValues(chain);
        const ClosingSolution solution = solveClosing(chain, 1);
        ASSERT_TRUE(solution.resolved);
        ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
        writeClassicBlock(h.out(), chain, solution, 1);
        writeStatisticalBlock(h.out(), chain, solution, 1);
        const auto l = lines(h.out().contents());
        if (language == kGerman) {
            EXPECT_EQ(l, german);
        }
        // Captions of any length keep the numbers in their columns.
        ASSERT_EQ(l.size(), german.size());
        for (const std::size_t i : {2u, 3u, 4u, 8u, 9u, 10u}) {
            EXPECT_EQ(l[i].substr(29), german[i].substr(29)) << "language " << language << " line " << i;
        }
        h.out().closeOutput();
    }
}

TEST(CalculationReports, ChainListingEndsOnTheClosingDimension) {
    struct Case {
        int from, to;
        std::vector<int> elementLines; // element numbers of the element lines, in order
        long double nominal;
    };
    const Case cases[] = {
        {2, 4, {2, 1, 0, 3, 4}, -27},
        {0, 2, {0, 1, 2}, 30},
        {2, 1, {2, 1}, -20},    // the far end is the shared element: it still closes the walk
        {3, 4, {3, 4}, -2},
    };
    for (const Case& c : cases) {
        ReportHarness h;
        h.settings.separatorStyle = 4;
        Chain chain;
        twoBranches(chain);
        addClosing(chain, c.from, c.to, "Luft");
        ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
        writeChainListing(h.out(), chain, 1);
        const auto l = lines(h.out().contents());
        // empty line, heading, caption, then element and step lines, then the summary
        ASSERT_GE(l.size(), 4u);
        EXPECT_EQ(l[1], "Luft MASSKETTE");
        std::vector<int> elements;
        std::string lastValue;
        for (std::size_t i = 3; i + 1 < l.size(); ++i) {
            if (l[i].compare(0, 29, std::string(29, ' ')) == 0) continue; // a step line
            elements.push_back(std::stoi(l[i].substr(0, 3)));
            lastValue = l[i].substr(27);
        }
        EXPECT_EQ(elements, c.elementLines) << c.from << " -> " << c.to;
        EXPECT_EQ(std::stold(lastValue), c.nominal) << c.from << " -> " << c.to;
        h.out().closeOutput();
    }
}

TEST(CalculationReports, SelectingAClosingDimension) {
    ClosingSolution solution;
    {
        ReportHarness h;
        Chain chain;
        twoBranches(chain);
        EXPECT_EQ(selectClosingDimension(chain, h.out(), 1, solution), 0);
        EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"keine kritischen Abstände definiert ..."});
        EXPECT_TRUE(h.error.isSet());
    }
    {
        ReportHarness h;
        Chain chain;
        twoBranches(chain);
        addClosing(chain, 0, 2, "Spalt", "zwischen Bund und Rand");
        addClosing(chain, 2, 4, "Luft");
        h.prompter.choose(3);   // "zurück .."
        EXPECT_EQ(selectClosingDimension(chain, h.out(), 7, solution), 0);
        EXPECT_EQ(h.prompter.log().front(),
                  "choice: kritischen Abstand wählen ... |   0 =>   2  Spalt  zwischen Bund und Rand |   2 =>   4  "
                  "Luft   | zurück ..");
        EXPECT_TRUE(h.error.isSet());
    }
    {
        // Zero tolerance: the message is shown and kept, and nothing is chosen.
        ReportHarness h;
        Chain chain;
        fill(chain, {{0, true, 10, 0, 0}});
        addClosing(chain, 0, 1, "Null");
        h.prompter.choose(1);
        EXPECT_EQ(selectClosingDimension(chain, h.out(), 1, solution), 0);
        EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"Toleranz = 0 ? !"});
        ASSERT_EQ(chain.messages.count(), 1);
        EXPECT_EQ(chain.messages.at(0), "Toleranz = 0 ? !");
    }
    {
        // A structure error is shown, but the choice stands.
        ReportHarness h;
        Chain chain;
        twoBranches(chain);
        addClosing(chain, 0, 2, "Spalt");
        addClosing(chain, 0, 5, "kaputt");
        chain.setElementCount(5);
        chain.element(5).predecessor = 5;
        chain.element(5).upperDev = 0.1L;
        h.prompter.choose(1).choose(2);
        EXPECT_EQ(selectClosingDimension(chain, h.out(), 1, solution), 1);
        EXPECT_TRUE(solution.resolved);
        EXPECT_EQ(selectClosingDimension(chain, h.out(), 1, solution), 2);
        EXPECT_FALSE(solution.resolved);
        EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"Fehler im Massaufbau zwischen Element 0 und 5 !"});
    }
}

TEST(CalculationReports, ProbabilityTablesNeedAProductionSigma) {
    ReportHarness h;
    Chain chain;
    twoBranches(chain);
    chain.productionSigma = 0;
    deriveElementValues(chain);
    const ClosingSolution solution = solveDistance(chain, 0, 2);
    ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
    writeProbabilityTables(h.out(), chain, solution.sums);
    const std::string text = h.out().contents();
    EXPECT_EQ(text.find(" X < "), std::string::npos);
    EXPECT_EQ(text.find(" < X < "), std::string::npos);
    ASSERT_EQ(chain.messages.count(), 1);
    h.out().closeOutput();
}

TEST(CalculationReports, ZeroDistancesNeedElementsAndListEveryElement) {
    {
        ReportHarness h;
        Chain chain;
        EXPECT_FALSE(reportZeroDistances(chain, h.out()));
        EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"Zuerst müssen die Maßelemente eingegeben werden !"});
        EXPECT_TRUE(std::filesystem::is_empty(h.folder.path()));
    }
    ReportHarness h;
    h.settings.defaultDevice = kReportDosFile;
    Chain chain;
    twoBranches(chain);
    addClosing(chain, 1, 2, "fremder Text", "fremde Bemerkung");
    ASSERT_TRUE(reportZeroDistances(chain, h.out()));
    const std::string text = h.read("OUTDOS.TXT");
    for (const char* path : {"MASSAUFBAU : 0 <= 1\r\n", "MASSAUFBAU : 0 <= 1 <= 2\r\n", "MASSAUFBAU : 0 <= 3\r\n",
                             "MASSAUFBAU : 0 <= 3 <= 4\r\n"}) {
        EXPECT_NE(text.find(path), std::string::npos) << path;
    }
    // The blocks name no closing dimension.
    EXPECT_EQ(text.find("fremd"), std::string::npos);
}

TEST(CrossReference, ListsTheClosingDimensionsAnElementTakesPartIn) {
    struct Case {
        int element;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {1, {"  2 ==>   4     quer", "  1 ==>   2     oben"}},   // the shared element of 1 -> 2 counts
        {0, {"  2 ==>   4     quer"}},                           // ends that meet only at element 0
        {3, {"  2 ==>   4     quer"}},
        {2, {"  2 ==>   4     quer", "  1 ==>   2     oben"}},
    };
    for (const Case& c : cases) {
        ReportHarness h;
        h.settings.separatorStyle = 4;
        h.settings.defaultDevice = kReportDosFile;
        Chain chain;
        twoBranches(chain);
        addClosing(chain, 2, 4, "quer");
        addClosing(chain, 1, 2, "oben");
        addClosing(chain, 1, 1, "Unsinn");   // no defined distance: left out
        h.prompter.type(std::to_string(c.element));
        ASSERT_TRUE(writeCrossReferenceOne(chain, h.out()));
        std::vector<std::string> expected = {"Element Nr." + std::to_string(c.element) +
                                             " ist beteiligt an folgenden kritischen Abst\x84nden:"};
        expected.insert(expected.end(), c.listed.begin(), c.listed.end());
        const std::string report = h.read("OUTDOS.TXT");
        EXPECT_NE(report.substr(0, report.find('\n')).find("Bl. 1"), std::string::npos) << "the first page has its header";
        auto l = lines(report);
        EXPECT_EQ(l, expected) << "element " << c.element;
    }
}

TEST(CrossReference, CancelledElementNumberWritesNothing) {
    ReportHarness h;
    Chain chain;
    twoBranches(chain);
    h.prompter.cancel(ScriptedPrompter::Kind::Text);
    EXPECT_FALSE(writeCrossReferenceOne(chain, h.out()));
    EXPECT_TRUE(h.error.isSet());
    EXPECT_TRUE(h.desktop.log().empty());
    EXPECT_TRUE(std::filesystem::is_empty(h.folder.path()));
}

TEST(CalculationReports, MessageDisplayOnTheScreenOrTheNoteThatAllWentWell) {
    {
        ReportHarness h;
        EXPECT_FALSE(reportMessages(MessageList{}, h.out()));
        EXPECT_EQ(h.prompter.log(), std::vector<std::string>{"note: Berechnung erfolgreich ohne Fehlermeldungen"});
        EXPECT_TRUE(h.desktop.log().empty());
    }
    ReportHarness h;
    MessageList messages;
    messages.add("Undefinierter Abstand !");
    ASSERT_TRUE(reportMessages(messages, h.out()));
    ASSERT_EQ(h.desktop.log().size(), 1u);
    EXPECT_NE(h.desktop.log()[0].find("(welle.txt)"), std::string::npos);
    const std::string& text = h.out().contents();
    EXPECT_LT(text.find("Bl. 1"), text.find("BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN"));
    EXPECT_NE(text.find("Undefinierter Abstand !"), std::string::npos);
}

TEST(CrossReference, EveryElementGetsItsSectionEvenWithoutClosingDimensions) {
    ReportHarness h;
    h.settings.defaultDevice = kReportDosFile;
    h.settings.separatorStyle = 1;
    Chain chain;
    twoBranches(chain);
    ASSERT_TRUE(writeCrossReferenceAll(chain, h.out()));
    const auto l = lines(h.read("OUTDOS.TXT"));
    const std::string thin(70, '-');
    std::vector<std::string> expected;
    for (int n = 1; n <= 4; ++n) {
        const std::vector<std::string> section = {
            thin, "Element Nr." + std::to_string(n) + " ist beteiligt an folgenden kritischen Abst\x84nden:", thin, thin, "",
            ""};
        expected.insert(expected.end(), section.begin(), section.end());
    }
    EXPECT_EQ(l, expected);
}

} // namespace
} // namespace zam1::test
