#include "core/editors/sigma_angle.h"

#include <cmath>
#include <numbers>

#include "core/analysis/input_check.h"
#include "core/lang/language.h"
#include "core/model/records.h"

namespace zam1 {
namespace {

std::string signedThreeDecimals(long double value) {
    if (value == 0) return {};
    return (value > 0 ? "+" : "") + fixedText(value, 0, 3, false);
}

} // namespace

std::optional<SigmaRescale> rescaleForSigma(long double upper, long double lower, long double productionSigma,
                                            long double elementSigma) {
    if (!(elementSigma > 0) || !(productionSigma > 0)) return std::nullopt;
    SigmaRescale r;
    r.width = upper - lower;
    r.middle = upper - r.width / 2;
    r.newWidth = r.width * productionSigma / elementSigma;
    return r;
}

SigmaTexts sigmaTexts(const Element& element, const SigmaRescale& rescale, long double elementSigma,
                      long double productionSigma, std::string_view plusMinus) {
    const std::string distance = autoNumber(element.distance);
    const std::string now = tolerancePair(element.lowerDev, element.upperDev, plusMinus);
    const std::string rescaled = tolerancePair(rescale.newLower(), rescale.newUpper(), plusMinus);
    SigmaTexts t;
    t.before = distance + " " + now + " (Sigma=" + autoNumber(elementSigma) + ")";
    t.after = "= " + distance + " " + rescaled + " (Sigma=" + autoNumber(productionSigma) + ")";
    t.question = distance + " " + rescaled + " ?";
    return t;
}

std::optional<AngleInput> readAngleInput(const std::array<std::string, 6>& fields) {
    std::array<long double, 6> v{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!parseNumber(fields[i], v[i])) return std::nullopt;
    }
    return AngleInput{v[0], v[1], v[2], v[3], v[4], v[5]};
}

std::string angleInputFault(const std::array<std::string, 6>& fields, const std::optional<InclinedDistance>& result,
                            const LanguageTexts& texts) {
    const std::string upper = " (" + texts.main.upperTolerance + ")";
    const std::string lower = " (" + texts.main.lowerTolerance + ")";
    const std::array<std::string, 6> names = {"phi", "phi" + upper, "phi" + lower, "y", "y" + upper, "y" + lower};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        long double value = 0;
        // The angles are degrees, any number; y and its tolerances are lengths.
        const LengthReading reading = i < 3 ? (parseNumber(fields[i], value) ? LengthReading::Read : LengthReading::NotANumber)
                                            : readLength(fields[i], value);
        if (reading != LengthReading::Read) return lengthRefusalText(reading, names[i], fields[i], texts);
    }
    if (!result) return {};
    const std::array<std::pair<std::string, long double>, 3> results = {
        std::pair{std::string("x"), result->x}, {"x" + upper, result->upper}, {"x" + lower, result->lower}};
    for (const auto& [name, value] : results) {
        if (!lengthWithinLimit(value)) return beyondLimitText(name, autoNumber(value), texts);
    }
    return {};
}

std::optional<InclinedDistance> inclinedDistance(const AngleInput& in) {
    const long double phiLo = in.phi + in.phiLower;
    const long double phiHi = in.phi + in.phiUpper;
    const long double lowest = std::fmin(in.phi, std::fmin(phiLo, phiHi));
    const long double highest = std::fmax(in.phi, std::fmax(phiLo, phiHi));
    if (!std::isfinite(lowest) || !std::isfinite(highest)) return std::nullopt;
    // The range must not reach a multiple of 90 degrees, ends included.
    if (std::ceil(lowest / 90) * 90 <= highest) return std::nullopt;
    const long double toRad = std::numbers::pi_v<long double> / 180;
    const auto tangent = [&](long double degrees) { return std::tan(degrees * toRad); };
    InclinedDistance r;
    r.x = in.y / tangent(in.phi);
    const long double xMax = (in.y + in.yUpper) / tangent(phiLo);
    const long double xMin = (in.y + in.yLower) / tangent(phiHi);
    r.upper = xMax - r.x;
    r.lower = xMin - r.x;
    return r;
}

std::array<std::string, 3> inclinedLabels(const InclinedDistance& r) {
    return {autoNumber(r.x), signedThreeDecimals(r.upper), signedThreeDecimals(r.lower)};
}

} // namespace zam1
