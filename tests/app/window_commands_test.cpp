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
#include "core/app/file_commands.h"
#include "core/files/save_project.h"
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
    using P = WindowStartPlan::Project;
    struct Case { std::vector<std::string> arguments; bool window; P project; std::string name; bool flag; };
    const Case cases[] = {
        {{}, true, P::None, "", false},
        {{"welle.zm1"}, true, P::Read, "welle.zm1", false},
        {{"welle.zm1", "/NOGUI"}, true, P::Read, "welle.zm1", false},  // "/NOGUI" alone asks for nothing headless
        {{"welle.zm1", "/g"}, true, P::Read, "welle.zm1", false},      // "/g" is not "/G": an ordinary load
        {{"welle", "/G"}, true, P::NameOnly, "welle", true},           // "/E" and "/G" read no project
        {{"welle", "/E"}, true, P::NameOnly, "welle", false},
        {{"welle.edi", "/e"}, true, P::NameOnly, "welle.edi", false},
        {{"welle"}, false, P::None, "", false},                        // no extension: the command line says so
        {{"welle.zm1", "/I"}, false, P::None, "", false},
        {{"welle.zm1", "/i", "/nogui"}, false, P::None, "", false},
        {{"welle.zm1", "/cad1:3"}, false, P::None, "", false},
        {{"?"}, false, P::None, "", false},
        {{"/?"}, false, P::None, "", false},
        {{"--help"}, false, P::None, "", false},
        {{"-h"}, false, P::None, "", false},
        {{"--iso", "H7", "25"}, false, P::None, "", false},
        {{"welle.zm1", "--analyse"}, false, P::None, "", false},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const std::string& a : c.arguments) shown += a + " ";
        SCOPED_TRACE(shown);
        EXPECT_EQ(wantsWindow(c.arguments), c.window);
        const WindowStartPlan plan = windowStart(c.arguments);
        EXPECT_EQ(plan.project, c.project);
        EXPECT_EQ(plan.name, c.name);
        EXPECT_EQ(plan.startFlag, c.flag);
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
        ASSERT_TRUE(fileOpen(state));
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
    ASSERT_TRUE(fileOpen(state));
    EXPECT_EQ(state.file.recentFiles[1], "/a/eins.zm1");
    EXPECT_EQ(state.file.recentFiles[3], "/a/drei.zm1");
}

TEST_F(WindowCommands, CancelledOrUnreadableOpenKeepsTheProjectAndSetsTheErrorFlag) {
    open();
    prompter.cancel(ScriptedPrompter::Kind::OpenFile);
    EXPECT_FALSE(fileOpen(state));
    EXPECT_TRUE(state.error.isSet());
    const std::string missing = folder.path() + "/fehlt.zm1";
    prompter.openFile(missing);
    EXPECT_FALSE(fileOpen(state));
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
    for (DiagramKind kind : {kDiagramOverall, kDiagramScheme, kDiagramToScale, kDiagramNormalDistribution}) {
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

namespace zam1::test {
namespace {

// The interactive start with a project name: read it, or start a new project
// under that name when the file may be created; "/E" and "/G" only keep the
// name; without a project the template "null.zm1" of the data directory starts.
TEST(WindowStart, TheStartPlanReadsCreatesOrKeepsTheName) {
    using P = WindowStartPlan::Project;
    TempFolder folder;
    const std::string garbage = folder.file("kaputt.zm1");
    std::ofstream(garbage, std::ios::binary) << "das ist kein Projekt\r\n";
    const std::string templates = folder.path() + "/vorlagen";
    std::filesystem::create_directories(templates);
    std::filesystem::copy_file(kExample, templates + "/null.zm1");
    const std::string otherEnding = folder.file("welle.alt");
    std::filesystem::copy_file(kExample, otherEnding);
    struct Case {
        const char* what;
        P project;
        std::string name;
        bool withTemplate;
        std::vector<Answer> answers;
        bool started;
        bool read;
        std::string currentFile;
        bool hasElements;
    };
    const Case cases[] = {
        {"readable", P::Read, kExample, false, {}, true, true, "getriebewelle", true},
        // as Open keeps it: Save writes the file that was read, not welle.zm1 beside it
        {"readable, another ending", P::Read, otherEnding, false, {}, true, true, otherEnding, true},
        {"missing: a new project", P::Read, folder.file("neu.zm1"), false, {}, true, false, folder.file("neu.zm1"), false},
        {"folder missing", P::Read, folder.path() + "/fehlt/neu.zm1", false, {}, false, false, "", false},
        {"unreadable, kept", P::Read, garbage, false, {Answer::No}, false, false, "", false},
        {"unreadable, replaced", P::Read, garbage, false, {Answer::Yes}, true, false, garbage, false},
        {"/E keeps the name", P::NameOnly, "projekt.edi", false, {}, true, false, "projekt.edi", false},
        {"/E and a template", P::NameOnly, "projekt.edi", true, {}, true, false, "", true},
        {"nothing", P::None, "", false, {}, true, false, "", false},
        {"nothing and a template", P::None, "", true, {}, true, false, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestPrompter prompter;
        for (const Answer a : c.answers) prompter.answer(a);
        HeadlessDesktop desktop;
        ProgramState state;
        state.prompter = &prompter;
        state.desktop = &desktop;
        state.configDirectory = folder.path();
        state.config.dataDirectory = c.withTemplate ? templates : folder.path();
        state.config.tempDirectory = folder.path();
        WindowStartPlan plan;
        plan.project = c.project;
        plan.name = c.name;
        bool read = false;
        EXPECT_EQ(startWindowSession(state, plan, read), c.started);
        if (!c.started) {
            EXPECT_TRUE(c.answers.empty() ? !prompter.errors().empty() : true);
            continue;
        }
        EXPECT_EQ(read, c.read);
        EXPECT_EQ(state.file.currentFile, c.currentFile);
        if (c.read) {
            EXPECT_EQ(std::filesystem::path(currentProjectPath(state)), std::filesystem::path(c.name));
        }
        EXPECT_EQ(state.chain.elementCount() > 0, c.hasElements);
        EXPECT_FALSE(state.error.isSet());
    }
}

} // namespace
} // namespace zam1::test
