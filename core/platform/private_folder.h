#pragma once
// A folder of the running program's own, for the files it writes only for a
// moment (report files before they are shown or copied, drawing blocks, the plot
// file): created with mode 0700 under the given folder (or the system's
// temporary folder), removed with everything in it when the object goes. Two
// programs running at once never meet in it. A lock file inside says that its
// program still runs; a later start removes the folders of programs that ended
// without tidying up (kill -9, a crash).

#include <memory>
#include <string>

namespace zam1 {

class LockFile;

class PrivateFolder {
public:
    // Creates "zam1-XXXXXX" in `base` (TEMP or TMPDIR), or in the system's
    // temporary folder when `base` is empty or not writable. path() is empty
    // when neither works.
    explicit PrivateFolder(const std::string& base);
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return m_path; }

    // Removes the folder now (the program is ending on a signal).
    void remove();

private:
    std::string m_path;
    std::unique_ptr<LockFile> m_owner;
};

// Removes the private folders under `base` whose program has ended: their lock
// is free, or they have no lock file at all and are older than ten minutes.
// Returns how many went.
int removeOrphanedPrivateFolders(const std::string& base);

// Before a program makes its own private folder: those of ended programs go,
// under `base` (TEMP or TMPDIR) and under the system's temporary folder, where
// PrivateFolder falls back to. Returns how many went.
int removeOrphanedPrivateFoldersBeforeStart(const std::string& base);

} // namespace zam1
