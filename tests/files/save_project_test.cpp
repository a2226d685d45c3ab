#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <memory>
#include <string>
#include <vector>

#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/text/codepage.h"
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
    // Questions asked since the last call.
    std::size_t questions() {
        std::size_t count = 0;
        for (; m_seen < prompter.log().size(); ++m_seen) count += prompter.log()[m_seen].starts_with("question: ");
        return count;
    }
    std::string lastQuestion() const {
        for (auto it = prompter.log().rbegin(); it != prompter.log().rend(); ++it) {
            if (it->starts_with("question: ")) return *it;
        }
        return {};
    }
    std::size_t m_seen = 0;
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
              std::vector<std::string>{"Ungültiger Dateiname \"" + (folder / "fehlt" / "welle.zm1").string() +
                                       "\" !\nDatei oder Verzeichnis nicht gefunden"});

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

// The message keeps its text and names the system's reason on a second line, in
// the program's language. A write-protected file is refused for root as well.
TEST_F(SaveProject, ARefusedNameSaysWhy) {
    const fs::path locked = folder / "welle_test.zm1";
    ASSERT_EQ(writeFileSafely(locked.string(), std::string_view("alt")), kIoOk);
    ::chmod(locked.c_str(), 0444);
    state->file.filesOfThisRun.insert(normalPath(locked.string()));  // opened before: Save does not ask
    fs::create_directories(folder / "ordner.zm1");
    struct Row {
        const char* name;
        fs::path path;
        int language;
        const char* reason;
    };
    const Row rows[] = {
        {"welle_test", locked, kGerman, "Keine Berechtigung"},
        {"welle_test", locked, kEnglish, "Permission denied"},
        {"welle_test", locked, kFrench, "Permission non accordée"},
        {"fehlt/welle", folder / "fehlt" / "welle.zm1", kGerman, "Datei oder Verzeichnis nicht gefunden"},
        {"ordner", folder / "ordner.zm1", kGerman, "Ist ein Verzeichnis"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + row.reason);
        loadLanguage(state->texts, row.language);
        const std::size_t before = prompter.errors().size();
        state->error.clear();
        EXPECT_FALSE(saveProject(*state, row.name, false));
        EXPECT_TRUE(state->error.isSet());
        ASSERT_EQ(prompter.errors().size(), before + 1);
        EXPECT_EQ(prompter.errors().back(), oemToUtf8(state->texts.main.invalidFileName) + " \"" +
                                                row.path.string() + "\" !\n" + row.reason);
    }
    loadLanguage(state->texts, kGerman);
    EXPECT_EQ(read(locked), "alt");
}

// Another program wrote the project after it was opened: Save asks before it
// throws that away; a project opened through a link is saved into the file the
// link points to, and the link stays.
TEST_F(SaveProject, SaveAsksBeforeOverwritingAnotherProgramsChange) {
    const fs::path target = folder / "welle.zm1";
    ASSERT_TRUE(saveProject(*state, "welle", true));
    ASSERT_TRUE(readProjectFile(*state, target.string()));
    std::string mine = read(target);
    struct Row {
        const char* name;
        std::string theirs;
        Answer answer;
    };
    const Row rows[] = {
        {"longer, refused", mine + "\r\n", Answer::No},
        {"same size, refused", std::string(mine.size(), 'x'), Answer::Cancel},
        {"accepted", "anders", Answer::Yes},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state->error.clear();
        ASSERT_EQ(writeFileSafely(target.string(), row.theirs), kIoOk);
        const struct timespec later[2] = {{0, UTIME_OMIT}, {fileStamp(target.string()).modifiedNs / 1000000000 + 2, 0}};
        ::utimensat(AT_FDCWD, target.c_str(), later, 0);
        prompter.answer(row.answer);
        EXPECT_EQ(saveProject(*state, "welle", false), row.answer == Answer::Yes);
        EXPECT_EQ(questions(), 1u);
        EXPECT_EQ(lastQuestion(), "question: " + target.string() + " wurde geändert. Überschreiben?");
        EXPECT_EQ(read(target) == row.theirs, row.answer != Answer::Yes);
    }
    // What this run wrote itself is not a change.
    EXPECT_TRUE(saveProject(*state, "welle", false));
    EXPECT_EQ(questions(), 0u);

    fs::create_directories(folder / "echt");
    fs::rename(target, folder / "echt" / "welle.zm1");
    fs::create_symlink(fs::path("echt") / "welle.zm1", target);
    ASSERT_TRUE(readProjectFile(*state, target.string()));
    state->chain.element(1).distance = 99.25L;
    EXPECT_TRUE(saveProject(*state, "welle", false));
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_NE(read(folder / "echt" / "welle.zm1").find("99.25"), std::string::npos);
}

} // namespace
} // namespace zam1
