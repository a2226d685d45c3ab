#pragma once
// Turns the element table into signed values, places every element relative to
// element 0, and resolves the distance between two elements through the
// predecessor tree into chain.result.

#include <string_view>

namespace zam1 {

class Chain;

// Clears the messages, derives the working values of elements 0..elementCount,
// warns on inverted tolerances, then computes the positions.
void deriveElementValues(Chain& chain);

// Position of every element 1..elementCount = nominal distance from element 0.
void computePositions(Chain& chain);

// Fills chain.result for the distance from `fromElement` to `toElement`. Returns
// false on a structure error (the sums of chain.result then stay as they were).
// Relies on the working values being current. Never allocates.
bool resolveDistance(Chain& chain, int fromElement, int toElement);

void addMessage(Chain& chain, std::string_view text);
void clearMessages(Chain& chain);

} // namespace zam1
