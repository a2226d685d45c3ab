// The overview's row choice: the close query first, and the current project's
// name changes only when the chosen file was really read.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/app/overview_commands.h"
#include "core/files/project_file.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/session/program_state.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

class OverviewCommands : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("zam1-overviewcmd-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder / "tmp");
        state->prompter = &prompter;
        state->desktop = &desktop;
        state->config.tempDirectory = (folder / "tmp").string();
        state->file.dataDirectory = folder.string();
        welle = project("welle.zm1", 1);
        rad = project("Rad.ZM1", 2);
        broken = (folder / "kaputt.zm1").string();
        ASSERT_EQ(writeFileSafely(broken, std::string_view("kein Projekt\r\n")), kIoOk);
        // The user is editing a project of his own.
        state->file.currentFile = "eigen";
        state->chain.setElementCount(1);
        state->chain.element(1).distance = 4.5L;
        state->file.modified = true;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string project(const std::string& name, long double distance) {
        Chain chain;
        chain.setElementCount(1);
        chain.element(1).distance = distance;
        const std::string path = (folder / name).string();
        EXPECT_EQ(writeFileSafely(path, projectFileText(chain, {}, state->documentation, {})), kIoOk);
        return path;
    }
    long double distance() const { return state->chain.element(1).distance; }

    fs::path folder;
    std::string welle, rad, broken;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    test::TestPrompter prompter;
    HeadlessDesktop desktop;
};

TEST_F(OverviewCommands, TheScanLeavesTheOpenProjectAlone) {
    const OverviewScan scan = scanDataDirectory(*state);
    ASSERT_EQ(scan.rows.size(), 3u);
    EXPECT_EQ(scan.rows[0].path, rad);  // name order, "*.zm1" in any case
    EXPECT_FALSE(scan.rows[1].readable);
    EXPECT_EQ(distance(), 4.5L);
    EXPECT_TRUE(state->file.modified);
    EXPECT_EQ(state->file.currentFile, "eigen");
}

TEST_F(OverviewCommands, ARowBecomesTheCurrentProjectOnlyWhenItWasRead) {
    struct Row {
        const char* name;
        std::string* path;
        Answer answer;
        bool opened;
        const char* current;
        long double distance;
    };
    const Row rows[] = {
        {"close query cancelled", &rad, Answer::Cancel, false, "eigen", 4.5L},
        {"unreadable file", &broken, Answer::No, false, "eigen", 4.5L},
        {"readable file", &welle, Answer::No, true, "welle", 1.0L},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        prompter.answer(row.answer);
        EXPECT_EQ(openOverviewRow(*state, *row.path), row.opened);
        EXPECT_EQ(state->error.isSet(), !row.opened);
        EXPECT_EQ(state->file.currentFile, row.current);
        EXPECT_EQ(state->file.modified, !row.opened) << "the edited project stays flagged until replaced";
        EXPECT_EQ(distance(), row.distance);
    }
    EXPECT_EQ(state->file.dataDirectory, folder.string());
    EXPECT_EQ(state->file.recentFiles[0], welle);
}

} // namespace
} // namespace zam1
