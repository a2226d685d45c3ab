#pragma once
// General tolerances: the deviations a dimension without its own tolerance gets
// from the selected standard (DIN ISO 2768-1, DIN 16901, DIN 6930, EN 12420), a
// constant pair, or none. The program holds one selection for its whole run; it
// is not stored in project files.

#include <cstdint>
#include <optional>

namespace zam1 {

struct Element;

// Standard codes of the selection. 8 is not used.
enum GeneralStandard : std::uint16_t {
    kGeneralNone = 1,
    kIso2768Fine = 2,
    kIso2768Medium = 3,
    kIso2768Coarse = 4,
    kIso2768VeryCoarse = 5,
    kDin16901 = 6,
    kGeneralConstant = 7,
    kDin6930 = 9,
    kEn12420 = 10,
};

struct GeneralToleranceSetting {
    std::uint16_t standardCode = kIso2768Medium;
    // DIN 16901: 1 not mould-bound, 2 mould-bound; DIN 6930: class 1 fine ..
    // 4 very coarse; EN 12420: 1 tool-bound, 2 not tool-bound.
    std::uint16_t option = 1;
    // DIN 6930: thickness range 1..5; EN 12420: range of the projected area 1..6.
    std::uint16_t rangeIndex = 1;
    // DIN 16901: tolerance group 1..7 (160 .. 110, precision engineering);
    // EN 12420: material group 1..3 (I, II, III).
    std::uint16_t group = 3;
    long double constantUpper = 0.1L;   // mm
    long double constantLower = -0.1L;  // mm
};

struct GeneralTolerance {
    long double upperMm = 0;
    long double lowerMm = 0;
};

// The deviations the selection gives a nominal size, or nothing when it gives
// none: no general tolerance, an unused code, a class, group or range outside the
// tables, or a size that is not a number. Sizes are classified by their magnitude.
std::optional<GeneralTolerance> generalToleranceFor(long double nominalMm, const GeneralToleranceSetting& setting);

// Sets the element's upperDev and lowerDev from its distance; leaves the element
// untouched when the selection gives nothing. Returns whether it wrote them.
bool ApplyGeneralTolerance(Element& element, const GeneralToleranceSetting& setting);

} // namespace zam1
