#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/screen_backend.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "tests/graphics/recording_backend.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

class FailingDesktop final : public Desktop {
public:
    bool showTextFile(const std::string&, std::string_view) override { return false; }
    bool printTextFile(const std::string&) override { return false; }
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return false; }
    bool openInBrowser(const std::string&) override { return false; }
    bool copyToClipboard(std::string_view) override { return false; }
    void showGraphicsWindow() override {}
};

struct LayerFixture : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zam1-layer-" + std::to_string(::getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    DrawingSettings settings;
    test::TestPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    ErrorFlag error;
    GraphicsWindow window{WindowSettings{}, error};
    std::vector<std::string> log;

    LayerFixture() {
        fs::create_directories(dir);
        settings.tempFolder = dir.string();
    }
    ~LayerFixture() override { fs::remove_all(dir); }

    DrawingContext context(bool batch = false) {
        DrawingContext c;
        c.prompter = &prompter;
        c.desktop = &desktop;
        c.clock = &clock;
        c.error = &error;
        c.window = &window;
        c.batchCad = batch;
        c.projectName = (dir / "probe").string();
        c.projectFile = "/daten/probe.zm1";
        return c;
    }
    // A layer running into the recording back-end.
    DrawingLayer& recording() {
        layer = std::make_unique<DrawingLayer>(settings, context());
        layer->startRun(std::make_unique<test::RecordingBackend>(log));
        return *layer;
    }
    std::string read(const fs::path& p) {
        std::string bytes;
        readWholeFile(p.string(), bytes);
        return bytes;
    }
    std::unique_ptr<DrawingLayer> layer;
};

TEST_F(LayerFixture, TheDeviceIsAskedForAndCancellingEndsTheRun) {
    prompter.cancel(ScriptedPrompter::Kind::Device);
    DrawingLayer l(settings, context());
    EXPECT_FALSE(l.startRun(kDeviceAsk));
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(prompter.log().at(0), "device: CAD-Code | DXF | IGES | Kontrollausgabe auf Bildschirm | "
                                    "Ausgabe auf Laserprinter/Plotter mit PENDRAW | TXT");
    EXPECT_FALSE(l.startRun(kDeviceDxf));  // nothing starts while the error is pending
}

TEST_F(LayerFixture, TheSaveDialogNameGetsTheDevicesExtension) {
    struct Case { int device; std::string answer; std::string file; };
    const Case cases[] = {
        {kDeviceDxf, "zeichnung", "zeichnung.dxf"},
        {kDeviceIges, "a.b/zeichnung", "a.b/zeichnung.igs"},
        {kDeviceTxt, "zeichnung.cad", "zeichnung.cad"},
    };
    for (const Case& c : cases) {
        prompter.device(c.device).saveFile((dir / c.answer).string());
        DrawingLayer l(settings, context());
        ASSERT_TRUE(l.startRun(kDeviceAsk));
        EXPECT_EQ(l.outputFile(), (dir / c.file).string());
    }
    prompter.saveFile("");
    DrawingLayer l(settings, context());
    EXPECT_FALSE(l.startRun(kDeviceDxf));
    EXPECT_TRUE(error.isSet());
}

TEST_F(LayerFixture, BatchRunsWriteUnderTheProjectNameWithoutAsking) {
    DrawingLayer l(settings, context(true));
    ASSERT_TRUE(l.startRun(kDeviceTxt));
    l.openSheet(0, 0, 160, 120);
    l.beginPage();
    l.line(0, 0, 1, 1);
    l.endPage();
    l.finishRun();
    EXPECT_FALSE(error.isSet());
    EXPECT_EQ(read(dir / "probe.txt").substr(0, 7), "MINMAX\t");
}

TEST_F(LayerFixture, AFailedRunLeavesTheOldFileAndAFailedWriteIsReported) {
    writeFileSafely((dir / "probe.dxf").string(), std::string_view("old"));
    DrawingLayer l(settings, context(true));
    ASSERT_TRUE(l.startRun(kDeviceDxf));
    l.openSheet(0, 0, 160, 120);
    error.set();
    l.finishRun();
    EXPECT_EQ(read(dir / "probe.dxf"), "old");

    error.clear();
    DrawingContext missing = context(true);
    missing.projectName = (dir / "no-such-folder" / "probe").string();
    DrawingLayer m(settings, missing);
    ASSERT_TRUE(m.startRun(kDeviceDxf));
    m.finishRun();
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(prompter.errors().size(), 1u);
}

TEST_F(LayerFixture, LayerNumbersAboveThirtyOneFoldIntoSixteenToThirtyOne) {
    const std::pair<int, int> cases[] = {{40, 24}, {47, 31}, {31, 31}, {32, 16}, {5, 5}, {-3, 0}};
    DrawingLayer& l = recording();
    for (auto [asked, selected] : cases) {
        l.setLayer(asked);
        EXPECT_EQ(l.layer(), selected) << asked;
        EXPECT_EQ(log.back(), "layer " + std::to_string(selected));
    }
}

