#pragma once
// Upper and lower case of the ASCII letters only: switches, extensions and
// message keys compare this way whatever the process locale, and the OEM bytes
// of umlauts stay as they are.

#include <string>
#include <string_view>

namespace zam1 {

inline std::string asciiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

inline std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

} // namespace zam1
