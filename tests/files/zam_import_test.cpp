// Import of an export report: what the export writes must come back as the same
// project (exported again it gives the same bytes), whatever the language, page
// breaks or odd records; anything else is refused and leaves the project alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "core/app/report_setup.h"
#include "core/files/zam_import.h"
#include "core/model/chain.h"
#include "core/records/documentation.h"
#include "core/report/main_report.h"
#include "tests/model/chain_builder.h"
#include "tests/report/example_project.h"

namespace zam1::test {
namespace {

// The export of a project, as the program writes it for `path` on the fixed clock.
std::string exportOf(Chain& chain, const ProjectTexts& texts, int language,
                     const std::function<void(ReportHarness&)>& setup = nullptr) {
    ReportHarness h(language);
    if (setup) setup(h);
    h.heading = projectHeading(texts, kExamplePath, true);
    const std::string file = h.folder.file("export.zam");
    EXPECT_TRUE(writeExportReport(chain, h.out(), file));
    return h.read("export.zam");
}

struct Imported {
    std::unique_ptr<Chain> chain = std::make_unique<Chain>();
    ProjectTexts texts;
    ZamImportResult result;
};

Imported import(const std::string& bytes, const ProjectTexts& kept) {
    Imported i;
    i.texts = kept; // drawing name and number are not the report's
    i.result = parseZamReport(bytes, *i.chain, i.texts);
    return i;
}

void expectSameProject(const Chain& a, const Chain& b, const ProjectTexts& ta, const ProjectTexts& tb) {
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(ta.remarkLines[i].view(), tb.remarkLines[i].view()) << "remark " << i;
    ASSERT_EQ(a.elementCount(), b.elementCount());
    for (int n = 1; n <= a.elementCount(); ++n) {
        SCOPED_TRACE("element " + std::to_string(n));
        const Element& x = a.element(n);
        const Element& y = b.element(n);
        EXPECT_EQ(x.predecessor, y.predecessor);
        EXPECT_EQ(x.positive != 0, y.positive != 0);
        EXPECT_NEAR(static_cast<double>(x.distance), static_cast<double>(y.distance), 5e-4);
        EXPECT_NEAR(static_cast<double>(x.upperDev), static_cast<double>(y.upperDev), 5e-4);
        EXPECT_NEAR(static_cast<double>(x.lowerDev), static_cast<double>(y.lowerDev), 5e-4);
        EXPECT_EQ(x.isoLetters.view(), y.isoLetters.view());
        EXPECT_EQ(x.isoGrade, y.isoGrade);
        EXPECT_EQ(x.remark.view(), y.remark.view());
    }
    ASSERT_EQ(a.closingCount(), b.closingCount());
    for (int k = 1; k <= a.closingCount(); ++k) {
        SCOPED_TRACE("closing " + std::to_string(k));
        EXPECT_EQ(a.closing(k).fromElement, b.closing(k).fromElement);
        EXPECT_EQ(a.closing(k).toElement, b.closing(k).toElement);
        EXPECT_EQ(a.closing(k).text.view(), b.closing(k).text.view());
        EXPECT_EQ(a.closing(k).remark.view(), b.closing(k).remark.view());
    }
}

struct Project {
    std::unique_ptr<Chain> chain = std::make_unique<Chain>();
    ProjectTexts texts;
};

Project example() {
    ReportHarness h;
    ExampleProject e = loadExample(h);
    return {std::move(e.chain), e.texts};
}

// 150 elements with remarks: the element list and the Info table run over pages.
Project longProject() {
    Project p;
    p.texts.remarkLines = {"Lange Kette", "", "mit Seitenumbruch"};
    Chain& c = *p.chain;
    c.setElementCount(150);
    for (int n = 1; n <= 150; ++n) {
        Element& e = c.element(n);
        e.predecessor = n - 1;
        e.positive = n % 7 == 0 ? 0 : 1;
        e.distance = 1.25L * n;
        e.upperDev = 0.01L * (n % 5);
        e.lowerDev = -0.02L;
        e.text = "Teil " + std::to_string(n);
        e.remark = "Bemerkung zu Teil " + std::to_string(n);
    }
    c.setClosingCount(2);
    c.closing(1) = {0, 150, "Gesamt", "ganze Kette"};
    c.closing(2) = {20, 130, "Mitte", ""};
    return p;
}

// Odd records: empty texts, negative directions, ISO codes, a closing dimension
// that cannot be resolved, remarks on the closing dimensions.
Project oddProject(bool closingRemarks) {
    Project p;
    p.texts.remarkLines = {"", "Zweite Zeile", ""};
    Chain& c = *p.chain;
    fill(c, {{0, true, 40, 0, -0.16L}, {1, false, 12, 0.1L, -0.1L}, {1, true, 8.5L, 0.05L, 0}, {3, false, 30, 0, 0}});
    c.element(1).text = "";
    c.element(1).isoLetters = "h";
    c.element(1).isoGrade = 11;
    c.element(2).text = "Scheibe";
    c.element(3).isoLetters = "JS";
    c.element(3).isoGrade = 7;
    c.element(4).text = "  eingerückt";
    c.setClosingCount(3);
    c.closing(1) = {2, 4, "Spalt", closingRemarks ? "muss offen bleiben" : ""};
    c.closing(2) = {1, 999, "kaputt", closingRemarks ? "zeigt auf nichts" : ""};
    c.closing(3) = {-1, 3, "", ""};
    return p;
}

struct RoundTrip {
    const char* name;
    int language;
    std::function<Project()> project;
    std::function<void(ReportHarness&)> setup;
    bool pageBreaks;
};

TEST(ZamImport, ExportImportExportGivesTheSameBytes) {
    const RoundTrip cases[] = {
        {"example, German", kGerman, example, nullptr, true},
        {"example, English", kEnglish, example, nullptr, true},
        {"150 elements with remarks", kGerman, longProject, nullptr, true},
        {"150 elements, English", kEnglish, longProject, nullptr, true},
        {"odd records with closing remarks", kGerman, [] { return oddProject(true); }, nullptr, false},
        {"odd records, English", kEnglish, [] { return oddProject(true); }, nullptr, false},
        {"two decimals with a decimal comma", kGerman,
         [] {
             Project p = longProject();
             p.chain->decimals = 2;
             return p;
         },
         [](ReportHarness& h) { h.settings.numbers.decimalComma = true; }, true},
        {"frame of stars", kGerman, example, [](ReportHarness& h) { h.settings.separatorStyle = 1; }, true},
    };
    for (const RoundTrip& c : cases) {
        SCOPED_TRACE(c.name);
        Project original = c.project();
        const std::string first = exportOf(*original.chain, original.texts, c.language, c.setup);
        if (c.pageBreaks) {
            ASSERT_NE(first.find("Bl. 2"), std::string::npos) << "no page header to pass over";
        }
        Imported back = import(first, original.texts);
        ASSERT_EQ(back.result.status, ZamImportStatus::Ok) << "line " << back.result.line;
        expectSameProject(*original.chain, *back.chain, original.texts, back.texts);
        EXPECT_EQ(back.chain->decimals, original.chain->decimals);
        EXPECT_EQ(exportOf(*back.chain, back.texts, c.language, c.setup), first);
    }
}

TEST(ZamImport, RecordsTheReportShowsOnlyInPartComeBackAsFarAsShown) {
    Project p = oddProject(false);
    Imported back = import(exportOf(*p.chain, p.texts, kGerman), p.texts);
    ASSERT_EQ(back.result.status, ZamImportStatus::Ok);
    const Chain& c = *back.chain;
    EXPECT_TRUE(c.element(1).text.empty()); // 18 dots
    EXPECT_EQ(c.element(4).text.view(), "  eingerückt");
    EXPECT_EQ(c.element(2).positive, 0);
    EXPECT_EQ(c.element(3).isoLetters.view(), "JS");
    EXPECT_EQ(c.element(3).isoGrade, 7);
    EXPECT_FALSE(c.element(2).hasIsoCode());
    // The unresolved one keeps its ends; its text is nowhere in the report.
    EXPECT_EQ(c.closing(2).fromElement, 1);
    EXPECT_EQ(c.closing(2).toElement, 999);
    EXPECT_TRUE(c.closing(2).text.empty());
    EXPECT_EQ(c.closing(1).text.view(), "Spalt");
    EXPECT_EQ(c.closing(3).fromElement, -1);
}

int lineOf(const std::string& bytes, const std::string& what) {
    const std::size_t at = bytes.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n'));
}

struct Damage {
    const char* name;
    std::function<std::string(std::string)> damage;
    ZamImportStatus status;
    const char* lineOfText; // where reading must stop, when known
};

TEST(ZamImport, DamagedReportsAreRefusedAndLeaveTheProjectAlone) {
    Project source = example();
    const std::string good = exportOf(*source.chain, source.texts, kGerman);
    const auto replace = [](std::string what, std::string with) {
        return [what, with](std::string s) {
            const std::size_t at = s.find(what);
            EXPECT_NE(at, std::string::npos) << what;
            return s.replace(at, what.size(), with);
        };
    };
    const auto cutBefore = [](std::string what) {
        return [what](std::string s) { return s.substr(0, s.find(what)); };
    };
    const Damage cases[] = {
        {"empty file", [](std::string) { return std::string(); }, ZamImportStatus::NotReport, nullptr},
        {"a project file", [](std::string) { return readBytes(std::string(ZAM1_SOURCE_DIR) + "/" + kExamplePath); },
         ZamImportStatus::NotReport, nullptr},
        {"cut in the element list", cutBefore("   8     0   +"), ZamImportStatus::Damaged, nullptr},
        {"cut in the Info table", cutBefore("   5   Rillen"), ZamImportStatus::Damaged, nullptr},
        {"cut in the Gaussian table", cutBefore("  11  12     1.971"), ZamImportStatus::Damaged, nullptr},
        {"cut in the closing remarks", cutBefore("Nutende           Lage"), ZamImportStatus::Damaged, nullptr},
        {"letter in a distance", replace("    35.000", "    35.0x0"), ZamImportStatus::Damaged, "35.0x0"},
        {"letter in a closing tolerance", replace("0.687", "0.6o7"), ZamImportStatus::Damaged, "0.6o7"},
        // A number the project file could not save and read back.
        {"distance beyond the limit", replace("    35.000", "    1e+155"), ZamImportStatus::Damaged, "1e+155"},
        {"unknown direction", replace("   2     1   +", "   2     1   *"), ZamImportStatus::Damaged, "   2     1   *"},
        {"broken ISO code", replace("h11  ", "h1x  "), ZamImportStatus::Damaged, "h1x"},
        {"element row missing", replace("         4     3   +", "        x4     3   +"), ZamImportStatus::Damaged,
         "x4     3"},
        {"tables disagree", replace("  11  12     1.971", "  11  13     1.971"), ZamImportStatus::Damaged, "11  13"},
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.name);
        const std::string bytes = d.damage(good);
        Project untouched = oddProject(true);
        Imported i = import(bytes, untouched.texts);
        EXPECT_EQ(i.result.status, d.status);
        if (d.lineOfText != nullptr) {
            EXPECT_EQ(i.result.line, lineOf(bytes, d.lineOfText));
        }

        auto state = std::make_unique<ProgramState>();
        TestPrompter prompter;
        state->prompter = &prompter;
        loadLanguage(state->texts, kGerman);
        Project before = oddProject(true);
        state->chain = *before.chain;
        state->projectTexts = before.texts;
        ReportHarness h;
        const std::string path = h.folder.file("kaputt.zam");
        writeBytes(path, bytes);
        EXPECT_FALSE(importZamFile(*state, path));
        EXPECT_TRUE(state->error.isSet());
        EXPECT_FALSE(state->file.modified);
        ASSERT_EQ(prompter.errors().size(), 1u);
        const std::string expected = d.status == ZamImportStatus::NotReport ? "ist nicht im ZAM-Format" : "Zeile";
        EXPECT_NE(prompter.errors()[0].find(expected), std::string::npos) << prompter.errors()[0];
        expectSameProject(*before.chain, state->chain, before.texts, state->projectTexts);
    }
}

TEST(ZamImport, ImportReplacesChainAndRemarksButKeepsDrawingAndDocumentation) {
    Project source = example();
    const std::string report = exportOf(*source.chain, source.texts, kEnglish);
    auto state = std::make_unique<ProgramState>();
    TestPrompter prompter;
    state->prompter = &prompter;
    loadLanguage(state->texts, kGerman);
    state->chain = *oddProject(true).chain;
    state->projectTexts.drawingNumber = "Z-1";
    state->documentation.drawing.replaces = "bleibt";
    ReportHarness h;
    const std::string path = h.folder.file("welle.zam");
    writeBytes(path, report);
    ASSERT_TRUE(importZamFile(*state, path));
    EXPECT_FALSE(state->error.isSet());
    EXPECT_TRUE(state->file.modified);
    EXPECT_EQ(state->projectTexts.drawingNumber.view(), "Z-1");
    EXPECT_EQ(state->documentation.drawing.replaces.view(), "bleibt");
    EXPECT_EQ(state->projectTexts.remarkLines[0].view(), source.texts.remarkLines[0].view());
    ASSERT_EQ(state->chain.elementCount(), source.chain->elementCount());
    // Derived values are ready for the next calculation.
    EXPECT_NE(state->chain.element(2).signedNominal, 0);
}

} // namespace
} // namespace zam1::test
