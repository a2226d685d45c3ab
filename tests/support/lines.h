#pragma once
// Files of this program end their lines with CR LF; tests take them apart and
// put them together again line by line.

#include <cstdint>
#include <string>
#include <vector>

namespace zam1::test {

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        out.push_back(text.substr(pos, end - pos));
        if (end == std::string::npos) break;
        pos = end + 2;
    }
    return out;
}

inline std::string joinLines(const std::vector<std::string>& lines, std::size_t count = SIZE_MAX) {
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < count; ++i) out += lines[i] + "\r\n";
    return out;
}

} // namespace zam1::test
