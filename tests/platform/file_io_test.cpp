#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "core/platform/file_io.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zam1-io-" + std::to_string(::getpid()) + "-" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path dir;
};

TEST_F(FileIo, WriteReplacesContentAndKeepsPermissions) {
    const std::string path = (dir / "a.zm1").string();
    ASSERT_EQ(writeFileSafely(path, std::string_view("alt\r\n")), kIoOk);
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(writeFileSafely(path, [](std::ostream& out) { out << "neu\r\n"; }), kIoOk);
    std::string bytes;
    ASSERT_EQ(readWholeFile(path, bytes), kIoOk);
    EXPECT_EQ(bytes, "neu\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(entries(), 1u) << "no temporary file left";
}

TEST_F(FileIo, AFailedWriteLeavesNothingBehind) {
    // A folder in the way of the target: the final rename fails.
    fs::create_directories(dir / "ziel.txt" / "inhalt");
    EXPECT_NE(writeFileSafely((dir / "ziel.txt").string(), std::string_view("x")), kIoOk);
    EXPECT_TRUE(fs::is_directory(dir / "ziel.txt" / "inhalt"));
    EXPECT_EQ(entries(), 1u) << "the temporary file is removed";
    EXPECT_EQ(writeFileSafely((dir / "fehlt" / "x.txt").string(), std::string_view("x")), kIoPathNotFound);
}

TEST_F(FileIo, ReadingReportsMissingFoldersAndLimits) {
    std::string bytes = "unverändert";
    EXPECT_EQ(readWholeFile((dir / "nichts.zm1").string(), bytes), kIoFileNotFound);
    EXPECT_EQ(readWholeFile(dir.string(), bytes), kIoAccessDenied);
    const std::string path = (dir / "gross.txt").string();
    ASSERT_EQ(writeFileSafely(path, std::string(1000, 'x')), kIoOk);
    EXPECT_EQ(readWholeFile(path, bytes, 999), kIoReadError);
    EXPECT_EQ(bytes, "unverändert");
    EXPECT_TRUE(fileExists(path));
    EXPECT_FALSE(fileExists(dir.string()));
}

} // namespace
} // namespace zam1
