#pragma once
// "CAD Text Mode": how the texts of a CAD file are coded.

namespace zam1 {

enum class CadTextMode : int {
    Oem = 1,        // the stored (OEM) bytes as they are
    Windows = 2,    // converted to the Windows code page
    TwoLetter = 3,  // the German special characters spelt with two letters ("ü" -> "ue")
};

// The mode of the configured number; a number that names no mode keeps the OEM bytes.
constexpr CadTextMode cadTextModeOf(int configured) {
    switch (configured) {
    case 2: return CadTextMode::Windows;
    case 3: return CadTextMode::TwoLetter;
    default: return CadTextMode::Oem;
    }
}

} // namespace zam1
