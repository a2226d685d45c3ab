// The running program's own temporary folder: private, one per program, gone
// with everything in it when the program ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "core/platform/private_folder.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

TEST(PrivateFolder, IsPrivateOnePerProgramAndGoesWithItsFiles) {
    const fs::path base = fs::temp_directory_path() / "zam1-private-base";
    fs::create_directories(base);
    std::string kept;
    {
        const PrivateFolder one(base.string());
        const PrivateFolder two(base.string());
        ASSERT_FALSE(one.path().empty());
        EXPECT_NE(one.path(), two.path());
        EXPECT_EQ(fs::path(one.path()).parent_path(), base);
        struct stat info {};
        ASSERT_EQ(::stat(one.path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        std::ofstream(fs::path(one.path()) / "$$$1.txt") << "Bericht";
        fs::create_directories(fs::path(one.path()) / "tief");
        kept = one.path();
    }
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_TRUE(fs::is_empty(base));
    fs::remove_all(base);
}

TEST(PrivateFolder, AnUnusableBaseFallsBackToTheSystemsTemporaryFolder) {
    for (const std::string& base : {std::string(), std::string("/nicht/da/zam1")}) {
        SCOPED_TRACE(base);
        const PrivateFolder folder(base);
        ASSERT_FALSE(folder.path().empty());
        EXPECT_EQ(fs::path(folder.path()).parent_path(), fs::temp_directory_path());
    }
}

} // namespace
} // namespace zam1
