// The desktop's list of recent files: a project is added or updated as GTK and
// KDE programs do it, every other program's entry stays byte for byte, and a list
// that cannot be understood is never replaced. GLib's own reader (the one file
// dialogs use) reads the result back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "core/platform/desktop_recent.h"
#include "core/platform/file_io.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

constexpr std::time_t kFriday = 1796983200;  // 2026-12-11T10:00:00Z
constexpr std::time_t kLater = kFriday + 3600;

const std::string kOtherEntry =
    "  <bookmark href=\"file:///home/u/brief.txt\" added=\"2026-01-02T10:00:00.123456Z\" "
    "modified=\"2026-01-02T10:00:00.123456Z\" visited=\"2026-01-02T10:00:00.123456Z\">\n"
    "    <info>\n"
    "      <metadata owner=\"http://freedesktop.org\">\n"
    "        <mime:mime-type type=\"text/plain\"/>\n"
    "        <bookmark:applications>\n"
    "          <bookmark:application name=\"gedit\" exec=\"&apos;gedit %u&apos;\" "
    "modified=\"2026-01-02T10:00:00.123456Z\" count=\"1\"/>\n"
    "        </bookmark:applications>\n"
    "      </metadata>\n"
    "    </info>\n"
    "  </bookmark>\n";

std::string listOf(const std::string& entries) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xbel version=\"1.0\"\n"
           "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
           "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n"
           ">\n" +
           entries + "</xbel>\n";
}

// What GLib (a dependency of Qt, so always at hand) reads from the list for `uri`
// (see glib_bookmarks.py).
std::string glibView(const std::string& list, const std::string& uri) {
    const std::string command = "/usr/bin/python3 " ZAM1_SOURCE_DIR "/tests/platform/glib_bookmarks.py '" + list +
                                "' '" + uri + "' 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    ::pclose(pipe);
    if (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

class DesktopRecentList : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("zam1-xbel-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        list = (folder / "share" / "recently-used.xbel").string();
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string bytes() const {
        std::string b;
        readWholeFile(list, b);
        return b;
    }
    fs::path folder;
    std::string list;
};

TEST_F(DesktopRecentList, AddsOrUpdatesTheProjectAndKeepsEveryOtherEntry) {
    const std::string project = "/home/u/Maßketten/Getriebe welle&1.zm1";
    const std::string uri = "file:///home/u/Ma%C3%9Fketten/Getriebe%20welle&1.zm1";
    EXPECT_EQ(fileUri(project), uri);
    const std::string seen = "application/x-zam1-project | wzam1 " + uri;  // GLib fills in the exec's %u
    const std::string ours =
        "  <bookmark href=\"file:///home/u/Ma%C3%9Fketten/Getriebe%20welle&amp;1.zm1\" added=\"2026-06-01T08:00:00Z\" "
        "modified=\"2026-06-01T08:00:00Z\" visited=\"2026-06-01T08:00:00Z\">\n"
        "    <info><metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"application/x-zam1-project\"/>\n"
        "      <bookmark:applications>\n"
        "        <bookmark:application name=\"ZAM1\" exec=\"wzam1 %u\" modified=\"2026-06-01T08:00:00Z\" count=\"2\"/>\n"
        "        <bookmark:application name=\"gedit\" exec=\"&apos;gedit %u&apos;\" modified=\"2026-06-02T08:00:00Z\" "
        "count=\"1\"/>\n"
        "      </bookmark:applications></metadata></info>\n"
        "  </bookmark>\n";
    struct Row {
        const char* name;
        bool listBefore;
        std::string list;    // the list there before
        std::string glib;    // what GLib reads for the project afterwards
        bool geditKept;
    };
    const Row rows[] = {
        {"no list yet", false, "", "1 uris | " + seen + " 1 | 2026-12-11T10:00:00Z | 2026-12-11T10:00:00Z", false},
        {"another program's list", true, listOf(kOtherEntry),
         "2 uris | " + seen + " 1 | 2026-12-11T10:00:00Z | 2026-12-11T10:00:00Z", false},
        {"opened before by both", true, listOf(kOtherEntry + ours),
         "2 uris | " + seen + " 3 | 2026-06-01T08:00:00Z | 2026-12-11T10:00:00Z", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(folder);
        if (row.listBefore) {
            fs::create_directories(folder / "share");
            ASSERT_EQ(writeFileSafely(list, row.list), kIoOk);
        }
        ASSERT_TRUE(addToDesktopRecentList(list, project, kFriday));
        const std::string after = bytes();
        if (row.listBefore) {
            EXPECT_NE(after.find(kOtherEntry), std::string::npos) << after;
        }
        EXPECT_EQ(after.find(uri), after.rfind(uri)) << "one entry for the project\n" << after;
        EXPECT_EQ(after.find("name=\"gedit\" exec=\"&apos;gedit %u&apos;\" modified=\"2026-06-02T08:00:00Z\"") !=
                      std::string::npos,
                  row.geditKept)
            << after;
        EXPECT_EQ(glibView(list, uri), row.glib);
    }
    // Opened again later: the same entry, visited and counted once more.
    ASSERT_TRUE(addToDesktopRecentList(list, project, kLater));
    EXPECT_EQ(glibView(list, uri), "2 uris | " + seen + " 4 | 2026-06-01T08:00:00Z | 2026-12-11T11:00:00Z");
}

TEST_F(DesktopRecentList, AListItCannotUnderstandIsLeftAlone) {
    const char* lists[] = {
        "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n  <bookmark href=\"file:///a\">\n",  // cut off
        "<?xml version=\"1.0\"?>\n<html><body>not a list</body></html>\n",                     // another format
        "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n</xbel>\n",                          // no namespaces to use
        "",                                                                                     // empty
    };
    fs::create_directories(folder / "share");
    for (const char* before : lists) {
        SCOPED_TRACE(before);
        ASSERT_EQ(writeFileSafely(list, std::string_view(before)), kIoOk);
        EXPECT_FALSE(addToDesktopRecentList(list, "/home/u/welle.zm1", kFriday));
        EXPECT_EQ(bytes(), before);
    }
}

} // namespace
} // namespace zam1
