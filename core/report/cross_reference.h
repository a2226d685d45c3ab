#pragma once
// Cross references: in which closing dimensions an element takes part.

namespace zam1 {

class Chain;
struct ClosingSolution;
class OutputChannel;

inline constexpr const char* kCrossReferenceFile = "ZAM1QV.TXT";

// True when element n lies on the solved distance, the first element both ends
// share included (its tolerance does not enter, but it is on the path).
bool elementInvolved(const ClosingSolution& solution, int n);

// The section of element n: every closing dimension it takes part in. Closing
// dimensions whose structure cannot be resolved are left out.
void writeCrossReference(OutputChannel& out, Chain& chain, int n);

// The menu commands: one element (asked for), or every element. False when
// nothing was written.
bool writeCrossReferenceOne(Chain& chain, OutputChannel& out);
bool writeCrossReferenceAll(Chain& chain, OutputChannel& out);

} // namespace zam1
