#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/lang/language.h"
#include "core/session/program_state.h"
#include "core/config/config_file.h"
#include "core/platform/file_io.h"
#include "core/text/codepage.h"
#include "tests/config/config_rows_support.h"
#include "tests/support/lines.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

using test::joinLines;
using test::splitLines;

using test::kScreen;
using test::kStart;
using test::parsed;

// The default file, and the index of the line `offset` lines after a label.
struct DefaultFile {
    std::vector<std::string> lines = splitLines(configurationText(defaultConfiguration(kScreen, kStart)));
    std::size_t after(const std::string& label, std::size_t offset = 1) const {
        const std::string oem = utf8ToOem(label);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == oem) return i + offset;
        }
        ADD_FAILURE() << "no label " << label;
        return 0;
    }
};

TEST(Configuration, DefaultsWriteReadWriteAndAChangedOne) {
    const Configuration defaults = defaultConfiguration(kScreen, kStart);
    EXPECT_EQ(defaults.graphicsWidth, 1271);
    EXPECT_EQ(defaults.graphicsHeight, 933);
    EXPECT_EQ(defaults.dataDirectory, kStart);
    const std::string text = configurationText(defaults);
    EXPECT_EQ(splitLines(text).size(), 2u + 232u);
    EXPECT_EQ(configurationText(parsed(text)), text);

    Configuration c = defaults;
    c.layers[2] = {"Ma\xE1", 7};
    c.cadTextWidthFactor = 0.75L;
    c.cadDirectory = "/home/jörg/cad";
    c.decimals = 5;
    c.decimalSeparator = 2;
    c.zoomFactor = 1.25L;
    c.plotCommandCount = 3;
    c.plotCommands[1] = "plot --zwei";
    c.plotCommands[2] = "plot --drei";
    c.dateCode = 4;
    c.textWindow = {1, 2, 3, 4};
    c.default3d = {1.5L, -2, 0.25L};
    c.approvalText = "Freigabe";
    c.lineThickness16to31[15] = 9;
    c.language = 2;
    c.hideLogo = true;
    const std::string changed = configurationText(c);
    EXPECT_NE(changed.find("\r\n1.250000000\r\n"), std::string::npos) << "the point, whatever Dot=1 Komma=2 says";
    EXPECT_NE(changed.find("\r\n0.7500\r\n"), std::string::npos) << "short form, also with the point";
    const Configuration back = parsed(changed);
    EXPECT_EQ(configurationText(back), changed);
    EXPECT_EQ(back.cadDirectory, "/home/jörg/cad");
    EXPECT_EQ(back.plotCommands[2], "plot --drei");
    EXPECT_EQ(back.language, 2);
    EXPECT_TRUE(back.hideLogo);
}

