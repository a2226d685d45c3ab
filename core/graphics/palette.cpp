#include "core/graphics/palette.h"

#include <algorithm>
#include <array>
#include <cmath>

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

double contrastRatio(Rgb a, Rgb b) {
    const auto channel = [](std::uint8_t v) {
        const double c = v / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const auto luminance = [&](Rgb c) { return 0.2126 * channel(c.r) + 0.7152 * channel(c.g) + 0.0722 * channel(c.b); };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb readableOn(Rgb colour, Rgb background) {
    if (colour == background || contrastRatio(colour, background) >= kReadableContrast) return colour;
    constexpr Rgb kWhite{255, 255, 255};
    constexpr Rgb kBlack{0, 0, 0};
    // One of the two always reads (at least 4.58 : 1 on any background).
    const Rgb towards = contrastRatio(kWhite, background) >= contrastRatio(kBlack, background) ? kWhite : kBlack;
    const auto mix = [&](double t) {
        const auto one = [t](std::uint8_t from, std::uint8_t to) {
            return static_cast<std::uint8_t>(std::lround(from + (to - from) * t));
        };
        return Rgb{one(colour.r, towards.r), one(colour.g, towards.g), one(colour.b, towards.b)};
    };
    for (int step = 1; step < 20; ++step) {
        const Rgb mixed = mix(step / 20.0);
        if (contrastRatio(mixed, background) >= kReadableContrast) return mixed;
    }
    return towards;
}

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