TEST_F(LayerFixture, TextIsPlacedByItsAlignment) {
    // "AB" with h = 2 and wf = 0.75 is 3 mm wide.
    struct Case { int h, v; const char* expected; };
    const Case cases[] = {
        {0, 0, "text AB 10.0000 20.0000"}, {1, 0, "text AB 8.5000 20.0000"}, {2, 0, "text AB 7.0000 20.0000"},
        {0, 1, "text AB 10.0000 19.0000"}, {0, 2, "text AB 10.0000 18.0000"}, {7, 9, "text AB 10.0000 20.0000"},
    };
    DrawingLayer& l = recording();
    l.textStyle(0, 1.5L, 2, 0);
    EXPECT_EQ(l.widthFactor(), 0.75L);
    for (const Case& c : cases) {
        l.setTextAlignment(c.h, c.v);
        l.text("AB", 10, 20);
        EXPECT_EQ(log.back(), c.expected) << c.h << "/" << c.v;
    }
    const std::size_t before = log.size();
    l.text("", 1, 1);
    EXPECT_EQ(log.size(), before);
}

TEST_F(LayerFixture, TextStyleWidthFactorAndTextLines) {
    settings.cadTextWidthFactor = 0.8L;
    DrawingLayer& l = recording();
    l.textStyle(0, 2, 4, 0);
    EXPECT_EQ(l.widthFactor(), 0.4L);
    l.textStyle(0, 0, 4, 0);
    EXPECT_EQ(l.widthFactor(), 0.8L * 0.7L);
    l.textStyle(0, 3, 0, 0);  // no height: no proportion, no division by zero
    EXPECT_EQ(l.widthFactor(), 0.8L * 0.7L);
    l.textStyle(0, 0, 2.5L, 0);
    l.setLineSpacing(2);
    l.moveTo(5, 50);
    l.textLine("eins");
    l.textLine("");
    l.textLine("drei");
    EXPECT_EQ(log.back(), "text drei 5.0000 34.0000");  // 50 - 2 * (2.5 * 1.6 * 2)
}

TEST_F(LayerFixture, TheOriginMovesEveryPointButNotTheSizes) {
    DrawingLayer& l = recording();
    l.setOrigin(100, 200);
    l.line(1, 2, 3, 4);
    l.circle(1, 1, 5);
    l.arc(1, 1, 0, 90, 5);
    l.insertBlock("B", 1, 1, 30, 2, 2);
    l.rectangle(0, 0, 1, 1);
    const std::vector<std::string> expected = {
        "line 101.0000 202.0000 103.0000 204.0000", "circle 101.0000 201.0000 5.0000",
        "arc 101.0000 201.0000 0.0000 90.0000 5.0000", "insert B 101.0000 201.0000 30.0000 2.0000 2.0000",
        "line 100.0000 200.0000 100.0000 201.0000", "line 100.0000 201.0000 101.0000 201.0000",
        "line 101.0000 201.0000 101.0000 200.0000", "line 101.0000 200.0000 100.0000 200.0000",
    };
    EXPECT_EQ(std::vector<std::string>(log.end() - 8, log.end()), expected);
}

TEST_F(LayerFixture, NothingReachesTheDeviceForEmptyOrUnusableGeometry) {
    DrawingLayer& l = recording();
    const std::size_t before = log.size();
    l.arc(10, 10, 0, 90, 0);
    l.circle(10, 10, 0);
    l.line(0, 0, std::numeric_limits<long double>::quiet_NaN(), 1);
    l.text("x", std::numeric_limits<long double>::infinity(), 1);
    EXPECT_EQ(log.size(), before);
    error.set();
    l.line(0, 0, 1, 1);
    EXPECT_EQ(log.size(), before);
}

TEST_F(LayerFixture, ArrowheadsScaleWithTheSymbolScaleAndTheDimensionFactor) {
    struct Case { long double factor, scale, length; };
    const Case cases[] = {{1, 1, 3.5L}, {2, 1, 7}, {0.001L, 2, 7}};
    for (const Case& c : cases) {
        settings.dimensionFactor = c.factor;
        log.clear();
        DrawingLayer& l = recording();
        l.setSymbolScale(c.scale);
        l.arrowhead(10, 20, 0);
        ASSERT_EQ(log.size(), 2u);
        const std::string L = fixedPlain(10 + c.length, 4);
        EXPECT_EQ(log[0].substr(0, 6 + L.size() + 8), "solid " + L + " 20.0000");
        EXPECT_EQ(log[1], "line " + L + " 20.0000 10.0000 20.0000");
    }
}

