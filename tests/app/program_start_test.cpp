// A program the desktop could not start is said, not silently dropped: for the
// desktop's opener the message names the file type that has no program, which
// is what the user can set up; for any other program it names the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/app/spreadsheet_commands.h"
#include "core/config/program_start.h"
#include "core/lang/language.h"
#include "core/platform/desktop.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

// A desktop on which nothing can be started (xdg-open finds no program).
class NothingStarts final : public Desktop {
public:
    bool showTextFile(const std::string&, std::string_view) override { return true; }
    bool printTextFile(const std::string&) override { return true; }
    bool startProgram(const std::string& program, const std::vector<std::string>&) override {
        started.push_back(program);
        return false;
    }
    bool openInBrowser(const std::string&) override { return false; }
    bool copyToClipboard(std::string_view) override { return true; }
    void showGraphicsWindow() override {}
    std::vector<std::string> started;
};

TEST(ProgramStart, TheMessageNamesTheFileTypeWithoutAProgram) {
    struct Row {
        int language;
        std::string program;
        std::vector<std::string> arguments;
        std::string expected;  // UTF-8
    };
    const Row rows[] = {
        {0, "xdg-open", {"/tmp/welle.xlsx"}, "kein Programm für .xlsx gefunden"},
        {0, "/usr/bin/xdg-open", {"/tmp/v1.2/KORVANT.htm"}, "kein Programm für .htm gefunden"},
        {2, "xdg-open", {"/tmp/outwin.txt"}, "no program found for .txt files"},
        {3, "xdg-open", {"/tmp/outwin.txt"}, "aucun programme trouvé pour les fichiers .txt"},
        {0, "xdg-open", {"/tmp/.hidden/LIESMICH"}, "Programm nicht gestartet: xdg-open"},
        {0, "libreoffice", {"-p", "/tmp/welle.xlsx"}, "Programm nicht gestartet: libreoffice"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        LanguageTexts texts;
        loadLanguage(texts, row.language);
        EXPECT_EQ(oemToUtf8(programStartFailure(texts.main, row.program, row.arguments)), row.expected);
    }
}

TEST(ProgramStart, StartingTheSpreadsheetSaysWhenNoProgramOpensTheWorkbook) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zam1-start-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    ProgramState state;
    test::TestPrompter prompter;
    NothingStarts desktop;
    state.prompter = &prompter;
    state.desktop = &desktop;
    state.config.tempDirectory = folder.string();
    state.file.dataDirectory = folder.string();
    state.file.currentFile = "welle";
    state.chain.setElementCount(1);
    state.chain.element(1).distance = 10;
    startSpreadsheet(state);
    EXPECT_EQ(desktop.started, std::vector<std::string>{"xdg-open"});
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"kein Programm für .xlsx gefunden"});
    EXPECT_TRUE(state.error.isSet());
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace zam1
