#pragma once
// A lock file that says "a running program uses this": an advisory lock
// (flock) on a small file, held for as long as the object lives. The kernel
// lets the lock go when its program ends in any way, kill -9 included, so a
// lock file whose lock can be taken belongs to nobody any more and its
// successor may take over what it guards.

#include <string>
#include <string_view>

namespace zam1 {

class LockFile {
public:
    LockFile() = default;
    ~LockFile();
    LockFile(LockFile&& other) noexcept;
    LockFile& operator=(LockFile&& other) noexcept;
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Takes the lock on `path` without waiting, creating the file when it is
    // missing (never through a symbolic link). False when another running
    // program holds it or the file cannot be made; then nothing is held.
    bool take(const std::string& path);
    bool held() const { return m_fd >= 0; }
    const std::string& path() const { return m_path; }

    // The file's content, read and written while the lock is held.
    std::string content() const;
    bool setContent(std::string_view text);

    // Removes the file, then lets the lock go (in that order, so nobody takes
    // over a file that is about to go).
    void removeAndRelease();
    // Lets the lock go and leaves the file.
    void release();

private:
    int m_fd = -1;
    std::string m_path;
};

} // namespace zam1
