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
#include "core/model/chain.h"
#include "core/platform/clock.h"
#include "core/platform/file_io.h"
#include "core/platform/lock_file.h"
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
        const char* base;
    };
    const Row rows[] = {{1, "aktuell"}, {2, "actual"}, {3, "actuel"}, {4, "attuale"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.base);
        dropWorkingCopy(*state);
        loadLanguage(state->texts, row.language);
        change(row.language);
        EXPECT_EQ(writeWorkingCopy(*state), WorkingCopyWrite::Written);
        const fs::path copy = workingCopyPath(*state);
        EXPECT_EQ(copy, folder / (std::string(row.base) + "-" + std::to_string(::getpid()) + ".zm1"))
            << "an unnamed project: a name of this program's own";
        EXPECT_NE(bytes(copy).find(std::to_string(row.language) + ".0000000"), std::string::npos);
        EXPECT_TRUE(fs::exists(copy.string() + ".lock"));
        EXPECT_TRUE(prompter.log().empty()) << "nothing shown";
        EXPECT_FALSE(state->error.isSet());
        EXPECT_TRUE(state->file.modified);
    }
    dropWorkingCopy(*state);
    EXPECT_TRUE(fs::is_empty(folder / "anderswo"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "copy and lock gone";
}

TEST_F(WorkingCopy, NeverTouchesTheUsersOwnFileOfThatName) {
    const fs::path own = folder / "aktuell.zm1";
    ASSERT_EQ(writeFileSafely(own.string(), std::string_view("eigenes Projekt")), kIoOk);
    state->file.currentFile = "aktuell";
    state->file.dataDirectory = folder.string();
    EXPECT_EQ(writeWorkingCopy(*state), WorkingCopyWrite::Written);
    EXPECT_EQ(fs::path(workingCopyPath(*state)).filename(), "aktuell-aktuell.zm1");
    dropWorkingCopy(*state);
    EXPECT_EQ(bytes(own), "eigenes Projekt");
    fs::remove(own);
    // Nor is a project named like a copy, without a lock file, offered or removed.
    ASSERT_EQ(writeFileSafely((folder / "aktuell-welle.zm1").string(), std::string_view("auch eigenes")), kIoOk);
    state->file.currentFile.clear();
    EXPECT_FALSE(offerWorkingCopy(*state));
    EXPECT_EQ(bytes(folder / "aktuell-welle.zm1"), "auch eigenes");
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

TEST_F(WorkingCopy, ACopyLeftByAnEndedProgramIsOfferedForItsProject) {
    struct Row {
        const char* name;
        int projectAge;  // minutes; the copy is 5 minutes old
        bool asked;
        Answer answer;
        bool restored;
        bool copyLeft;
    };
    const Row rows[] = {
        {"older than the project", 1, false, Answer::Cancel, false, true},
        {"newer: Yes restores", 10, true, Answer::Yes, true, true},
        {"newer: No drops it", 10, true, Answer::No, false, false},
        {"newer: Cancel keeps it", 10, true, Answer::Cancel, false, true},
    };
    const fs::path project = folder / "welle.zm1";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().filename().string().starts_with("aktuell")) fs::remove(entry.path());
        }
        // The program that edited it ended without saving.
        fs::path copy;
        {
            ProgramState ended;
            ended.config.dataDirectory = folder.string();
            ended.file.dataDirectory = folder.string();
            ended.file.currentFile = "welle";
            ended.chain.setElementCount(1);
            ended.chain.element(1).distance = 8;
            ended.file.modified = true;
            ASSERT_EQ(writeWorkingCopy(ended), WorkingCopyWrite::Written);
            copy = workingCopyPath(ended);
        }
        age(copy, 5);
        change(1);
        state->file.modified = false;
        ASSERT_TRUE(writeProjectFile(*state, project.string()));
        age(project, row.projectAge);
        state->file.currentFile = "welle";
        state->file.dataDirectory = folder.string();
        if (row.asked) prompter.answer(row.answer);
        EXPECT_EQ(offerWorkingCopy(*state), row.restored);
        if (row.asked) {
            const std::string question = "question: Ungesicherte Eingaben wiederherstellen (" + project.string() + ") ?";
            EXPECT_NE(std::find(prompter.log().begin(), prompter.log().end(), question), prompter.log().end());
        }
        EXPECT_EQ(state->chain.element(1).distance, row.restored ? 8 : 1);
        EXPECT_EQ(state->file.modified, row.restored);
        EXPECT_EQ(fs::exists(copy), row.copyLeft);
        EXPECT_EQ(workingCopyPath(*state), row.restored ? copy.string() : std::string());
        dropWorkingCopy(*state);
    }
    fs::remove(folder / "aktuell-welle.zm1");
    EXPECT_FALSE(offerWorkingCopy(*state)) << "no copy, no question";
}

TEST_F(WorkingCopy, TheSharedCopyOfOlderVersionsIsOfferedAtAStartWithoutProject) {
    change(8);
    ASSERT_TRUE(writeProjectFile(*state, (folder / "aktuell.zm1").string()));
    change(1);
    state->file.modified = false;
    prompter.answer(Answer::Yes);
    EXPECT_TRUE(offerWorkingCopy(*state));
    EXPECT_NE(std::find(prompter.log().begin(), prompter.log().end(),
                        "question: Ungesicherte Eingaben wiederherstellen (" + (folder / "aktuell.zm1").string() + ") ?"),
              prompter.log().end());
    EXPECT_EQ(state->chain.element(1).distance, 8);
}

TEST_F(WorkingCopy, ASignalLeavesTheCopyWithItsLockFree) {
    struct Row {
        const char* name;
        bool modified;
        bool editorOpen;
        bool copyLeft;
    };
    const Row rows[] = {
        {"unsaved changes", true, false, true},
        {"an editor open on a saved project", false, true, true},
        {"nothing unsaved", false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramState ending;
        ending.config.dataDirectory = folder.string();
        ending.file.dataDirectory = folder.string();
        ending.file.currentFile = "welle";
        ending.file.modified = row.modified;
        if (row.editorOpen) {
            setWorkingCopyEditor(ending, [] {
                Chain typed;
                typed.setElementCount(1);
                typed.element(1).distance = 12.75L;
                return typed;
            });
        }
        saveWorkingCopyOnSignal(ending);
        const fs::path copy = folder / "aktuell-welle.zm1";
        EXPECT_EQ(fs::exists(copy), row.copyLeft);
        if (row.editorOpen) {
            EXPECT_NE(bytes(copy).find("12.75"), std::string::npos) << "what the editor holds";
        }
        if (!row.copyLeft) continue;
        LockFile successor;
        EXPECT_TRUE(successor.take(copy.string() + ".lock")) << "the next start may take it over";
        EXPECT_NE(successor.content().find((folder / "welle.zm1").string()), std::string::npos);
        fs::remove(copy);
        successor.removeAndRelease();
    }
}

} // namespace
} // namespace zam1
