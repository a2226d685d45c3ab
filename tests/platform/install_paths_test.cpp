// The installed program finds its share folder beside its bin folder, wherever
// the package was unpacked, and nothing when it runs from a build folder.
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

} // namespace
} // namespace zam1
