#pragma once
// The steps of resolving a distance, shared by resolveDistance (one distance into
// the chain's working record) and solveAllClosings (every closing dimension at
// once). Both must give the same sums to the last bit, so both use these.

#include <array>
#include <cstdint>
#include <string_view>

#include "core/model/chain.h"

namespace zam1::resolution {

using Path = std::array<std::int32_t, kMaxElements + 2>;

// The path of one end: entry 1 is the end itself, each further entry the
// predecessor of the one before, down to the reference element 0. Entry 0 stands
// for element 0 as well. False when the tree is broken: a cycle (more than
// elementCount + 1 entries) or a number outside 0..elementCount.
bool buildPath(const Chain& chain, int end, Path& path, int& length);

// Walks both paths back from element 0 until they part: entries 1..i of a's path
// and 1..j of b's are each end's own side. False when one path runs out first.
bool findParting(const Path& pathA, int lengthA, const Path& pathB, int lengthB, int& i, int& j);

// The element where both sides meet; a negative end counts as element 0.
inline int meetingElement(const Path& pathA, int i) {
    const int e = pathA[static_cast<std::size_t>(i + 1)];
    return e > 0 ? e : 0;
}

struct SideSums {
    long double nominal = 0;
    long double max = 0;
    long double min = 0;
    long double mean = 0;
    long double halfRangeSquared = 0;
};

// Sums the working values over `count` elements, in the order given.
inline SideSums sumSide(const Chain& chain, const std::int32_t* elements, int count) {
    SideSums s;
    for (int k = 0; k < count; ++k) {
        const Element& e = chain.element(elements[k]);
        s.nominal += e.signedNominal;
        s.max += e.signedMax;
        s.min += e.signedMin;
        s.mean += e.signedMean;
        s.halfRangeSquared += e.halfRangeSquared;
    }
    return s;
}

inline constexpr std::string_view kUndefinedDistance = "Undefinierter Abstand !";

// The structure error of a -> b into `error`, its message into the chain's list.
void structureFault(Chain& chain, ShortString<60>& error, int a, int b);
// The distance of an element to itself.
void undefinedDistance(Chain& chain, ShortString<60>& error);

// The closing values from the sums of a's side and b's side.
void combineSides(const SideSums& sa, const SideSums& sb, ClosingSums& r);

} // namespace zam1::resolution
