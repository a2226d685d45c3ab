#pragma once
// A closing dimension calculated once, before anything is written or drawn: its
// sums and the two sides of its path, or the structure error that kept it from
// being resolved. Reports and diagrams read and format these values; none of
// them resolves again, so a failed resolution can never show the numbers of the
// distance resolved before it.

#include <cstdint>
#include <vector>

#include "core/model/records.h"

namespace zam1 {

class Chain;

struct ClosingSolution {
    int fromElement = 0;
    int toElement = 0;
    bool resolved = false;          // false: structureError says why, sums and sides are empty
    ShortString<60> structureError;
    ClosingSums sums;
    // Each end's own side, nearest element first; the shared tail is on neither.
    std::vector<std::int32_t> pathFrom;
    std::vector<std::int32_t> pathTo;
    int sharedElement = 0;          // the first element both ends share (0 for the reference)

    // The path in drawing order: from the first end to the shared element, then
    // out to the second end.
    std::vector<int> elements() const;
};

// Resolves the distance a -> b with resolveDistance (its messages go to
// chain.messages as usual) and keeps what it found. The working values must be current.
ClosingSolution solveDistance(Chain& chain, int a, int b);

// Closing dimension k (1..closingCount).
ClosingSolution solveClosing(Chain& chain, int k);

// Every closing dimension of the chain, in order; the messages are added in the
// order the closing dimensions stand, as resolving them one by one adds them.
// Each sum keeps its own summation order (nearest element first), so the values
// are those of solveClosing to the last bit; independent closing dimensions are
// summed side by side.
std::vector<ClosingSolution> solveAllClosings(Chain& chain);

// The side sums of a resolved solution, for tests and for callers that filled
// the sides themselves.
void sumSides(const Chain& chain, ClosingSolution& solution);

} // namespace zam1
