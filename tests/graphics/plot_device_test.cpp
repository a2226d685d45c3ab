// The plot device with the window's plot port: the parameter dialog between the
// line choice and the confirmation, "0" standing for the line built from the
// parameters, and the drawing printed by the program itself when no plot program
// can run here.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/config/configuration.h"
#include "core/config/plot_settings.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/plot_port.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/error_flag.h"
#include "core/platform/file_io.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

class FakePlotPort final : public PlotPort {
public:
    std::optional<PlotSettings> editPlotSettings(const PlotSettings& plot) override {
        ++edits;
        if (!acceptDialog) return std::nullopt;
        PlotSettings edited = plot;
        edited.program = program;
        return edited;
    }
    bool printDrawing(GraphicsWindow& drawing, const PlotSettings& plot) override {
        printedRecords = drawing.displayList().size();
        printedWidth = drawing.settings().width;
        printedPaper = std::string(plotPaper(plot).name);
        return printSucceeds;
    }
    bool acceptDialog = true;
    bool printSucceeds = true;
    std::string program;
    int edits = 0;
    std::size_t printedRecords = 0;
    int printedWidth = 0;
    std::string printedPaper;
};

struct PlotFixture : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zam1-plot-" + std::to_string(::getpid()));
    DrawingSettings settings;
    PlotSettings plot;
    FakePlotPort port;
    test::TestPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    ErrorFlag error;

    PlotFixture() {
        fs::create_directories(dir);
        settings.tempFolder = dir.string();
    }
    ~PlotFixture() override { fs::remove_all(dir); }

    DrawingContext context() {
        DrawingContext c;
        c.prompter = &prompter;
        c.desktop = &desktop;
        c.clock = &clock;
        c.error = &error;
        c.plot = &port;
        c.plotSettings = &plot;
        return c;
    }
    // One run through the device choice: a sheet with a line and a text.
    bool run() {
        DrawingLayer l(settings, context());
        if (!l.startRun(kDeviceAsk)) return false;
        l.openSheet(0, 0, 160, 120);
        l.beginPage();
        l.setLayer(2);
        l.line(0, 0, 160, 120);
        l.text("Ma\xe1", 10, 10);
        l.endPage();
        printsItself = l.printsItself();
        l.finishRun();
        return !error.isSet();
    }
    bool printsItself = false;
};

TEST_F(PlotFixture, WithoutARunnablePlotProgramTheDrawingIsPrinted) {
    struct Row {
        const char* name;
        std::string stored;     // the configured command line
        std::string confirmed;  // what the user leaves in the confirmation
        std::string program;    // the plot program of the dialog
        bool printed;
        std::string started;    // the desktop's log of a started program
    };
    const Row rows[] = {
        {"the DOS default, confirmed", kDefaultPlotCommand, kDefaultPlotCommand, "", true, ""},
        {"0 without a plot program", "/bin/true x", "0", "", true, ""},
        {"0 with a plot program", "/bin/true x", "0", "/bin/echo", false, "start /bin/echo " + (dir / "pendraw.dxf").string()},
        {"a runnable line", kDefaultPlotCommand, "/bin/true -p", "", false, "start /bin/true -p"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        error.clear();
        settings.plotCommandLines = {row.stored};
        port.program = row.program;
        port.printedRecords = 0;
        prompter.device(kDevicePlot).type(row.confirmed);
        EXPECT_TRUE(run());
        EXPECT_EQ(printsItself, row.printed);
        EXPECT_EQ(port.printedRecords > 0, row.printed);
        if (row.printed) {
            EXPECT_EQ(port.printedPaper, "A4");
            EXPECT_EQ(port.printedWidth, 2204) << "4:3 within A4 landscape at 200 dpi";
            EXPECT_FALSE(fs::exists(dir / "pendraw.dxf")) << "nothing for a plot program";
        } else {
            ASSERT_FALSE(desktop.log().empty());
            EXPECT_EQ(desktop.log().back(), row.started);
            EXPECT_TRUE(fs::exists(dir / "pendraw.dxf"));
        }
        fs::remove(dir / "pendraw.dxf");
    }
    EXPECT_EQ(port.edits, 4) << "the parameter dialog comes before every confirmation";
}

TEST_F(PlotFixture, ABuiltLineNamesThePendrawFileAndIsStored) {
    plot.program = "/opt/plot/bin/plot";
    EXPECT_EQ(plotCommandLine(plot, "/tmp/a b/pendraw.dxf"), "/opt/plot/bin/plot \"/tmp/a b/pendraw.dxf\"");
    settings.plotCommandLines = {"alt"};
    port.program = "/bin/true";
    prompter.device(kDevicePlot).type("0");
    EXPECT_TRUE(run());
    EXPECT_EQ(settings.plotCommandLines[0], "/bin/true " + (dir / "pendraw.dxf").string());
}

TEST_F(PlotFixture, CancelledDialogOrPrintSetsTheErrorFlag) {
    settings.plotCommandLines = {kDefaultPlotCommand};
    port.acceptDialog = false;
    prompter.device(kDevicePlot);
    EXPECT_FALSE(run());
    EXPECT_TRUE(error.isSet());

    error.clear();
    port.acceptDialog = true;
    port.printSucceeds = false;
    prompter.device(kDevicePlot).type("");
    EXPECT_FALSE(run());
    EXPECT_TRUE(error.isSet());
}

TEST(PlotSettings, PaperFollowsTheOrientation) {
    PlotSettings plot;
    plot.paper = 1;
    plot.landscape = false;
    EXPECT_EQ(plotPaper(plot).widthMm, 297);
    plot.landscape = true;
    EXPECT_EQ(plotPaper(plot).widthMm, 420);
    plot.paper = 99;
    EXPECT_EQ(plotPaper(plot).name, "A4");
}

} // namespace
} // namespace zam1
