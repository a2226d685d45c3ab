#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/session/file_names.h"

namespace zam1 {
namespace {

const std::string kLong = "/home/anna/projekte/getriebe/baugruppe-3/welle/kette.zm1"; // 55 characters

TEST(RecentFiles, EnteringPutsTheFileFirstAndOnce) {
    struct Row {
        const char* name;
        RecentFiles before;
        std::string entered;
        RecentFiles after;
    };
    const Row rows[] = {
        {"into an empty list", {}, "/d/a.zm1", {"/d/a.zm1", "", "", ""}},
        {"the oldest falls out", {"/d/1.zm1", "/d/2.zm1", "/d/3.zm1", "/d/4.zm1"}, "/d/a.zm1",
         {"/d/a.zm1", "/d/1.zm1", "/d/2.zm1", "/d/3.zm1"}},
        {"a file already listed moves up, nothing falls out", {"/d/1.zm1", "/d/2.zm1", "/d/a.zm1", "/d/4.zm1"},
         "/d/a.zm1", {"/d/a.zm1", "/d/1.zm1", "/d/2.zm1", "/d/4.zm1"}},
        {"every copy of it goes", {"/d/a.zm1", "/d/2.zm1", "/d/a.zm1", ""}, "/d/a.zm1",
         {"/d/a.zm1", "/d/2.zm1", "", ""}},
        {"names differing in case are two files", {"/d/A.zm1", "", "", ""}, "/d/a.zm1",
         {"/d/a.zm1", "/d/A.zm1", "", ""}},
        {"the same file written another way", {"/d/a.zm1", "/d/b.zm1", "", ""}, "/d/x/../b.zm1",
         {"/d/b.zm1", "/d/a.zm1", "", ""}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RecentFiles files = row.before;
        enterRecentFile(files, row.entered);
        EXPECT_EQ(files, row.after);
    }
}

TEST(RecentFiles, ARelativeNameIsListedWithItsFolder) {
    RecentFiles files{};
    enterRecentFile(files, "projekt.zm1");
    EXPECT_EQ(files[0], (std::filesystem::current_path() / "projekt.zm1").string());
}

TEST(RecentFiles, RemovingASlotMovesTheLaterOnesUp) {
    struct Row {
        int k;
        RecentFiles after;
    };
    const RecentFiles before{"/1", "/2", "/3", "/4"};
    const Row rows[] = {
        {1, {"/2", "/3", "/4", ""}},
        {3, {"/1", "/2", "/4", ""}},
        {4, {"/1", "/2", "/3", ""}},
        {0, before},
        {5, before},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("slot " + std::to_string(row.k));
        RecentFiles files = before;
        removeRecentFile(files, row.k);
        EXPECT_EQ(files, row.after);
    }
}

TEST(RecentFiles, MenuCaptionsShortenLongNamesAtTheFolders) {
    struct Row {
        const char* name;
        std::string file;
        std::string shown;
    };
    const std::string fortyNine = "/d/e/" + std::string(40, 'x') + ".zm1";
    const std::string fifty = "/d/e/" + std::string(41, 'x') + ".zm1";
    const Row rows[] = {
        {"short", "/d/kette.zm1", "/d/kette.zm1"},
        {"49 characters whole", fortyNine, fortyNine},
        {"50 characters shortened", fifty, "/d/.../" + std::string(41, 'x') + ".zm1"},
        {"first folder and last part", kLong, "/home/.../kette.zm1"},
        {"relative name", kLong.substr(1), "home/.../kette.zm1"},
        {"umlauts count as one character each", "/d/" + std::string(20, 'x') + "/\xC3\xA4\xC3\xB6\xC3\xBC" + std::string(20, 'y'),
         "/d/" + std::string(20, 'x') + "/\xC3\xA4\xC3\xB6\xC3\xBC" + std::string(20, 'y')},
        {"nothing to leave out", "/" + std::string(60, 'x') + ".zm1", "/" + std::string(60, 'x') + ".zm1"},
        {"one folder", "/daten/" + std::string(60, 'x'), "/daten/" + std::string(60, 'x')},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shortenedFileName(row.file), row.shown);
        const RecentFiles files{"", row.file, "", ""};
        EXPECT_EQ(recentFileCaption(files, 2), "&2 " + row.shown);
        EXPECT_EQ(recentFileCaption(files, 1), "") << "an empty slot has no entry";
    }
}

TEST(WindowCaption, NamesTheProjectFile) {
    struct Row {
        const char* currentFile;
        const char* caption;
    };
    const Row rows[] = {
        {"", "ZAM1 - Toleranzrechnung"},
        {"welle", "ZAM1 - Toleranzrechnung  -  welle.zm1"},
        {"test.ZM1", "ZAM1 - Toleranzrechnung  -  test.ZM1"},
        {"../alt.d/welle", "ZAM1 - Toleranzrechnung  -  ../alt.d/welle.zm1"},
        {"/tmp/v1.2/welle", "ZAM1 - Toleranzrechnung  -  /tmp/v1.2/welle.zm1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.currentFile);
        EXPECT_EQ(windowCaption(row.currentFile), row.caption);
    }
}

} // namespace
} // namespace zam1
