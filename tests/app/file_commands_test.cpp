#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/app/file_commands.h"
#include "core/files/project_file.h"
#include "core/files/working_copy.h"
#include "core/platform/clock.h"
#include "core/platform/desktop_recent.h"
#include "core/platform/file_io.h"
#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;
using Kind = ScriptedPrompter::Kind;

class FileCommands : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("zam1-filecmd-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "tmp");
        state->prompter = &prompter;
        state->clock = &clock;
        state->config.dataDirectory = folder.string();
        state->config.tempDirectory = (folder / "tmp").string();
        state->file.dataDirectory = folder.string();
        edit(1.5L);
    }
    void TearDown() override { fs::remove_all(folder); }

    // The user changes element 1.
    void edit(long double distance) {
        state->chain.setElementCount(1);
        state->chain.element(1).distance = distance;
        state->file.modified = true;
    }
    long double distance() const { return state->chain.element(1).distance; }

    // A project file holding one element at `distance`.
    std::string project(const std::string& name, long double distance) {
        Chain chain;
        chain.setElementCount(1);
        chain.element(1).distance = distance;
        const std::string path = (folder / name).string();
        EXPECT_EQ(writeFileSafely(path, projectFileText(chain, {}, state->documentation, {})), kIoOk);
        return path;
    }
    std::string bytes(const std::string& path) {
        std::string b;
        readWholeFile(path, b);
        return b;
    }
    std::vector<std::string> questions() const {
        std::vector<std::string> q;
        for (const std::string& entry : prompter.log()) {
            if (entry.rfind("question: ", 0) == 0) q.push_back(entry.substr(10));
        }
        return q;
    }

    fs::path folder;
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    test::TestPrompter prompter;
    FixedClock clock{{2026, 12, 7, 10, 0, 0}};
};