TEST_F(LayerFixture, ScreenPensFollowTheLayer) {
    settings.lineWidths16to31[0] = 1;
    settings.lineWidths16to31[1] = 60;
    settings.lineWidths16to31[2] = 7;
    DrawingLayer l(settings, context());
    ASSERT_TRUE(l.startRun(kDeviceScreen));
    struct Case { int layer; std::vector<std::string> records; };
    const Case cases[] = {
        {2, {"11;3", "8;14"}},           // dashed, CAD colour 2 (yellow), 1 pixel as before
        {1, {"11;2"}},                   // dash-dot, same colour and width
        {18, {"11;0", "8;10", "12;7"}},  // "Color Layer 18" 3 (green), 7 pixels
        {16, {"8;12", "12;1"}},          // a width of 1 stays 1
        {18, {"8;10", "12;7"}},
        {17, {"8;14", "12;1"}},          // 60 is out of range: 1 pixel
        {0, {"8;12"}},                   // layer 0 by its own colour 1 (red)
    };
    for (const Case& c : cases) {
        const std::size_t before = window.displayList().size();
        l.setLayer(c.layer);
        const DisplayList& list = window.displayList();
        EXPECT_EQ(std::vector<std::string>(list.begin() + static_cast<long>(before), list.end()), c.records)
            << "layer " << c.layer;
    }
}

TEST_F(LayerFixture, TheScreenRunShowsAFooterAndTheSheetFrame) {
    settings.printFrame = true;
    DrawingLayer l(settings, context());
    ASSERT_TRUE(l.startRun(kDeviceScreen));
    l.setLayer(2);
    l.openSheet(0, 0, 160, 120);
    const DisplayList& list = window.displayList();
    const auto footer = std::find_if(list.begin(), list.end(), [](const std::string& r) { return r.rfind("6;", 0) == 0; });
    ASSERT_NE(footer, list.end());
    EXPECT_EQ(*footer, "6;0.8;0.24;09.03.2024 14:05:30 - KORVANT ZAM1 V" ZAM1_VERSION " - /daten/probe.zm1");
    EXPECT_EQ(l.layer(), 2);  // the drawing goes on with its own layer
    l.beginPage();
    EXPECT_EQ(std::count(list.begin(), list.end(), "4;0;0;0;120"), 1);  // the frame, on the first page
    l.endPage();
    l.finishRun();
}

TEST_F(LayerFixture, BlocksOnScreenGoToTheirFileAndInsertsDrawThem) {
    writeFileSafely((dir / "$alt.dx$").string(), std::string_view("x"));
    DrawingLayer l(settings, context());
    ASSERT_TRUE(l.startRun(kDeviceScreen));
    l.openSheet(0, 0, 160, 120);
    const std::size_t before = window.displayList().size();
    l.beginBlock("FRAME_1");
    l.setLayer(5);
    l.line(0, 0, 10, 0);
    l.endBlock();
    const DisplayList& list = window.displayList();
    EXPECT_TRUE(std::none_of(list.begin() + static_cast<long>(before), list.end(),
                             [](const std::string& r) { return r.rfind("4;", 0) == 0; }));
    EXPECT_NE(read(dir / "$FRAME_1.dx$").find("LINE"), std::string::npos);

    l.beginPage();
    l.insertBlock("FRAME_1", 100, 50, 90, 2, 2);
    EXPECT_NE(std::find(window.displayList().begin(), window.displayList().end(), "4;100;50;100;70"),
              window.displayList().end());
    l.endPage();
    l.finishRun();
    EXPECT_FALSE(fs::exists(dir / "$FRAME_1.dx$"));
    EXPECT_FALSE(fs::exists(dir / "$alt.dx$"));
    EXPECT_FALSE(error.isSet());
}

TEST_F(LayerFixture, AMissingBlockFileOrFileIsReportedByName) {
    DrawingLayer l(settings, context());
    ASSERT_TRUE(l.startRun(kDeviceScreen));
    l.insertBlock("logo_1", 0, 0);
    const std::string path = (dir / "$logo_1.dx$").string();
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{path + " nicht gefunden !"});
    EXPECT_FALSE(error.isSet());  // the drawing goes on without the block
    EXPECT_FALSE(fileMustExist(path, prompter, error));
    EXPECT_TRUE(error.isSet());
}

TEST_F(LayerFixture, ABlockFileThatCannotBeMadeFailsOnlyItsBlock) {
    settings.tempFolder = (dir / "missing").string();
    DrawingLayer l(settings, context());
    ASSERT_TRUE(l.startRun(kDeviceScreen));
    l.beginBlock("FRAME_1");
    EXPECT_TRUE(error.isSet());
    l.line(0, 0, 1, 1);
    l.endBlock();
    EXPECT_FALSE(error.isSet());
    l.line(0, 0, 2, 2);
    EXPECT_EQ(window.displayList().back(), "4;0;0;2;2");
}

