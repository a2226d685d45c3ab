#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/session/program_state.h"
#include "core/files/save_project.h"
#include "core/platform/clock.h"
#include "core/platform/file_io.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

class SaveProject : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zam1-save-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        state->prompter = &prompter;
        state->clock = &clock;
        state->file.dataDirectory = folder.string();
        state->chain.element(1).distance = 12.5L;
        state->chain.setElementCount(1);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string read(const fs::path& p) {
        std::string bytes;
        readWholeFile(p.string(), bytes);
        return bytes;
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    test::TestPrompter prompter;
    FixedClock clock{{2026, 12, 7, 10, 0, 0}};
};

TEST_F(SaveProject, NamesAreCompletedInTheDataDirectory) {
    EXPECT_EQ(projectFilePath("/daten", "welle"), "/daten/welle.zm1");
    EXPECT_EQ(projectFilePath("/daten", "welle.alt"), "welle.alt");
    EXPECT_EQ(projectFilePath("", "welle"), "welle.zm1");
    EXPECT_EQ(projectFilePath("/daten", "../a.b/welle"), "/daten/../a.b/welle.zm1");  // a dot in a folder is no extension

    ASSERT_TRUE(saveProject(*state, "welle", true));
    EXPECT_NE(read(folder / "welle.zm1").find("12.5000000"), std::string::npos);
    EXPECT_TRUE(prompter.log().empty() || prompter.log().back().rfind("status: ", 0) == 0);
}

TEST_F(SaveProject, TheSaveDialogChoosesFolderAndNameButNotTheExtension) {
    fs::create_directories(folder / "neu");
    prompter.saveFile((folder / "neu" / "Getriebe.txt").string());
    ASSERT_TRUE(saveProject(*state, "", true));
    EXPECT_TRUE(fs::exists(folder / "neu" / "Getriebe.zm1"));
    EXPECT_FALSE(fs::exists(folder / "neu" / "Getriebe.txt"));
    EXPECT_EQ(state->file.dataDirectory, (folder / "neu").string());
    EXPECT_EQ(state->file.currentFile, "Getriebe");

    prompter.cancel(ScriptedPrompter::Kind::SaveFile);
    state->error.clear();
    EXPECT_FALSE(saveProject(*state, "", true));
    EXPECT_TRUE(state->error.isSet());
}

TEST_F(SaveProject, OverwritingAsksUnlessItIsTheWorkingCopyOrSave) {
    const fs::path target = folder / "welle.zm1";
    ASSERT_EQ(writeFileSafely(target.string(), std::string_view("alt")), kIoOk);
    prompter.answer(Answer::No);
    EXPECT_FALSE(saveProject(*state, "welle", true));
    EXPECT_TRUE(state->error.isSet());
    EXPECT_EQ(read(target), "alt");
    EXPECT_EQ(prompter.log().back(), "question: " + target.string() + " existiert bereits.   überschreiben ?");

    state->error.clear();
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(saveProject(*state, "welle", true));
    EXPECT_NE(read(target), "alt");

    state->error.clear();
    ASSERT_EQ(writeFileSafely((folder / "AKTUELL.zm1").string(), std::string_view("alt")), kIoOk);
    EXPECT_TRUE(saveProject(*state, "AKTUELL", true)) << "the working copy is written without a question";
    EXPECT_TRUE(saveProject(*state, "welle", false)) << "Save writes over its own file";
}

TEST_F(SaveProject, AnUncreatableNameIsRefusedAndNothingIsDestroyed) {
    EXPECT_FALSE(saveProject(*state, (folder / "fehlt" / "welle").string(), true));
    EXPECT_TRUE(state->error.isSet());
    EXPECT_EQ(prompter.errors(),
              std::vector<std::string>{"Ungültiger Dateiname \"" + (folder / "fehlt" / "welle.zm1").string() + "\" !"});

    // A folder of that name is in the way: refused, the folder and its content stay.
    state->error.clear();
    fs::create_directories(folder / "ordner.zm1" / "inhalt");
    EXPECT_FALSE(saveProject(*state, "ordner", false));
    EXPECT_TRUE(fs::exists(folder / "ordner.zm1" / "inhalt"));
    EXPECT_EQ(entries(), 1u) << "no trial file left behind";
}

TEST_F(SaveProject, ArchiveModeKeepsTheCommandLineProject) {
    state->config.archiveMode = true;
    state->file.commandLineProject = true;
    EXPECT_FALSE(saveProject(*state, "welle", true));
    EXPECT_EQ(prompter.errors(),
              std::vector<std::string>{"File- und User- Befehle sind im Archivierungsmodus nicht möglich."});
    EXPECT_FALSE(fs::exists(folder / "welle.zm1"));
    state->error.clear();
    EXPECT_TRUE(saveProject(*state, "aktuell", true));
    EXPECT_TRUE(state->file.commandLineProject) << "archive mode keeps the flag";

    state->config.archiveMode = false;
    EXPECT_TRUE(saveProject(*state, "welle", true));
    EXPECT_FALSE(state->file.commandLineProject) << "the first write clears it";
}

} // namespace
} // namespace zam1