TEST_F(FileCommands, CloseQueryAnswers) {
    struct Row {
        const char* name;
        bool named;
        bool modified;
        bool archive;
        Answer answer;
        bool goesOn;
        bool saved;
        std::vector<std::string> asked;
    };
    const std::string save = "Datei speichern (" + (folder / "welle.zm1").string() + ") ?";
    const std::string discard = "Bisherige Eingaben verwerfen ?";
    const Row rows[] = {
        {"nothing changed", true, false, false, Answer::Cancel, true, false, {}},
        {"archive mode keeps the command-line project", true, true, true, Answer::Cancel, true, false, {}},
        {"save: Yes", true, true, false, Answer::Yes, true, true, {save}},
        {"save: No drops the changes", true, true, false, Answer::No, true, false, {save}},
        {"save: Cancel", true, true, false, Answer::Cancel, false, false, {save}},
        {"discard: Yes", false, true, false, Answer::Yes, true, false, {discard}},
        {"discard: No keeps the input", false, true, false, Answer::No, false, false, {discard}},
        {"discard: Escape", false, true, false, Answer::Cancel, false, false, {discard}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();
        SetUp();
        state->file.currentFile = row.named ? "welle" : "";
        state->file.modified = row.modified;
        state->config.archiveMode = row.archive;
        state->file.commandLineProject = row.archive;
        if (!row.asked.empty()) prompter.answer(row.answer);
        const std::size_t before = questions().size();
        EXPECT_EQ(closeQuery(*state), row.goesOn);
        EXPECT_EQ(state->error.isSet(), !row.goesOn);
        const std::vector<std::string> asked = questions();
        EXPECT_EQ(std::vector<std::string>(asked.begin() + static_cast<long>(before), asked.end()), row.asked);
        EXPECT_EQ(fs::exists(folder / "welle.zm1"), row.saved);
        EXPECT_EQ(state->file.modified, row.modified && !row.saved) << "only a save clears the flag";
        state->error.clear();
    }
}

TEST_F(FileCommands, AFailedSaveInTheCloseQueryCancelsTheCommand) {
    struct Row {
        const char* name;
        std::function<bool(ProgramState&)> command;
    };
    const Row rows[] = {
        {"New", [](ProgramState& s) { return fileNew(s) == AfterNew::RunGuidedInput; }},
        {"Open", [](ProgramState& s) { return fileOpen(s); }},
        {"recent file", [](ProgramState& s) { return fileOpenRecent(s, 1); }},
        {"program end", [](ProgramState& s) { return fileExit(s); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string other = project("andere.zm1", 9);
        state->file.recentFiles = {other, "", "", ""};
        state->file.dataDirectory = (folder / "fehlt").string(); // the save cannot create its file
        state->file.currentFile = "welle";
        edit(2.5L);
        ASSERT_EQ(writeFileSafely((folder / "tmp" / "$1.dx$").string(), std::string_view("x")), kIoOk);
        prompter.answer(Answer::Yes);
        EXPECT_FALSE(row.command(*state));
        EXPECT_TRUE(state->error.isSet());
        EXPECT_EQ(prompter.errors().back(),
                  "Ungültiger Dateiname \"" + (folder / "fehlt" / "welle.zm1").string() +
                      "\" !\nDatei oder Verzeichnis nicht gefunden");
        EXPECT_EQ(distance(), 2.5L) << "the project stays";
        EXPECT_TRUE(state->file.modified);
        EXPECT_EQ(state->file.currentFile, "welle");
        EXPECT_TRUE(fs::exists(folder / "tmp" / "$1.dx$")) << "the program did not end";
    }
}

TEST_F(FileCommands, TheEditedProjectStaysFlaggedUntilReallyReplaced) {
    const std::string broken = (folder / "kaputt.zm1").string();
    ASSERT_EQ(writeFileSafely(broken, std::string_view("kein Projekt\r\n")), kIoOk);
    struct Row {
        const char* name;
        std::function<void(test::TestPrompter&)> script;
    };
    const Row rows[] = {
        {"open dialog cancelled", [](test::TestPrompter& p) { p.answer(Answer::No).cancel(Kind::OpenFile); }},
        {"file cannot be read", [&](test::TestPrompter& p) { p.answer(Answer::No).openFile(broken); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state->file.currentFile = "welle";
        edit(3.5L);
        row.script(prompter);
        EXPECT_FALSE(fileOpen(*state));
        EXPECT_TRUE(state->file.modified) << "the close query's No alone does not drop the changes";
        EXPECT_EQ(distance(), 3.5L);
        EXPECT_EQ(state->file.currentFile, "welle");
        EXPECT_EQ(state->file.recentFiles[0], "");
    }
}

TEST_F(FileCommands, ARecentFileBecomesCurrentOnlyWhenItWasRead) {
    const std::string own = project("welle.zm1", 1);
    fs::create_directories(folder / "andere");
    const std::string broken = (folder / "andere" / "kaputt.zm1").string();
    ASSERT_EQ(writeFileSafely(broken, std::string_view("kein Projekt\r\n")), kIoOk);
    ASSERT_TRUE(readProjectFile(*state, own));
    state->file.currentFile = "welle";
    state->file.recentFiles = {broken, (folder / "weg.zm1").string(), "", ""};
    edit(4.5L);
    prompter.answer(Answer::No);
    EXPECT_FALSE(fileOpenRecent(*state, 1));
    EXPECT_EQ(state->file.currentFile, "welle");
    EXPECT_EQ(state->file.dataDirectory, folder.string());
    EXPECT_TRUE(state->file.modified);

    // Save now writes the edited project over its own file, never over the broken one.
    EXPECT_TRUE(fileSave(*state));
    EXPECT_EQ(bytes(broken), "kein Projekt\r\n");
    ASSERT_TRUE(readProjectFile(*state, own));
    EXPECT_EQ(distance(), 4.5L);

    // A file that is gone leaves the list with its message.
    EXPECT_FALSE(fileOpenRecent(*state, 2));
    EXPECT_EQ(prompter.errors().back(), "File " + (folder / "weg.zm1").string() + " not found !");
    EXPECT_EQ(state->file.recentFiles, (RecentFiles{broken, "", "", ""}));
}

// On Linux "Rad.ZM1" and "Rad.zm1" are two files: Save after opening one writes
// that one, not a new file beside it.
TEST_F(FileCommands, SaveWritesTheFileThatWasReadWhateverItsExtension) {
    for (const char* name : {"Rad.ZM1", "welle.alt", "getriebe.zm1"}) {
        SCOPED_TRACE(name);
        const std::string path = project(name, 2);
        state->file.recentFiles = {path, "", "", ""};
        state->file.modified = false;
        ASSERT_TRUE(fileOpenRecent(*state, 1));
        edit(7.5L);
        ASSERT_TRUE(fileSave(*state));
        ASSERT_TRUE(readProjectFile(*state, path));
        EXPECT_EQ(distance(), 7.5L);
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(folder)) files += entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(files, 1u) << "no second file beside the one read";
        fs::remove(path);
    }
}

// The analysis settings file beside the project goes with it to its new name.
TEST_F(FileCommands, SaveAsTakesTheAnalysisSettingsAlong) {
    const std::string own = project("welle.zm1", 1);
    ASSERT_EQ(writeFileSafely(own + ".json", std::string_view("{\"samples\": 5000}")), kIoOk);
    ASSERT_TRUE(readProjectFile(*state, own));
    state->file.currentFile = "welle";
    const std::string copy = (folder / "welle2.zm1").string();
    prompter.saveFile(copy);
    ASSERT_TRUE(fileSaveAs(*state));
    EXPECT_EQ(bytes(copy + ".json"), "{\"samples\": 5000}");
    EXPECT_EQ(bytes(own + ".json"), "{\"samples\": 5000}");
}

TEST_F(FileCommands, SaveAsksBeforeWritingOverAFileThisRunHasNotSeen) {
    // A command-line name whose file could not be read: the name stands, the file is unknown.
    const std::string foreign = (folder / "fremd.zm1").string();
    ASSERT_EQ(writeFileSafely(foreign, std::string_view("fremd")), kIoOk);
    state->file.currentFile = foreign;
    state->file.dataDirectory.clear();
    prompter.answer(Answer::No);
    EXPECT_FALSE(fileSave(*state));
    EXPECT_EQ(questions().back(), foreign + " existiert bereits.   überschreiben ?");
    EXPECT_EQ(bytes(foreign), "fremd");
    EXPECT_TRUE(state->file.modified);

    prompter.answer(Answer::Yes);
    EXPECT_TRUE(fileSave(*state));
    const std::size_t asked = questions().size();
    edit(6);
    EXPECT_TRUE(fileSave(*state)) << "written in this run: no question now";
    EXPECT_EQ(questions().size(), asked);
    EXPECT_FALSE(state->file.modified);
}

TEST_F(FileCommands, NewStartsFromTheTemplateWhenThereIsOne) {
    struct Row {
        const char* name;
        bool withTemplate;
        int elements;
    };
    const Row rows[] = {{"without null.zm1", false, 0}, {"with null.zm1", true, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(folder / "null.zm1");
        if (row.withTemplate) project("null.zm1", 7);
        state->file.currentFile = "welle";
        state->file.modified = false;
        state->projectTexts.remarkLines[0] = "Bemerkung";
        state->documentation.changeCount = 3;
        EXPECT_EQ(fileNew(*state), AfterNew::RunGuidedInput);
        EXPECT_EQ(state->chain.elementCount(), row.elements);
        if (row.withTemplate) {
            EXPECT_EQ(distance(), 7);
        }
        EXPECT_EQ(state->file.currentFile, "");
        EXPECT_TRUE(state->file.modified);
        EXPECT_EQ(state->projectTexts.remarkLines[0].str(), "");
        EXPECT_EQ(state->documentation.changeCount, 0);
        EXPECT_EQ(state->documentation.drawing.drawnDate.str(), "07.12.2026");
    }
    // No name: the next Save asks for one.
    prompter.saveFile((folder / "neu.zm1").string());
    EXPECT_TRUE(fileSave(*state));
    EXPECT_EQ(state->file.currentFile, "neu");
}

TEST_F(FileCommands, ADayOfWork) {
    // Start with a project and change an element.
    const std::string welle = project("welle.zm1", 10);
    const std::string rad = project("rad.zm1", 20);
    state->file.recentFiles = {rad, "", "", ""};
    ASSERT_TRUE(readProjectFile(*state, welle));
    state->file.currentFile = "welle";
    edit(11);
    EXPECT_EQ(writeWorkingCopy(*state), WorkingCopyWrite::Written);
    const std::string copy = workingCopyPath(*state);
    EXPECT_TRUE(fs::exists(copy));
    EXPECT_EQ(windowCaption(state->file.currentFile), "ZAM1 - Toleranzrechnung  -  welle.zm1");

    // Save as another name: current, first recent, no longer modified, working copy gone.
    prompter.saveFile((folder / "welle2.zm1").string());
    ASSERT_TRUE(fileSaveAs(*state));
    EXPECT_EQ(state->file.currentFile, "welle2");
    EXPECT_EQ(state->file.recentFiles, (RecentFiles{(folder / "welle2.zm1").string(), rad, "", ""}));
    EXPECT_FALSE(state->file.modified);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_FALSE(fs::exists(copy + ".lock"));

    // Open the recent file after another change, saving it on the way.
    edit(12);
    prompter.answer(Answer::Yes);
    ASSERT_TRUE(fileOpenRecent(*state, 2));
    EXPECT_EQ(distance(), 20);
    EXPECT_EQ(state->file.currentFile, "rad");
    EXPECT_EQ(state->file.recentFiles, (RecentFiles{rad, (folder / "welle2.zm1").string(), "", ""}));
    ASSERT_TRUE(readProjectFile(*state, (folder / "welle2.zm1").string()));
    EXPECT_EQ(distance(), 12) << "the close query saved welle2";
    ASSERT_TRUE(readProjectFile(*state, rad));

    // Change it, cancel the exit, then exit dropping the change.
    edit(21);
    ASSERT_EQ(writeFileSafely((folder / "tmp" / "$zeichn.dx$").string(), std::string_view("x")), kIoOk);
    ASSERT_EQ(writeFileSafely((folder / "tmp" / "bleibt.dxf").string(), std::string_view("x")), kIoOk);
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(fileExit(*state));
    EXPECT_TRUE(fs::exists(folder / "tmp" / "$zeichn.dx$"));
    prompter.answer(Answer::No);
    EXPECT_TRUE(fileExit(*state));
    EXPECT_FALSE(fs::exists(folder / "tmp" / "$zeichn.dx$"));
    EXPECT_TRUE(fs::exists(folder / "tmp" / "bleibt.dxf"));
    EXPECT_EQ(prompter.log().back(), "status: Lösche temporäre Dateien ...");
    EXPECT_EQ(bytes(rad).find("21.0000000"), std::string::npos) << "the dropped change is not saved";
}

// A project dropped on a window opens as a recent file does: the close query
// first, and a file that is gone is said; only a read project replaces the one
// in memory.
TEST_F(FileCommands, ADroppedProjectOpensAsARecentFileDoes) {
    const std::string rad = project("rad.zm1", 20);
    struct Row {
        const char* name;
        std::string path;
        Answer answer;  // to the close query
        bool opened;
        const char* error;  // empty: none
    };
    const Row rows[] = {
        {"changes dropped", rad, Answer::No, true, ""},
        {"close query cancelled", rad, Answer::Cancel, false, ""},
        {"file gone", (folder / "weg.zm1").string(), Answer::No, false, "not found !"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state->file.currentFile = "welle";
        state->file.recentFiles = {};
        edit(1.5L);
        const std::size_t questionsBefore = questions().size();
        prompter.answer(row.answer);
        EXPECT_EQ(fileOpenNamed(*state, row.path), row.opened);
        EXPECT_EQ(questions().size(), questionsBefore + 1) << "the close query asked";
        EXPECT_EQ(distance(), row.opened ? 20 : 1.5L);
        EXPECT_EQ(state->file.currentFile, row.opened ? "rad" : "welle");
        EXPECT_EQ(state->file.recentFiles[0], row.opened ? rad : "");
        EXPECT_EQ(state->error.isSet(), !row.opened);
        if (*row.error != '\0') {
            EXPECT_TRUE(prompter.errors().back().ends_with(row.error));
        }
    }
}

// Opened and saved projects also go to the desktop's list, so that the file
// dialogs and file managers of other programs offer them; a run without the
// list (batch, tests) leaves it alone.
TEST_F(FileCommands, OpenedAndSavedProjectsGoToTheDesktopList) {
    const std::string rad = project("rad mit ü.zm1", 20);
    const std::string list = (folder / "data" / "recently-used.xbel").string();
    ASSERT_TRUE(openProjectFile(*state, rad));
    EXPECT_FALSE(fs::exists(list)) << "no list named: none written";
    state->desktopRecentList = list;
    ASSERT_TRUE(openProjectFile(*state, rad));
    prompter.saveFile((folder / "welle2.zm1").string());
    ASSERT_TRUE(fileSaveAs(*state));
    const std::string xbel = bytes(list);
    for (const std::string& path : {rad, (folder / "welle2.zm1").string()}) {
        EXPECT_NE(xbel.find("href=\"" + fileUri(path) + "\""), std::string::npos) << path << "\n" << xbel;
    }
    EXPECT_NE(xbel.find("<mime:mime-type type=\"application/x-zam1-project\"/>"), std::string::npos);
}

} // namespace
} // namespace zam1
