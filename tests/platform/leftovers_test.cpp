// What killed programs leave behind, and what a later start takes away: the
// safe writer's temporary files no program has open, the private folders whose
// program is gone, the lock files of ended programs.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "core/platform/leftovers.h"
#include "core/platform/lock_file.h"
#include "core/platform/private_folder.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

fs::path freshFolder(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / ("zam1-leftovers-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

// A child process that runs `body` and then sleeps until killed.
template <typename Body>
pid_t runChild(Body body, int& ready) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        body();
        const char byte = 'x';
        [[maybe_unused]] const ssize_t n = ::write(fds[1], &byte, 1);
        for (;;) ::pause();
    }
    ::close(fds[1]);
    ready = fds[0];
    return pid;
}

void waitReady(int fd) {
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(fd, &byte, 1);
    ::close(fd);
}

void killChild(pid_t pid) {
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

TEST(Leftovers, TemporaryFilesGoOnlyWhenNoProgramHasThemOpen) {
    const fs::path folder = freshFolder("temp");
    const fs::path stale = folder / ".zam1-AbC123";
    const fs::path writing = folder / ".zam1-XyZ789";
    const fs::path create = folder / ".zam1-create-Qq1234";
    std::ofstream(stale) << "halb geschrieben";
    std::ofstream(create) << "";
    std::ofstream(folder / "welle.zm1") << "Projekt";
    std::ofstream(folder / ".zam1") << "kein Zwischenstand";
    // Another program is still writing its file.
    int ready = -1;
    const pid_t writer = runChild([&] { [[maybe_unused]] int fd = ::open(writing.c_str(), O_CREAT | O_WRONLY, 0600); }, ready);
    ASSERT_GT(writer, 0);
    waitReady(ready);
    EXPECT_EQ(removeStaleTemporaryFiles(folder.string()), 2);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_FALSE(fs::exists(create));
    EXPECT_TRUE(fs::exists(writing)) << "still open in a running program";
    EXPECT_TRUE(fs::exists(folder / "welle.zm1"));
    EXPECT_TRUE(fs::exists(folder / ".zam1"));
    killChild(writer);
    EXPECT_EQ(removeStaleTemporaryFiles(folder.string()), 1);
    EXPECT_FALSE(fs::exists(writing));
    fs::remove_all(folder);
}

TEST(Leftovers, PrivateFoldersOfKilledProgramsGoAndLiveOnesStay) {
    const fs::path base = freshFolder("private");
    // A program killed with its folder full.
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    int ready = -1;
    const pid_t killed = runChild(
        [&] {
            static PrivateFolder* leaked = new PrivateFolder(base.string());  // never destroyed: the kill ends it
            std::ofstream(fs::path(leaked->path()) / "$$$1.txt") << "Bericht";
            [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], leaked->path().c_str(), leaked->path().size());
        },
        ready);
    ::close(pipeFds[1]);
    waitReady(ready);
    char path[512] = {};
    ASSERT_GT(::read(pipeFds[0], path, sizeof path - 1), 0);
    ::close(pipeFds[0]);
    const fs::path orphan(path);
    ASSERT_TRUE(fs::exists(orphan / "$$$1.txt"));

    const PrivateFolder alive(base.string());
    EXPECT_EQ(removeOrphanedPrivateFolders(base.string()), 0) << "its program still runs";
    killChild(killed);
    // Folders of older versions have no lock file: only an old one goes.
    const fs::path oldEmpty = base / "zam1-OLD123";
    const fs::path newEmpty = base / "zam1-NEW456";
    fs::create_directories(oldEmpty);
    fs::create_directories(newEmpty);
    fs::last_write_time(oldEmpty, fs::file_time_type::clock::now() - std::chrono::hours(2));
    fs::create_directories(base / "zam1-report-abcdef");  // not a private folder's name

    EXPECT_EQ(removeOrphanedPrivateFolders(base.string()), 2);
    EXPECT_FALSE(fs::exists(orphan));
    EXPECT_FALSE(fs::exists(oldEmpty));
    EXPECT_TRUE(fs::exists(newEmpty));
    EXPECT_TRUE(fs::exists(alive.path()));
    EXPECT_TRUE(fs::exists(base / "zam1-report-abcdef"));
    fs::remove_all(base);
}

TEST(Leftovers, ALockIsHeldUntilItsProgramEndsHoweverItEnds) {
    const fs::path folder = freshFolder("lock");
    const std::string path = (folder / "aktuell-welle.zm1.lock").string();
    int ready = -1;
    const pid_t holder = runChild(
        [&] {
            static LockFile* held = new LockFile;
            held->take(path);
            held->setContent("/daten/welle.zm1\r\n");
        },
        ready);
    waitReady(ready);
    LockFile mine;
    EXPECT_FALSE(mine.take(path)) << "another program holds it";
    EXPECT_FALSE(mine.held());
    killChild(holder);
    ASSERT_TRUE(mine.take(path)) << "the successor takes it over";
    EXPECT_EQ(mine.content(), "/daten/welle.zm1\r\n");
    LockFile second;
    EXPECT_FALSE(second.take(path)) << "one holder at a time, in one program too";
    mine.removeAndRelease();
    EXPECT_FALSE(fs::exists(path));
    fs::remove_all(folder);
}

} // namespace
} // namespace zam1
