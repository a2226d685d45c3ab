#include "core/platform/private_folder.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/lock_file.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

constexpr const char* kOwnerFile = ".owner.lock";

std::string makeFolderIn(const fs::path& base) {
    std::string pattern = (base / "zam1-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};  // mkdtemp creates it with mode 0700
    return pattern;
}

bool looksPrivate(const std::string& name) { return name.size() == 11 && name.starts_with("zam1-"); }

int removeOrphansIn(const fs::path& base) {
    int removed = 0;
    std::error_code failed;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(base, failed), end; !failed && it != end; it.increment(failed)) {
        struct stat st {};
        if (!looksPrivate(it->path().filename().string()) || ::lstat(it->path().c_str(), &st) != 0 ||
            !S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
            continue;
        }
        const fs::path owner = it->path() / kOwnerFile;
        std::error_code missing;
        bool orphaned = false;
        if (fs::is_regular_file(fs::symlink_status(owner, missing))) {
            LockFile lock;
            orphaned = lock.take(owner.string());
        } else {
            // Made but not yet locked by a program starting right now, or left by
            // one killed in between: only an old one is taken for the latter.
            const auto made = fs::last_write_time(it->path(), missing);
            orphaned = !missing && now - made > std::chrono::minutes(10);
        }
        std::error_code ignored;
        if (orphaned && fs::remove_all(it->path(), ignored) > 0) ++removed;
    }
    return removed;
}

} // namespace

PrivateFolder::PrivateFolder(const std::string& base) : m_owner(std::make_unique<LockFile>()) {
    if (!base.empty()) m_path = makeFolderIn(base);
    if (m_path.empty()) {
        std::error_code failed;
        const fs::path system = fs::temp_directory_path(failed);
        if (!failed) m_path = makeFolderIn(system);
    }
    if (!m_path.empty()) m_owner->take((fs::path(m_path) / kOwnerFile).string());
}

PrivateFolder::~PrivateFolder() { remove(); }

void PrivateFolder::remove() {
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
    m_owner->release();
}

int removeOrphanedPrivateFolders(const std::string& base) { return base.empty() ? 0 : removeOrphansIn(base); }

int removeOrphanedPrivateFoldersBeforeStart(const std::string& base) {
    int removed = removeOrphanedPrivateFolders(base);
    std::error_code noSystemFolder;
    const fs::path system = fs::temp_directory_path(noSystemFolder);
    std::error_code differs;
    if (!noSystemFolder && (base.empty() || !fs::equivalent(system, base, differs))) {
        removed += removeOrphanedPrivateFolders(system.string());
    }
    return removed;
}

} // namespace zam1
