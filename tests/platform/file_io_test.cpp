#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

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

// A link is written through: the file it points to gets the content, the link
// stays a link, and the temporary file lies beside the target, not the link.
TEST_F(FileIo, WritingThroughALinkKeepsTheLink) {
    fs::create_directories(dir / "echt");
    const fs::path real = dir / "echt" / "welle.zm1";
    struct Row {
        const char* name;
        fs::path link;
        fs::path pointsTo;
    };
    const Row rows[] = {
        {"absolute", dir / "abs.zm1", real},
        {"relative", dir / "rel.zm1", fs::path("echt") / "welle.zm1"},
        {"link to a link", dir / "kette.zm1", dir / "abs.zm1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::ofstream(real) << "alt";
        if (!fs::is_symlink(row.link)) fs::create_symlink(row.pointsTo, row.link);
        ASSERT_EQ(writeFileSafely(row.link.string(), std::string_view(row.name)), kIoOk);
        EXPECT_TRUE(fs::is_symlink(row.link)) << "the link is not replaced by a file";
        std::string bytes;
        ASSERT_EQ(readWholeFile(real.string(), bytes), kIoOk);
        EXPECT_EQ(bytes, row.name);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "echt"), fs::directory_iterator()), 1);
    }
    // A circle of links has no file to write to.
    fs::create_symlink("b", dir / "a");
    fs::create_symlink("a", dir / "b");
    EXPECT_NE(writeFileSafely((dir / "a").string(), std::string_view("x")), kIoOk);
    EXPECT_EQ(lastIoError(), ELOOP);
    EXPECT_TRUE(fs::is_symlink(dir / "a"));
}

// The owner's write bit is looked at as well, so the refusal holds for root too.
TEST_F(FileIo, AFileWithoutWritePermissionIsRefusedUnchanged) {
    const std::string path = (dir / "bericht.txt").string();
    const fs::path link = dir / "verweis.txt";
    ASSERT_EQ(writeFileSafely(path, std::string_view("geschützt")), kIoOk);
    ::chmod(path.c_str(), 0444);
    fs::create_symlink(path, link);
    for (const std::string& target : {path, link.string()}) {
        SCOPED_TRACE(target);
        EXPECT_EQ(writeFileSafely(target, std::string_view("neu")), kIoAccessDenied);
        EXPECT_EQ(lastIoError(), EACCES);
        std::string bytes;
        ASSERT_EQ(readWholeFile(path, bytes), kIoOk);
        EXPECT_EQ(bytes, "geschützt");
    }
    EXPECT_EQ(replaceRefusal(dir.string()), EISDIR);
    EXPECT_EQ(replaceRefusal((dir / "neu.txt").string()), 0);
    EXPECT_EQ(entries(), 2u) << "no temporary file left";
}

// The folder probe never opens a name the user may have: a file or a link
// called "x.$$$" stays as it was, and so does what the link points to.
TEST_F(FileIo, TheFolderProbeTouchesNoFileOfTheUser) {
    fs::create_directories(dir / "ordner");
    std::ofstream(dir / "ordner" / "x.$$$") << "Notizen";
    std::ofstream(dir / "ziel.txt") << "Ziel";
    fs::create_symlink(dir / "ziel.txt", dir / "ordner" / "link.$$$");
    EXPECT_EQ(folderCreationError((dir / "ordner").string()), 0);
    std::string bytes;
    ASSERT_EQ(readWholeFile((dir / "ordner" / "x.$$$").string(), bytes), kIoOk);
    EXPECT_EQ(bytes, "Notizen");
    ASSERT_EQ(readWholeFile((dir / "ziel.txt").string(), bytes), kIoOk);
    EXPECT_EQ(bytes, "Ziel");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "ordner"), fs::directory_iterator()), 2);
    EXPECT_EQ(folderCreationError((dir / "fehlt").string()), ENOENT);
    EXPECT_EQ(folderCreationError((dir / "ziel.txt").string()), ENOTDIR);
}

TEST_F(FileIo, AStampChangesWithSizeOrTime) {
    const std::string path = (dir / "p.zm1").string();
    EXPECT_FALSE(fileStamp(path).exists);
    ASSERT_EQ(writeFileSafely(path, std::string_view("1234")), kIoOk);
    const FileStamp first = fileStamp(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(first.size, 4);
    EXPECT_EQ(fileStamp(path), first);
    ASSERT_EQ(writeFileSafely(path, std::string_view("12345")), kIoOk);
    EXPECT_NE(fileStamp(path), first);
    // The same size, written a moment later: the time tells.
    const FileStamp second = fileStamp(path);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {second.modifiedNs / 1000000000 + 5, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_NE(fileStamp(path), second);
}

} // namespace
} // namespace zam1
