#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/files/working_copy.h"
#include "core/lang/language.h"
#include "core/platform/clock.h"
#include "core/platform/file_io.h"
#include "core/session/program_state.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

class WorkingCopy : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zam1-wcopy-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "anderswo");
        state->prompter = &prompter;
        state->clock = &clock;
        state->config.dataDirectory = folder.string();
        state->file.dataDirectory = (folder / "anderswo").string(); // the dialogs moved on
        change(5);
    }
    void TearDown() override { fs::remove_all(folder); }

    void change(long double distance) {
        state->chain.setElementCount(1);
        state->chain.element(1).distance = distance;
        state->file.modified = true;
    }
    void age(const fs::path& p, int minutes) {
        fs::last_write_time(p, fs::file_time_type::clock::now() - std::chrono::minutes(minutes));
    }
    std::string bytes(const fs::path& p) {
        std::string b;
        readWholeFile(p.string(), b);
        return b;
    }

    fs::path folder;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    test::TestPrompter prompter;
    FixedClock clock{{2026, 12, 7, 10, 0, 0}};
};

TEST_F(WorkingCopy, IsWrittenQuietlyUnderTheLanguagesName) {
    struct Row {
        int language;
        const char* file;
    };
    const Row rows[] = {{1, "aktuell.zm1"}, {2, "actual.zm1"}, {3, "actuel.zm1"}, {4, "attuale.zm1"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        loadLanguage(state->texts, row.language);
        change(row.language);
        EXPECT_EQ(writeWorkingCopy(*state), WorkingCopyWrite::Written);
        EXPECT_NE(bytes(folder / row.file).find(std::to_string(row.language) + ".0000000"), std::string::npos);
        EXPECT_TRUE(prompter.log().empty()) << "nothing shown";
        EXPECT_FALSE(state->error.isSet());
        EXPECT_TRUE(state->file.modified);
    }
}

TEST_F(WorkingCopy, NeverTouchesTheUsersOwnFileOfThatName) {
    const fs::path own = folder / "aktuell.zm1";
    ASSERT_EQ(writeFileSafely(own.string(), std::string_view("eigenes Projekt")), kIoOk);
    state->file.currentFile = "aktuell";
    state->file.dataDirectory = folder.string();
    EXPECT_EQ(writeWorkingCopy(*state), WorkingCopyWrite::CurrentFile);
    dropWorkingCopy(*state);
    EXPECT_EQ(bytes(own), "eigenes Projekt");
}

TEST_F(WorkingCopy, ArchiveModeAndTheOverwriteQuestionKnowEveryLanguagesName) {
    state->config.archiveMode = true;
    state->file.commandLineProject = true;
    state->file.dataDirectory = folder.string();
    for (const char* name : {"aktuell", "actual", "actuel", "attuale", "atual"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(writeFileSafely((folder / (std::string(name) + ".zm1")).string(), std::string_view("alt")), kIoOk);
        EXPECT_TRUE(saveProject(*state, name, true)) << "written without a question";
    }
    EXPECT_FALSE(saveProject(*state, "welle", true));
    EXPECT_EQ(prompter.errors().back(), "File- und User- Befehle sind im Archivierungsmodus nicht möglich.");
}

TEST_F(WorkingCopy, ANewerCopyIsOfferedAtStart) {
    struct Row {
        const char* name;
        bool withProject;
        int projectAge;   // minutes
        bool asked;
        Answer answer;
        bool restored;
        bool copyLeft;
    };
    const Row rows[] = {
        {"older than the project", true, 1, false, Answer::Cancel, false, true},
        {"newer: Yes restores", true, 10, true, Answer::Yes, true, true},
        {"newer: No drops it", true, 10, true, Answer::No, false, false},
        {"newer: Cancel keeps it", true, 10, true, Answer::Cancel, false, true},
        {"no project at start", false, 0, true, Answer::Yes, true, true},
    };
    const fs::path copy = folder / "aktuell.zm1";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        change(8);
        ASSERT_EQ(writeWorkingCopy(*state), WorkingCopyWrite::Written);
        age(copy, 5);
        change(1);
        state->file.modified = false;
        state->file.currentFile.clear();
        if (row.withProject) {
            ASSERT_TRUE(writeProjectFile(*state, (folder / "welle.zm1").string()));
            age(folder / "welle.zm1", row.projectAge);
            state->file.currentFile = "welle";
            state->file.dataDirectory = folder.string();
        }
        if (row.asked) prompter.answer(row.answer);
        EXPECT_EQ(offerWorkingCopy(*state), row.restored);
        if (row.asked) {
            const std::string question = "question: Ungesicherte Eingaben wiederherstellen (" + copy.string() + ") ?";
            EXPECT_NE(std::find(prompter.log().begin(), prompter.log().end(), question), prompter.log().end());
        }
        EXPECT_EQ(state->chain.element(1).distance, row.restored ? 8 : 1);
        EXPECT_EQ(state->file.modified, row.restored);
        EXPECT_EQ(fs::exists(copy), row.copyLeft);
    }
    fs::remove(copy);
    EXPECT_FALSE(offerWorkingCopy(*state)) << "no copy, no question";
}

} // namespace
} // namespace zam1