TEST(Configuration, ReadingRules) {
    const DefaultFile file;
    struct Case {
        const char* label;
        std::size_t offset;
        const char* value;
        std::function<bool(const Configuration&)> holds;
    };
    const Case cases[] = {
        {"Textbreitenfaktor CAD", 1, "0", [](auto& c) { return c.cadTextWidthFactor == 1.0L; }},
        {"Druckerschnittstelle", 1, "0", [](auto& c) { return c.printerPort == 1; }},
        {"Druckertyp", 1, "x", [](auto& c) { return c.printerType == 0; }},
        {"Hardcopy um 90° gedreht ?", 1, "", [](auto& c) { return c.hardcopyRotated == 'N'; }},
        {"Hardcopy um 90° gedreht ?", 1, "Jawohl", [](auto& c) { return c.hardcopyRotated == 'J'; }},
        {"Dezimalstellen", 1, "0", [](auto& c) { return c.decimals == 3; }},
        {"Dezimalstellen", 1, "12", [](auto& c) { return c.decimals == 3; }},
        {"Dezimalstellen", 1, "9", [](auto& c) { return c.decimals == 9; }},
        {"Druckdicke vertikal", 1, "5", [](auto& c) { return c.printThicknessVertical == 1; }},
        {"Farbgrafik", 1, "yes", [](auto& c) { return !c.colourGraphics; }},
        {"Farbgrafik", 1, "true", [](auto& c) { return c.colourGraphics; }},
        {"GrafikKorrekturFaktor horizontal", 1, "0", [](auto& c) { return c.graphicsAspectCorrection == 1.0L; }},
        {"Auflösung horizontal", 1, "-1", [](auto& c) { return c.graphicsWidth == 1271; }},
        {"Auflösung horizontal", 1, "800", [](auto& c) { return c.graphicsWidth == 800; }},
        {"Auflösung vertikal", 1, "0", [](auto& c) { return c.graphicsHeight == 933; }},
        {"Druckerschnittstelle Hardcopy", 1, "0", [](auto& c) { return c.hardcopyPrinterPort == 1; }},
        {"Mode für Textausdruck 1:* 2:-", 1, "0", [](auto& c) { return c.separatorStyle == 1; }},
        {"Zeilen pro Seite für Drucker", 1, "4", [](auto& c) { return c.linesPerPage == 66; }},
        {"Zoomfaktor", 1, "abc", [](auto& c) { return c.zoomFactor == 1.02L; }},
        {"Zoomfaktor", 1, "1,5", [](auto& c) { return c.zoomFactor == 1.5L; }},
        {"Pan-Faktor", 1, "0", [](auto& c) { return c.panFactor == 0.01L; }},
        {"PENDRAW-Kommandozeile", 1, "", [](auto& c) { return c.plotCommands[0] == kDefaultPlotCommand; }},
        {"Windows-Druckmodus (1=mono 2=color)", 1, "0", [](auto& c) { return c.windowsPrintMode == 1; }},
        {"Textbreitenfaktor Grafik", 1, "0", [](auto& c) { return c.graphicsTextWidthFactor == 0.8L; }},
        {"Color Layer 20", 1, "0", [](auto& c) { return c.layerColours16to31[4] == 1; }},
        {"Windows Screendump Scale", 1, "0", [](auto& c) { return c.screendumpScale == 1.0L; }},
        {"Date Code", 1, "4", [](auto& c) { return c.dateCode == 4; }},
        {"Date Code", 1, "5", [](auto& c) { return c.dateCode == 1; }},
        {"Header Space Lines", 1, "31", [](auto& c) { return c.headerSpaceLines == 0; }},
        {"Text Device", 1, "10", [](auto& c) { return c.textDevice == 1; }},
        {"Dot=1 Komma=2", 1, "3", [](auto& c) { return c.decimalSeparator == 1; }},
        {"Default Data Directory", 1, "", [](auto& c) { return c.dataDirectory == kStart; }},
        {"Text Height Factor", 1, "0.05", [](auto& c) { return c.textHeightFactor == 1.0L; }},
        {"Input Window Scale %", 1, "5", [](auto& c) { return c.inputWindowScale == 100; }},
        {"Print Scale Vertical", 1, "0", [](auto& c) { return c.printScaleVertical == c.screendumpScale; }},
        {"Line thickness Layer 0..5", 3, "300", [](auto& c) { return c.lineThickness0to5[2] == 1; }},
        {"Text window left/top/width/height", 1, "1|2|0|4|", [](auto& c) { return c.textWindow[0] == 10; }},
        {"Text window left/top/width/height", 1, "1|2|3|4|",
         [](auto& c) { return c.textWindow == std::array<int, 4>{1, 2, 3, 4}; }},
        {"printout with header=1, header page 1 only=2", 1, "3", [](auto& c) { return c.printHeaderMode == 1; }},
        {"Text Font Printout", 1, "", [](auto& c) { return c.printFont == "Courier New"; }},
        {"Text Size Printout", 1, "0", [](auto& c) { return c.printFontSize == 10; }},
        {"Edit 3D x,y,z ?", 1, "yes", [](auto& c) { return c.edit3d; }},
        {"Edit 3D x,y,z ?", 1, "false", [](auto& c) { return !c.edit3d; }},
        {"3D - Default x,y,z", 5, "0", [](auto& c) { return c.spreadsheetNumberFormat == 2; }},
        {"3D - Default x,y,z", 6, "Gepr\x81" "ft", [](auto& c) { return c.approvalText == "Gepr\x81" "ft"; }},
        {"Decimals DXF,TXT", 1, "33", [](auto& c) { return c.cadDecimals == 6; }},
        {"CAD Text Mode", 1, "0", [](auto& c) { return c.cadTextMode == 1; }},
        {"CAD Text Mode", 1, "4", [](auto& c) { return c.cadTextMode == 4; }},
        {"Strichstärke Layer 16..31", 18, "5", [](auto& c) { return c.helpWindowScale == 100; }},
        {"Strichstärke Layer 16..31", 19, "3", [](auto& c) { return c.angleOutput == 2; }},
        {"Strichstärke Layer 16..31", 20, "0", [](auto& c) { return c.dimensionFactor == 1.0L; }},
        {"Strichstärke Layer 16..31", 21, "77", [](auto& c) { return c.reserved == 77; }},
        {"Strichstärke Layer 16..31", 22, "8", [](auto& c) { return c.language == 8; }},
        {"Strichstärke Layer 16..31", 27, "true", [](auto& c) { return c.hideLogo; }},
    };
    for (const Case& c : cases) {
        auto lines = file.lines;
        lines[file.after(c.label, c.offset)] = c.value;
        EXPECT_TRUE(c.holds(parsed(joinLines(lines)))) << c.label << " + " << c.offset << " = \"" << c.value << '"';
    }
}

