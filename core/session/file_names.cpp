#include "core/session/file_names.h"

#include <algorithm>
#include <filesystem>

#include "core/platform/path_parts.h"
#include "core/session/program_identity.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kShortenFrom = 50; // characters

std::size_t characterCount(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

std::string normalPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code failed;
    fs::path absolute = fs::absolute(path, failed);
    if (failed) absolute = path;
    return absolute.lexically_normal().string();
}

void enterRecentFile(RecentFiles& files, const std::string& path) {
    const std::string f = normalPath(path);
    for (int k = static_cast<int>(files.size()); k >= 1; --k) {
        if (files[static_cast<std::size_t>(k - 1)] == f) removeRecentFile(files, k);
    }
    std::shift_right(files.begin(), files.end(), 1);
    files.front() = f;
}

void removeRecentFile(RecentFiles& files, int k) {
    if (k < 1 || k > static_cast<int>(files.size())) return;
    std::shift_left(files.begin() + (k - 1), files.end(), 1);
    files.back().clear();
}

std::string shortenedFileName(std::string_view name) {
    if (characterCount(name) < kShortenFrom) return std::string(name);
    // The first folder of an absolute name ends at its second "/".
    const std::size_t firstFolderEnd = name.find('/', name.starts_with('/') ? 1 : 0);
    const std::size_t lastPart = name.rfind('/');
    if (firstFolderEnd == std::string_view::npos || firstFolderEnd >= lastPart) return std::string(name);
    return std::string(name.substr(0, firstFolderEnd + 1)) + "..." + std::string(name.substr(lastPart));
}

std::string recentFileCaption(const RecentFiles& files, int k) {
    if (k < 1 || k > static_cast<int>(files.size())) return {};
    const std::string& name = files[static_cast<std::size_t>(k - 1)];
    if (name.empty()) return {};
    return "&" + std::to_string(k) + " " + shortenedFileName(name);
}

std::string windowCaption(std::string_view currentFile) {
    std::string caption(kProgramTitle);
    if (currentFile.empty()) return caption;
    caption += "  -  ";
    caption += currentFile;
    // The same rule as the completion of the file name: a "." in a folder is no extension.
    if (fileNamePart(currentFile).find('.') == std::string_view::npos) caption += "." + std::string(kProjectExtension);
    return caption;
}

} // namespace zam1
