#include "core/platform/install_paths.h"

#include <filesystem>

namespace zam1 {
namespace {

std::string runningExecutable() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : self.string();
}

} // namespace

std::string installedDataFolderOf(const std::string& executable) {
    namespace fs = std::filesystem;
    const fs::path bin = fs::path(executable).parent_path();
    if (bin.filename() != "bin") return {};
    const fs::path data = bin.parent_path() / "share" / "zam1";
    std::error_code failed;
    return fs::is_directory(data, failed) ? data.string() : std::string();
}

std::string installedDataFolder() { return installedDataFolderOf(runningExecutable()); }

std::string dataPathOf(const std::string& executable, const std::string& name) {
    namespace fs = std::filesystem;
    fs::path above = fs::path(executable).parent_path();
    for (int level = 1; level <= 2 && above.has_relative_path(); ++level) {
        above = above.parent_path();
        const fs::path wanted = above / "share" / "zam1" / name;
        std::error_code failed;
        if (fs::exists(wanted, failed)) return wanted.string();
    }
    return {};
}

std::string dataPath(const std::string& name) { return dataPathOf(runningExecutable(), name); }

} // namespace zam1
