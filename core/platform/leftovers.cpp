#include "core/platform/leftovers.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zam1 {
namespace {

namespace fs = std::filesystem;

using FileId = std::pair<dev_t, ino_t>;

// Every file some process of ours has open, by device and inode (the
// descriptors of other users' processes cannot be read, and their files are
// never removed here).
std::set<FileId> openFiles() {
    std::set<FileId> open;
    std::error_code failed;
    for (fs::directory_iterator proc("/proc", failed), end; !failed && proc != end; proc.increment(failed)) {
        const std::string pid = proc->path().filename().string();
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::error_code skip;
        for (fs::directory_iterator fd(proc->path() / "fd", skip); !skip && fd != end; fd.increment(skip)) {
            struct stat st {};
            if (::stat(fd->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) open.insert({st.st_dev, st.st_ino});
        }
    }
    return open;
}

struct Candidate {
    fs::path path;
    FileId id;
};

std::vector<Candidate> unopenedTemporaryFiles(const std::string& folder) {
    std::vector<Candidate> found;
    std::error_code failed;
    for (fs::directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed)) {
        if (!isSafeWriterTemporaryName(it->path().filename().string())) continue;
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) continue;
        found.push_back({it->path(), {st.st_dev, st.st_ino}});
    }
    if (found.empty()) return found;
    const std::set<FileId> open = openFiles();
    std::erase_if(found, [&](const Candidate& c) { return open.contains(c.id); });
    return found;
}

} // namespace

bool isSafeWriterTemporaryName(const std::string& fileName) {
    return fileName.size() >= 12 && fileName.starts_with(".zam1-");
}

int removeStaleTemporaryFiles(const std::string& folder) {
    if (folder.empty()) return 0;
    const std::vector<Candidate> first = unopenedTemporaryFiles(folder);
    if (first.empty()) return 0;
    // A writer closes its file just before renaming it: a file seen closed twice,
    // a moment apart, is no longer on its way anywhere.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::vector<Candidate> second = unopenedTemporaryFiles(folder);
    int removed = 0;
    for (const Candidate& c : second) {
        const bool seenBefore = std::any_of(first.begin(), first.end(), [&](const Candidate& f) { return f.id == c.id; });
        std::error_code ignored;
        if (seenBefore && fs::remove(c.path, ignored)) ++removed;
    }
    return removed;
}

} // namespace zam1
