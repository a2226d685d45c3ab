#pragma once
// The parts of a file-system path the program composes and takes apart: folder,
// file name, base name and extension, and a name put into a folder.

#include <string>
#include <string_view>

namespace zam1 {

// folder + "/" + name; the name alone when there is no folder.
inline std::string pathIn(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty()) return std::string(name);
    if (path.back() != '/') path += '/';
    return path.append(name);
}

// The name after the last "/".
inline std::string_view fileNamePart(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The file name without its extension (the text from its last ".").
inline std::string baseNameOf(std::string_view path) {
    const std::string_view name = fileNamePart(path);
    return std::string(name.substr(0, name.find_last_of('.')));
}

// The extension of the file name with its dot (the text from its last "."):
// ".zm1" of "/tmp/v1.2/welle.zm1", "" of "/tmp/v1.2/welle". A dot in a folder is
// no extension.
inline std::string_view extensionPart(std::string_view path) {
    const std::string_view name = fileNamePart(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

// The path without the extension of its file name; the folder stays.
inline std::string withoutExtension(std::string_view path) {
    return std::string(path.substr(0, path.size() - extensionPart(path).size()));
}

// The folder of a path: "." for a bare name, "/" for a file at the root.
inline std::string folderOf(std::string_view path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

} // namespace zam1
