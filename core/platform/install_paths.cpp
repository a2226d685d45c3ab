#include "core/platform/install_paths.h"

#include <filesystem>

namespace zam1 {

std::string installedDataFolderOf(const std::string& executable) {
    namespace fs = std::filesystem;
    const fs::path bin = fs::path(executable).parent_path();
    if (bin.filename() != "bin") return {};
    const fs::path data = bin.parent_path() / "share" / "zam1";
    std::error_code failed;
    return fs::is_directory(data, failed) ? data.string() : std::string();
}

std::string installedDataFolder() {
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    return failed ? std::string() : installedDataFolderOf(self.string());
}

} // namespace zam1
