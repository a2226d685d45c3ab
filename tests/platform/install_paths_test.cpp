// The installed program finds its share folder beside its bin folder, wherever
// the package was unpacked, and nothing when it runs from a build folder. The
// manual is found the same way in an installation and in a build tree, never
// under a path compiled into the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "core/platform/install_paths.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

TEST(InstallPaths, ShareFolderBesideBin) {
    const fs::path root = fs::temp_directory_path() / ("zam1-install-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "usr/bin");
    fs::create_directories(root / "build/gui");
    struct Row {
        const char* name;
        fs::path executable;
        bool share;
        std::string expected;
    };
    const Row rows[] = {
        {"unpacked package", root / "usr/bin/wzam1", true, (root / "usr/share/zam1").string()},
        {"no share folder yet", root / "usr/bin/wzam1", false, ""},
        {"build folder", root / "build/gui/wzam1", true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(root / "usr/share");
        if (row.share) fs::create_directories(root / "usr/share/zam1");
        EXPECT_EQ(installedDataFolderOf(row.executable.string()), row.expected);
    }
    fs::remove_all(root);
}

TEST(InstallPaths, TheManualBesideTheProgramInstalledOrBuilt) {
    const fs::path root = fs::temp_directory_path() / ("zam1-data-" + std::to_string(::getpid()));
    struct Row {
        const char* name;
        const char* manual;      // where the tree has its manual
        const char* executable;  // the program or test asking
        const char* expected;    // empty: none found
    };
    const Row rows[] = {
        {"installed", "usr/share/zam1/manual", "usr/bin/wzam1", "usr/share/zam1/manual"},
        {"unpacked elsewhere", "opt/zam1/share/zam1/manual", "opt/zam1/bin/wzam1", "opt/zam1/share/zam1/manual"},
        {"build tree, the program", "build/share/zam1/manual", "build/gui/wzam1", "build/share/zam1/manual"},
        {"build tree, a test", "build/share/zam1/manual", "build/tests/lang/lang_tests", "build/share/zam1/manual"},
        {"only the documentation folder", "usr/share/doc/zam1/manual", "usr/bin/wzam1", ""},
        {"too far above", "share/zam1/manual", "a/b/c/wzam1", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove_all(root);
        fs::create_directories(root / row.manual);
        const std::string expected = *row.expected == '\0' ? "" : (root / row.expected).string();
        EXPECT_EQ(dataPathOf((root / row.executable).string(), "manual"), expected);
    }
    fs::remove_all(root);
}

} // namespace
} // namespace zam1
