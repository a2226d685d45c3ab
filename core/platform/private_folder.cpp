#include "core/platform/private_folder.h"

#include <cstdlib>
#include <filesystem>
#include <stdlib.h>

namespace zam1 {
namespace {

std::string makeFolderIn(const std::filesystem::path& base) {
    std::string pattern = (base / "zam1-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return {};  // mkdtemp creates it with mode 0700
    return pattern;
}

} // namespace

PrivateFolder::PrivateFolder(const std::string& base) {
    if (!base.empty()) m_path = makeFolderIn(base);
    if (m_path.empty()) {
        std::error_code failed;
        const std::filesystem::path system = std::filesystem::temp_directory_path(failed);
        if (!failed) m_path = makeFolderIn(system);
    }
}

PrivateFolder::~PrivateFolder() {
    if (m_path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace zam1
