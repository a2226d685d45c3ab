#include "core/graphics/palette.h"

#include <array>

namespace zam1 {
namespace {

constexpr std::array<Rgb, 16> kPalette = {{
    {0, 0, 0}, {0, 0, 128}, {0, 255, 0}, {0, 255, 255},
    {255, 0, 0}, {128, 0, 128}, {128, 0, 0}, {192, 192, 192},
    {176, 176, 176}, {0, 0, 255}, {0, 255, 0}, {0, 255, 255},
    {255, 0, 0}, {255, 0, 255}, {255, 255, 0}, {255, 255, 255},
}};

// CAD colours 0..7: none, red, yellow, green, cyan, blue, magenta, white.
constexpr std::array<int, 8> kCadToPalette = {0, 12, 14, 10, 11, 9, 13, 15};

} // namespace

Rgb paletteColour(int number) {
    if (number < 0 || number >= static_cast<int>(kPalette.size())) return {};
    return kPalette[static_cast<std::size_t>(number)];
}

int GetColorTurbo(int cadColour) {
    if (cadColour > 15) cadColour = cadColour % 16 + 1;
    if (cadColour < 0) return 0;
    if (cadColour < 8) return kCadToPalette[static_cast<std::size_t>(cadColour)];
    return cadColour - 7;
}

int lineStyleFromName(std::string_view name) {
    if (name == "DOTTED" || name == "PUNKT") return kDotted;
    if (name == "CENTER" || name == "DASHDOT" || name == "STRICHPUNKT") return kDashDot;
    if (name == "DASHED" || name == "HIDDEN" || name == "VERDECKT") return kDashed;
    return kSolid;
}

int systemPenStyle(int windowStyle) {
    switch (windowStyle) {
    case kDotted: return 2;
    case kDashDot: return 3;
    case kDashed: return 1;
    default: return 0;
    }
}

bool GetDirection(long double angleDeg) {
    const auto inside = [angleDeg](long double lo, long double hi) { return angleDeg > lo && angleDeg < hi; };
    return inside(45, 135) || inside(225, 315) || inside(-135, -45);
}

} // namespace zam1
