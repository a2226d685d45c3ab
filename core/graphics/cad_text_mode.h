#pragma once
// "CAD Text Mode": how the texts of a CAD file are coded.

#include <string>
#include <string_view>

namespace zam1 {

enum class CadTextMode : int {
    Oem = 1,        // the stored (OEM) bytes as they are
    Windows = 2,    // converted to the Windows code page
    TwoLetter = 3,  // the German special characters spelt with two letters ("ü" -> "ue")
    Unicode = 4,    // DXF: every character outside ASCII as "\U+XXXX", which every current reader decodes
};

// The mode of the configured number; a number that names no mode keeps the OEM bytes.
constexpr CadTextMode cadTextModeOf(int configured) {
    switch (configured) {
    case 2: return CadTextMode::Windows;
    case 3: return CadTextMode::TwoLetter;
    case 4: return CadTextMode::Unicode;
    default: return CadTextMode::Oem;
    }
}

// The stored (OEM) text with every character outside ASCII as "\U+XXXX" (four
// upper-case hex digits of its code point). A backslash that would begin such an
// escape is escaped itself, so a text reads back as it was.
std::string dxfUnicodeEscapes(std::string_view oem);

// A text of a file written in `mode` back in the stored code page: the Windows
// code page converted, escapes decoded; the other modes hold stored bytes already.
std::string storedFromCadText(std::string_view text, CadTextMode mode);

} // namespace zam1
