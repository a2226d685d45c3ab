#pragma once
// The classic 16-colour PC palette of the graphics window, the CAD colour
// numbering mapped onto it, and the line styles.

#include <cstdint>
#include <string_view>

namespace zam1 {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

// Palette colour 0..15; 16 (and anything outside) is black.
Rgb paletteColour(int number);

// The contrast ratio of two colours by their relative luminance (sRGB), from 1
// (the same) to 21 (black on white).
double contrastRatio(Rgb a, Rgb b);

// Lines and texts need this much contrast against the background to be read.
inline constexpr double kReadableContrast = 3.0;

// `colour` as it is drawn on `background` on the screen: unchanged when it reads
// well enough, and also when it is the background itself (that is how the window
// erases); otherwise mixed towards white or black, whichever reads better on the
// background, just far enough to reach the readable contrast.
Rgb readableOn(Rgb colour, Rgb background);

// CAD colour number (DXF numbering) to palette number.
int GetColorTurbo(int cadColour);

// Line styles of the window: 0 solid, 1 dotted, 2 dash-dot, 3 dashed.
enum LineStyle : int { kSolid = 0, kDotted = 1, kDashDot = 2, kDashed = 3 };

// The window's style for a CAD line-type name; exact, case-sensitive names.
int lineStyleFromName(std::string_view name);

// The system pen style (0 solid, 1 dash, 2 dot, 3 dash-dot) that paints a window style.
int systemPenStyle(int windowStyle);

// True for a mostly vertical direction: the angle lies in the open ranges
// 45..135, 225..315 or -135..-45 degrees.
bool GetDirection(long double angleDeg);

} // namespace zam1
