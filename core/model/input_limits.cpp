#include "core/model/input_limits.h"

#include <cmath>

#include "core/model/chain.h"
#include "core/text/number_format.h"

namespace zam1 {

bool lengthWithinLimit(long double value) { return std::isfinite(value) && std::fabs(value) <= kMaxLength; }

bool productionSigmaUsable(long double sigma) {
    return sigma == 0 || (sigma >= kMinProductionSigma && sigma <= kMaxProductionSigma);
}

LengthReading readLength(std::string_view text, long double& value) {
    long double read = 0;
    switch (readNumber(text, read)) {
    case NumberReading::NotANumber: return LengthReading::NotANumber;
    case NumberReading::OutOfRange: return LengthReading::OutOfRange;
    case NumberReading::Read: break;
    }
    if (!lengthWithinLimit(read)) return LengthReading::OutOfRange;
    value = read;
    return LengthReading::Read;
}

std::vector<ElementInputProblem> elementInputProblems(const Chain& chain) {
    using Kind = ElementInputProblem::Kind;
    std::vector<ElementInputProblem> problems;
    for (int n = 1; n <= chain.elementCount(); ++n) {
        const Element& e = chain.element(n);
        const std::size_t before = problems.size();
        if (!lengthWithinLimit(e.distance)) problems.push_back({n, Kind::Nominal});
        if (!lengthWithinLimit(e.upperDev)) problems.push_back({n, Kind::Upper});
        if (!lengthWithinLimit(e.lowerDev)) problems.push_back({n, Kind::Lower});
        if (problems.size() == before && e.upperDev < e.lowerDev) problems.push_back({n, Kind::UpperBelowLower});
    }
    return problems;
}

} // namespace zam1