TEST(Configuration, EarlyEnds) {
    Configuration written = defaultConfiguration(kScreen, kStart);
    written.cadTextWidthFactor = 1.5L;
    written.printerType = 7;
    written.printDensity = 4;
    written.hardcopyRotated = 'J';
    written.graphicsTextWidthFactor = 0.6L;
    written.graphicsTextStyle = "Courier";
    written.language = 3;
    const auto lines = splitLines(configurationText(written));
    const DefaultFile file;

    const Configuration afterPort = parsed(joinLines(lines, file.after("Druckerschnittstelle") + 1));
    EXPECT_EQ(afterPort.printerType, 3);
    EXPECT_EQ(afterPort.cadTextWidthFactor, 1.5L);
    EXPECT_EQ(afterPort.graphicsWidth, 1271) << "the screen rules apply at every stop";

    // Between two places where a file may end, missing lines read as empty ones.
    const Configuration afterDensity = parsed(joinLines(lines, file.after("Druckdichte") + 1));
    EXPECT_EQ(afterDensity.printDensity, 4);
    EXPECT_EQ(afterDensity.hardcopyRotated, 'N');
    EXPECT_EQ(afterDensity.decimals, 3);

    const Configuration afterMonochrome = parsed(joinLines(lines, file.after("Layer Monochrom") + 1));
    EXPECT_EQ(afterMonochrome.graphicsTextWidthFactor, 1.5L) << "taken from the CAD factor";
    EXPECT_EQ(afterMonochrome.graphicsTextStyle, "Arial");
    EXPECT_EQ(afterMonochrome.language, 0);

    const Configuration afterStyle = parsed(joinLines(lines, file.after("Textstil Grafik") + 1));
    EXPECT_EQ(afterStyle.graphicsTextWidthFactor, 0.6L);
    EXPECT_EQ(afterStyle.graphicsTextStyle, "Courier");

    EXPECT_EQ(parsed("").printerPort, 1);
    EXPECT_EQ(parsed("zam1 Konfiguration\r\n").printerType, 3);
}

TEST(Configuration, PlotCountBeyondFiveKeepsLaterRowsInPlace) {
    const DefaultFile file;
    auto lines = file.lines;
    const std::size_t count = file.after("PENDRAW Command lines (n, line 2 .. line n)");
    lines[count] = "7";
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(count) + 1, {"p2", "p3", "p4", "p5", "p6", "p7"});
    lines[file.after("Archive Flag ?") + 6] = "TRUE";
    const Configuration c = parsed(joinLines(lines));
    EXPECT_EQ(c.plotCommandCount, 5);
    EXPECT_EQ(c.plotCommands[4], "p5");
    EXPECT_TRUE(c.archiveMode);

    lines = file.lines;
    lines[count] = "-4";
    EXPECT_EQ(parsed(joinLines(lines)).plotCommandCount, 1);
    lines[count] = "2000000000"; // reads past the end, never loops that far
    EXPECT_EQ(parsed(joinLines(lines)).plotCommandCount, 5);
}