TEST_F(LayerFixture, ThePlotDeviceWritesPendrawDxfAndStartsTheCommandLine) {
    settings.plotCommandLines = {"/bin/true -a", "/bin/sh plot.sh"};
    prompter.device(kDevicePlot).choose(2).type("/bin/true \"mit blank\" /M1");
    DrawingLayer l(settings, context());
    ASSERT_TRUE(l.startRun(kDeviceAsk));
    EXPECT_EQ(l.outputFile(), (dir / "pendraw.dxf").string());
    EXPECT_EQ(settings.plotCommandLines[1], "/bin/true \"mit blank\" /M1");
    l.openSheet(0, 0, 160, 120);
    l.finishRun();
    EXPECT_EQ(read(dir / "pendraw.dxf").substr(0, 9), "  0\r\nSECT");
    EXPECT_EQ(desktop.log().back(), "start /bin/true mit blank /M1");
    const std::string status = "status: " + (dir / "pendraw.dxf").string() + " wird geplottet ..";
    EXPECT_NE(std::find(prompter.log().begin(), prompter.log().end(), status), prompter.log().end());
}

TEST_F(LayerFixture, PlotStartFailuresAreReported) {
    struct Case { std::string line; bool failingDesktop; const char* message; };
    const Case cases[] = {
        {"/no/such/pendraw x", false, "file not found"},
        {"", false, "file not found"},
        {"/bin/true", true, "Exec error 31"},
    };
    for (const Case& c : cases) {
        error.clear();
        settings.plotCommandLines = {c.line};
        FailingDesktop failing;
        DrawingContext ctx = context();
        if (c.failingDesktop) ctx.desktop = &failing;
        DrawingLayer l(settings, ctx);
        ASSERT_TRUE(l.startRun(kDevicePlot));
        l.finishRun();
        EXPECT_TRUE(error.isSet());
        EXPECT_EQ(prompter.errors().back(), c.message);
    }
}

// Keeps what the save dialog was opened with, besides answering as scripted.
class SaveDialogRecorder final : public test::TestPrompter {
public:
    bool chooseSaveFile(const FileChoice& choice, std::string& path) override {
        opened = choice;
        return TestPrompter::chooseSaveFile(choice, path);
    }
    FileChoice opened;
};

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size()) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

// The menu place of every device shows its title and starts it; a file device
// opens the save dialog with its title and a filter for its extension, and
// writes under that extension.
TEST_F(LayerFixture, EveryDeviceIsChosenByItsMenuPlace) {
    std::vector<std::string_view> extensions;
    for (const CadFormat& f : cadFormats()) {
        SCOPED_TRACE(std::string(f.title));
        error.clear();
        SaveDialogRecorder dialog;
        DrawingContext ctx = context();
        ctx.prompter = &dialog;
        dialog.device(f.device);
        if (f.output == DeviceOutput::File) dialog.saveFile((dir / "zeichnung").string());
        if (f.output == DeviceOutput::Plot) dialog.type("/bin/true");
        DrawingLayer l(settings, ctx);
        ASSERT_TRUE(l.startRun(kDeviceAsk));
        EXPECT_EQ(l.device(), f.device);
        const std::vector<std::string> menu = split(dialog.log().at(0), " | ");
        ASSERT_GT(menu.size(), static_cast<std::size_t>(f.device));
        EXPECT_EQ(menu[static_cast<std::size_t>(f.device)], f.title);
        if (f.output != DeviceOutput::File) {
            EXPECT_EQ(drawingFileExtension(f.device), "");
            continue;
        }
        ASSERT_FALSE(f.extension.empty());
        EXPECT_EQ(std::count(extensions.begin(), extensions.end(), f.extension), 0) << "two formats write ." << f.extension;
        extensions.push_back(f.extension);
        EXPECT_EQ(dialog.opened.title, f.title);
        EXPECT_EQ(dialog.opened.defaultExtension, f.extension);
        EXPECT_NE(dialog.opened.filter.find("*." + std::string(f.extension)), std::string::npos) << dialog.opened.filter;
        EXPECT_EQ(l.outputFile(), (dir / "zeichnung").string() + "." + std::string(f.extension));
    }
    for (const int place : {0, static_cast<int>(cadFormats().size()) + 1}) {
        SCOPED_TRACE(place);
        error.clear();
        prompter.device(place);
        DrawingLayer l(settings, context());
        EXPECT_FALSE(l.startRun(kDeviceAsk));
        EXPECT_TRUE(error.isSet());
    }
}

} // namespace
} // namespace zam1
