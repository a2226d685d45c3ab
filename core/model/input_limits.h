#pragma once
// How large a length may be, and which chain settings a calculation can work
// with. Every way a number comes in (the element table and the dialogs, the
// spreadsheet import, the project reader) takes the same limit, and the
// analysis refuses a chain that got past it, so what is calculated, saved and
// read back is the same number.

#include <string_view>
#include <vector>

namespace zam1 {

class Chain;

// Lengths and deviations, in the chain's unit: at most 1e9 in magnitude (1000 km
// in millimetres). Far beyond any part, and small enough that a real line with
// its 7 to 10 decimals keeps every digit of an extended float, that the sums and
// squares of 2500 elements stay finite, and that no report field runs away.
inline constexpr long double kMaxLength = 1e9L;

// The production factor sigma: 0 (no statistics) or 0.01 to 10. The reports print
// it with two decimals, so a smaller one would be shown as 0 while it divides
// every standard deviation.
inline constexpr long double kMinProductionSigma = 0.01L;
inline constexpr long double kMaxProductionSigma = 10;

// Finite and at most kMaxLength in magnitude.
bool lengthWithinLimit(long double value);
// 0, or kMinProductionSigma to kMaxProductionSigma.
bool productionSigmaUsable(long double sigma);

// A typed or imported length: a number within the limit, no number at all, or a
// number beyond the limit. `value` is set only for Read.
enum class LengthReading { Read, NotANumber, OutOfRange };
LengthReading readLength(std::string_view text, long double& value);

// What makes an element's numbers untrustworthy for a calculation.
struct ElementInputProblem {
    enum class Kind {
        Nominal,         // the distance is not finite or beyond kMaxLength
        Upper,           // the same for the upper deviation
        Lower,           // the same for the lower deviation
        UpperBelowLower, // the upper deviation lies below the lower one
    };
    int element = 0;
    Kind kind = Kind::Nominal;
};

// Every problem of elements 1..elementCount, in element order.
std::vector<ElementInputProblem> elementInputProblems(const Chain& chain);

} // namespace zam1