TEST(Configuration, HandWrittenFileOfTheOriginalLayout) {
    std::string bytes;
    ASSERT_EQ(readWholeFile(std::string(ZAM1_SOURCE_DIR) + "/examples/zam1.cfg", bytes), kIoOk);
    const Configuration c = parsed(bytes);
    EXPECT_EQ(c.layers[0].name, "Kontur");
    EXPECT_EQ(c.layers[0].colour, 7);
    EXPECT_EQ(c.cadTextWidthFactor, 0.8L);
    EXPECT_EQ(c.cadDirectory, "C:\\ZAM1\\CAD");
    EXPECT_EQ(c.helpLevel, 2);
    EXPECT_EQ(c.graphicsWidth, 1271);
    EXPECT_EQ(c.tempDirectory, "C:\\TEMP");
    EXPECT_EQ(c.linesPerPage, 72);
    EXPECT_EQ(c.zoomFactor, 1.05L);
    EXPECT_EQ(c.backgroundColour, 7);
    EXPECT_EQ(c.layerColours16to31[15], 16);
    EXPECT_EQ(c.textProgram, "C:\\WINDOWS\\WRITE.EXE");
    EXPECT_EQ(c.plotCommandCount, 2);
    EXPECT_EQ(c.plotCommands[1], "C:\\PENDRAW\\WPENDRAW PENDRAW.DXF /M2.0");
    EXPECT_EQ(c.headerSpaceLines, 2);
    EXPECT_TRUE(c.askTextDevice);
    EXPECT_EQ(c.decimalSeparator, 2);
    EXPECT_EQ(c.dataDirectory, "C:\\ZAM1\\DATEN");
    EXPECT_EQ(c.inputWindowScale, 110);
    EXPECT_EQ(c.indexStyle, 1);
    EXPECT_EQ(c.approvalText, "Freigabe");
    EXPECT_EQ(c.language, 2);
    // Written back in the same layout; only the labels of the unused options and
    // the screen size that "-1" stood for differ.
    std::string expected = bytes;
    const std::pair<std::string, std::string> differences[] = {
        {"Plotter Dialog ?", "Reserve 1 ?"},
        {"Plot Preview ?", "Reserve 2 ?"},
        {"Quick Plot ?", "Reserve 3 ?"},
        {utf8ToOem("Auflösung horizontal\r\n-1"), utf8ToOem("Auflösung horizontal\r\n1271")},
        {utf8ToOem("Auflösung vertikal\r\n-1"), utf8ToOem("Auflösung vertikal\r\n933")},
    };
    for (const auto& [from, to] : differences) expected.replace(expected.find(from), from.size(), to);
    EXPECT_EQ(configurationText(c), expected);
}

class SettingsFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("zam1-config-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "fallback");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    test::TestPrompter prompter;
    ErrorFlag error;
};

TEST_F(SettingsFiles, MissingFileLeavesDefaultsAndScreenValues) {
    Configuration c;
    c.language = 5;
    const ScreenInfo screen{1920, 1080, 120, 700, 600};
    EXPECT_FALSE(readConfiguration(dir.string(), c, screen, "/daten"));
    EXPECT_EQ(c.language, 0);
    EXPECT_EQ(c.textWindow[3], 1000);
    EXPECT_EQ(c.inputWindowScale, 137); // (700 / 646 + 0.009) * 1.25 * 100 = 136.6
    EXPECT_EQ(c.graphicsHeight, 989);
}

TEST_F(SettingsFiles, FolderChoiceWriteAndReadBack) {
    // A start directory with its own zam1.cfg (a shared set-up) wins; otherwise
    // both files belong in the per-user folder, even before it holds anything,
    // so that a start from a file manager leaves nothing in the home folder.
    const std::string start = dir.string();
    const std::string fallback = (dir / "korvant").string();
    struct Row {
        const char* name;
        bool startHasOne;
        bool fallbackHasOne;
        std::string expected;
    };
    const Row rows[] = {
        {"neither has one", false, false, fallback},
        {"only the per-user folder", false, true, fallback},
        {"only the start directory", true, false, start},
        {"both", true, true, start},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove_all(fallback);
        std::filesystem::remove(dir / "zam1.cfg");
        std::filesystem::remove(dir / "zam1.cff");
        Configuration c = defaultConfiguration(kScreen, start);
        c.helpLevel = 0;
        if (row.startHasOne) {
            ASSERT_TRUE(writeConfiguration(start, c, LanguageTexts{}.main, prompter, error));
        }
        if (row.fallbackHasOne) {
            ASSERT_TRUE(writeConfiguration(fallback, c, LanguageTexts{}.main, prompter, error));
        }
        const std::string chosen = configurationFolder(start, fallback);
        EXPECT_EQ(chosen, row.expected);
        // Written where it was chosen (the folder is made on the way), and read back from there.
        c.helpLevel = 2;
        ASSERT_TRUE(writeConfiguration(chosen, c, LanguageTexts{}.main, prompter, error));
        ASSERT_TRUE(writeRecentFiles(chosen, "/p", {"/p/a.zm1", "", "", ""}, LanguageTexts{}.main, prompter, error));
        Configuration back;
        EXPECT_TRUE(readConfiguration(chosen, back, kScreen, start));
        EXPECT_EQ(back.helpLevel, 2);
        EXPECT_EQ(std::filesystem::exists(dir / "zam1.cff"), row.expected == start) << "the start directory stays clean";
        EXPECT_EQ(configurationFolder(start, fallback), row.expected) << "the next start finds it";
    }
    EXPECT_FALSE(error.isSet());
}

