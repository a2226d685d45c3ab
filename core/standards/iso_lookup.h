#pragma once
// "wzam1 --iso CODE SIZE": the ISO 286 deviations of a code, or of a fit written
// hole/shaft ("H7/g6"), at a nominal size, for engineers at the command line.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

// `args` are the arguments after "--iso": the code and the nominal size in mm.
// Prints one line per code: the normal form, a tab, the upper and the lower
// deviation in mm (four decimals, "." separator, sign on every nonzero value)
// separated by a tab, and a tab and the message when there is one. A fit adds
// "fit", the largest and the smallest clearance (negative = interference).
// Returns 0 for valid deviations, 1 when a message is an error, 2 (with a one-line
// usage message on `err`) for arguments it cannot use.
int runIsoLookup(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zam1
