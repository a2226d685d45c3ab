#pragma once
// The arithmetic of the element sigma dialog and the angle dialog: rescaling an
// element's tolerance zone from its own process sigma to the chain's, and turning
// an inclined dimension (height y at angle phi) into a horizontal distance.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/text/number_format.h"

namespace zam1 {

struct Element;
struct LanguageTexts;

// The element's zone (middle m, width w) and its width w' at the chain's sigma.
struct SigmaRescale {
    long double middle = 0;
    long double width = 0;
    long double newWidth = 0;

    long double newUpper() const { return middle + newWidth / 2; }
    long double newLower() const { return middle - newWidth / 2; }
};

// Nothing unless both the element's sigma s and the chain's sigma are above 0: a
// negative s would swap the tolerances, 0 has no meaning.
std::optional<SigmaRescale> rescaleForSigma(long double upper, long double lower, long double productionSigma,
                                            long double elementSigma);

// The two display lines and the question of the sigma dialog (CP850).
struct SigmaTexts {
    std::string before;   // "25 ±0.1 (Sigma=6)"
    std::string after;    // "= 25 ±0.05 (Sigma=3)"
    std::string question; // "25 ±0.05 ?"
};
SigmaTexts sigmaTexts(const Element& element, const SigmaRescale& rescale, long double elementSigma,
                      long double productionSigma, std::string_view plusMinus);

// phi and its tolerances in degrees; y and its tolerances in the chain's unit.
struct AngleInput {
    long double phi = 45, phiUpper = 0.5L, phiLower = -0.5L;
    long double y = 10, yUpper = 0.1L, yLower = -0.1L;
};

struct InclinedDistance {
    long double x = 0;
    long double upper = 0;  // x_max - x
    long double lower = 0;  // x_min - x
};

// The six fields as typed, in the order phi, phi upper, phi lower, y, y upper,
// y lower. Nothing when one of them is not a number.
std::optional<AngleInput> readAngleInput(const std::array<std::string, 6>& fields);

// Why the angle dialog cannot take its fields: the first field, in the order
// above, that is no number or (y and its tolerances) a length beyond the limit,
// named with what it holds ("phi: Ungültige Eingabe \"4x5\" !"); then a result
// beyond the limit. Empty when OK may take the result over.
std::string angleInputFault(const std::array<std::string, 6>& fields, const std::optional<InclinedDistance>& result,
                            const LanguageTexts& texts);

// Nothing when the angle, over its whole tolerance range, touches a multiple of
// 90 degrees: there x is undefined (90) or has no tangent to divide by (0, 180).
std::optional<InclinedDistance> inclinedDistance(const AngleInput& input);

// The dialog's result labels: x in the automatic format, the tolerances signed
// with 3 decimals and empty for exactly 0.
std::array<std::string, 3> inclinedLabels(const InclinedDistance& result);

} // namespace zam1