TEST_F(SettingsFiles, UnwritableFileLetsTheUserGiveUp) {
    const std::string blocker = (dir / "blocker").string();
    ASSERT_EQ(writeFileSafely(blocker, std::string_view("x")), kIoOk);
    prompter.answer(Answer::Yes).answer(Answer::No);
    EXPECT_FALSE(writeConfiguration(blocker, Configuration{}, LanguageTexts{}.main, prompter, error));
    EXPECT_TRUE(error.isSet());
    const std::string question =
        "question: I/O-Error 3  " + blocker + "/zam1.cfg  Nochmals versuchen ?\nIst kein Verzeichnis";
    EXPECT_EQ(prompter.log(), (std::vector<std::string>{question, question}));
}

// What lies in the place of zam1.cfg: a link to a shared file is written
// through and stays a link; a folder of that name is kept and the user told; a
// file the settings were read from is replaced whole, no temporary left.
TEST_F(SettingsFiles, WhatStandsInTheWayOfTheFileIsKeptOrWrittenThrough) {
    namespace fs = std::filesystem;
    const fs::path file = dir / "zam1.cfg";
    const fs::path shared = dir / "fallback" / "shared.cfg";
    Configuration c = defaultConfiguration(kScreen, kStart);
    c.language = 2;
    const std::string expected = configurationText(c);
    const struct {
        const char* what;
        std::function<void()> prepare;
        bool written;
        fs::path holds;  // where the new settings are to be found
    } rows[] = {
        {"a link to a shared file",
         [&] {
             ASSERT_EQ(writeFileSafely(shared.string(), std::string_view("alt")), kIoOk);
             fs::create_symlink(shared, file);
         },
         true, shared},
        {"a folder of that name", [&] { fs::create_directories(file / "inside"); }, false, {}},
        {"an older file", [&] { ASSERT_EQ(writeFileSafely(file.string(), std::string_view("alt")), kIoOk); }, true, file},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(file);
        fs::remove(shared);
        row.prepare();
        ErrorFlag flag;
        test::TestPrompter asked;
        if (!row.written) asked.answer(Answer::No);  // not again
        EXPECT_EQ(writeConfiguration(dir.string(), c, LanguageTexts{}.main, asked, flag), row.written);
        EXPECT_EQ(flag.isSet(), !row.written);
        if (row.written) {
            std::string bytes;
            ASSERT_EQ(readWholeFile(row.holds.string(), bytes), kIoOk);
            EXPECT_EQ(bytes, expected);
            EXPECT_TRUE(asked.log().empty());
        } else {
            EXPECT_TRUE(fs::is_directory(file / "inside")) << "the folder is kept";
            ASSERT_EQ(asked.log().size(), 1u);
            EXPECT_NE(asked.log()[0].find("zam1.cfg  Nochmals versuchen ?"), std::string::npos) << asked.log()[0];
        }
        if (row.holds == shared) {
            EXPECT_TRUE(fs::is_symlink(file)) << "the link stays";
        }
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "zam1.cfg" || name == "fallback") << "left behind: " << name;
        }
    }
}

TEST_F(SettingsFiles, RecentFiles) {
    const std::string folder = dir.string();
    std::array<std::string, 4> files{"x", "y", "z", "w"};
    readRecentFiles(folder, files);
    EXPECT_EQ(files, (std::array<std::string, 4>{}));
    files = {"/p/eins.zm1", "/p/zwei mit ü.zm1", "", "/p/vier.zm1"};
    ASSERT_TRUE(writeRecentFiles(folder, "/p", files, LanguageTexts{}.main, prompter, error));
    std::string bytes;
    ASSERT_EQ(readWholeFile(folder + "/zam1.cff", bytes), kIoOk);
    EXPECT_EQ(bytes, "zam1 Session /p\r\n/p/eins.zm1\r\n/p/zwei mit \x81.zm1\r\n\r\n/p/vier.zm1\r\n");
    std::array<std::string, 4> back;
    readRecentFiles(folder, back);
    EXPECT_EQ(back, files);
    ASSERT_EQ(writeFileSafely(folder + "/zam1.cff", std::string_view("zam1 Session\nnur.zm1\n")), kIoOk);
    readRecentFiles(folder, back);
    EXPECT_EQ(back, (std::array<std::string, 4>{"nur.zm1", "", "", ""}));
}

} // namespace
} // namespace zam1
