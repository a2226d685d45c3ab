#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/lang/language.h"
#include "core/config/config_file.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

TEST(Directories, TemporaryFolderFromTempThenTmpdir) {
    ::setenv("TEMP", "/temp-a", 1);
    ::setenv("TMPDIR", "/temp-b", 1);
    EXPECT_EQ(temporaryFolderFromEnvironment(), "/temp-a");
    ::unsetenv("TEMP");
    EXPECT_EQ(temporaryFolderFromEnvironment(), "/temp-b");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(temporaryFolderFromEnvironment(), "");
}

class CheckDirectories : public ::testing::Test {
protected:
    void SetUp() override {
        start = (fs::temp_directory_path() / ("zam1-dirs-" + std::to_string(::getpid()))).string();
        fs::remove_all(start);
        fs::create_directories(start + "/temp");
        config.cadDirectory = start;
    }
    void TearDown() override { fs::remove_all(start); }
    std::string start;
    Configuration config;
    test::TestPrompter prompter;
};

TEST_F(CheckDirectories, EmptyFoldersAreFilledInAndNothingIsShown) {
    checkDirectories(config, start, start + "/temp", LanguageTexts{}.main, prompter);
    EXPECT_EQ(config.tempDirectory, start + "/temp");
    EXPECT_EQ(config.dbfDirectory, start);
    EXPECT_EQ(config.pltDirectory, start);
    EXPECT_EQ(config.ediDirectory, start);
    EXPECT_EQ(config.dataDirectory, start);
    EXPECT_TRUE(prompter.log().empty());
    EXPECT_TRUE(fs::is_empty(start + "/temp")) << "the probe file is removed again";

    Configuration noTemp;
    noTemp.cadDirectory = start;
    checkDirectories(noTemp, start, "", LanguageTexts{}.main, prompter);
    EXPECT_EQ(noTemp.tempDirectory, start);
}

TEST_F(CheckDirectories, InvalidFoldersAreReportedInOrder) {
    const std::string missing = start + "/fehlt";
    config.cadDirectory = missing;
    config.dbfDirectory = missing;
    config.pltDirectory = missing;
    config.tempDirectory = missing;
    config.ediDirectory = missing;
    config.dataDirectory = missing;
    prompter.type(start + "/temp");
    checkDirectories(config, start, "", LanguageTexts{}.main, prompter);
    EXPECT_EQ(prompter.log(), (std::vector<std::string>{
                                  "error: ungültiger CAD Ordner konfiguriert",
                                  "error: ungültiger DBF Ordner konfiguriert",
                                  "error: ungültiger PLT Ordner konfiguriert",
                                  "error: ungültiger Ordner für temporäre Dateien konfiguriert",
                                  "text: Ordner für temporäre Dateien [" + missing + "]",
                                  "error: ungültiger EDI Ordner konfiguriert",
                                  "error: ungültiger Data Ordner konfiguriert",
                              }));
    EXPECT_EQ(config.tempDirectory, start + "/temp");
}

// The check of the write folders runs at every start: a file the user keeps
// there under the old probe's name, or a link of that name, is left alone.
TEST_F(CheckDirectories, AUsersFilesInTheCheckedFoldersStay) {
    const std::string temp = start + "/temp";
    {
        std::ofstream(start + "/x.$$$") << "Notiz";
        std::ofstream(start + "/ziel.txt") << "Ziel";
    }
    fs::create_symlink(start + "/ziel.txt", temp + "/x.$$$");
    checkDirectories(config, start, temp, LanguageTexts{}.main, prompter);
    EXPECT_TRUE(prompter.log().empty());
    std::ifstream note(start + "/x.$$$");
    std::ifstream target(start + "/ziel.txt");
    std::string noteText, targetText;
    std::getline(note, noteText);
    std::getline(target, targetText);
    EXPECT_EQ(noteText, "Notiz");
    EXPECT_EQ(targetText, "Ziel");
    EXPECT_TRUE(fs::is_symlink(temp + "/x.$$$"));
    EXPECT_EQ(std::distance(fs::directory_iterator(temp), fs::directory_iterator()), 1) << "no probe left behind";
}

} // namespace
} // namespace zam1
