// What the window asks of the core: which starts open it, its caption, and the
// first commands (open a project, choose a closing dimension, the diagrams on
// the screen device, the standard report handed to the desktop).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/app/command_line.h"
#include "core/session/program_state.h"
#include "core/app/view_commands.h"
#include "core/app/window_start.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/graphics_window.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "tests/report/report_harness.h"
#include "tests/support/scripted.h"

namespace zam1::test {
namespace {

const std::string kExample = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";

TEST(WindowStart, InteractiveStartsOpenTheWindowBatchModesDoNot) {
    struct Case { std::vector<std::string> arguments; bool window; std::string project; };
    const Case cases[] = {
        {{}, true, ""},
        {{"welle.zm1"}, true, "welle.zm1"},
        {{"welle.zm1", "/NOGUI"}, true, "welle.zm1"},  // "/NOGUI" alone asks for nothing headless
        {{"welle.zm1", "/g"}, true, "welle.zm1"},      // "/g" is not "/G": an ordinary load
        {{"welle", "/G"}, true, ""},                   // "/E" and "/G" load no project
        {{"welle", "/E"}, true, ""},
        {{"welle"}, false, ""},                        // no extension: the command line says so
        {{"welle.zm1", "/I"}, false, ""},
        {{"welle.zm1", "/i", "/nogui"}, false, ""},
        {{"welle.zm1", "/cad1:3"}, false, ""},
        {{"?"}, false, ""},
        {{"/?"}, false, ""},
        {{"--help"}, false, ""},
        {{"-h"}, false, ""},
        {{"--iso", "H7", "25"}, false, ""},
        {{"welle.zm1", "--analyse"}, false, ""},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments) shown += a + " ";
        EXPECT_EQ(wantsWindow(c.arguments), c.window) << shown;
        EXPECT_EQ(windowProject(c.arguments), c.project) << shown;
    }
}

TEST(WindowStart, TheCaptionNamesTheProjectWithItsExtension) {
    ProgramState state;
    EXPECT_EQ(windowCaption(state), "ZAM1 - Toleranzrechnung");
    state.file.currentFile = "welle";
    EXPECT_EQ(windowCaption(state), "ZAM1 - Toleranzrechnung  -  welle.zm1");
    state.file.currentFile = "welle.alt";
    EXPECT_EQ(windowCaption(state), "ZAM1 - Toleranzrechnung  -  welle.alt");
}

struct WindowCommands : ::testing::Test {
    TempFolder folder;
    TestPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    ProgramState state;
    GraphicsWindow window{WindowSettings{}, state.error};

    void SetUp() override {
        state.prompter = &prompter;
        state.desktop = &desktop;
        state.clock = &clock;
        state.config.tempDirectory = folder.path();
        state.file.recentFiles = {"/a/eins.zm1", "/a/zwei.zm1", "/a/drei.zm1", "/a/vier.zm1"};
    }
    void open() {
        prompter.openFile(kExample);
        ASSERT_TRUE(openProjectCommand(state));
    }
};

TEST_F(WindowCommands, OpenMakesTheProjectCurrentAndTheNewestRecentFile) {
    open();
    EXPECT_EQ(state.file.currentFile, "getriebewelle");
    EXPECT_EQ(state.file.dataDirectory, std::string(ZAM1_SOURCE_DIR) + "/examples");
    EXPECT_GT(state.chain.closingCount(), 0);
    EXPECT_EQ(state.file.recentFiles[0], std::filesystem::path(kExample).lexically_normal().string());
    EXPECT_EQ(state.file.recentFiles[1], "/a/eins.zm1");
    EXPECT_EQ(state.file.recentFiles[3], "/a/drei.zm1");  // the oldest fell out
    // Opened again, it moves to the top without pushing another entry out.
    prompter.openFile(kExample);
    ASSERT_TRUE(openProjectCommand(state));
    EXPECT_EQ(state.file.recentFiles[1], "/a/eins.zm1");
    EXPECT_EQ(state.file.recentFiles[3], "/a/drei.zm1");
}

TEST_F(WindowCommands, CancelledOrUnreadableOpenKeepsTheProjectAndSetsTheErrorFlag) {
    open();
    prompter.cancel(ScriptedPrompter::Kind::OpenFile);
    EXPECT_FALSE(openProjectCommand(state));
    EXPECT_TRUE(state.error.isSet());
    const std::string missing = folder.path() + "/fehlt.zm1";
    prompter.openFile(missing);
    EXPECT_FALSE(openProjectCommand(state));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_FALSE(prompter.errors().empty());
    EXPECT_EQ(state.file.currentFile, "getriebewelle");
    EXPECT_EQ(state.file.recentFiles[0], std::filesystem::path(kExample).lexically_normal().string());
}

TEST_F(WindowCommands, ClosingDimensionChoiceOffersEveryOneAndTheWayBack) {
    int closing = 0;
    EXPECT_FALSE(chooseClosingDimension(state, closing));  // an empty chain has none
    EXPECT_TRUE(state.error.isSet());
    ASSERT_EQ(prompter.errors().size(), 1u);

    open();
    prompter.choose(2);
    ASSERT_TRUE(chooseClosingDimension(state, closing));
    EXPECT_EQ(closing, 2);
    const int count = state.chain.closingCount();
    prompter.choose(count + 1);  // the last line is "back"
    EXPECT_FALSE(chooseClosingDimension(state, closing));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_EQ(closing, 2);
}

TEST_F(WindowCommands, DiagramsGoIntoTheWindowAndTheReportToTheDesktop) {
    open();
    for (int kind : {kDiagramOverall, kDiagramScheme, kDiagramToScale, kDiagramNormalDistribution}) {
        window.Clear();
        viewDiagram(state, window, kind, 1);
        EXPECT_FALSE(state.error.isSet()) << kind;
        EXPECT_GT(window.displayList().size(), 20u) << kind;
    }
    viewDiagram(state, window, kDiagramToScale, 99);  // no such closing dimension
    EXPECT_TRUE(state.error.isSet());

    viewStandardReport(state);
    EXPECT_FALSE(state.error.isSet());
    ASSERT_EQ(desktop.log().size(), 1u);
    EXPECT_EQ(desktop.log()[0].rfind("show ", 0), 0u) << desktop.log()[0];
}

} // namespace
} // namespace zam1::test
