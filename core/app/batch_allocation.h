#pragma once
// "wzam1 project.zm1 --allocate [--method proportional|cost|iso] [--closing N]
// [--json FILE|-]": tolerance allocation for the closing dimensions with a target
// in the project's settings file, without a window. Writes nothing to the project.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

struct ProgramState;

inline constexpr const char* kAllocateSwitch = "--allocate";

// `arguments` are the command line's: the project, "--allocate", the options.
// The text report (or with "--json -" the JSON) goes to `out`. Exit code: 0 every
// target reached (a fresh analysis of the changed chain agrees), 3 one cannot be
// reached within the elements' limits (or its closing dimension cannot be
// calculated), 1 the project or the settings file cannot be read or the JSON
// file not written, 2 unusable arguments (with a usage line), no closing
// dimension with a target, or a JSON file that is the project or its settings file.
int runBatchAllocation(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& err);

} // namespace zam1
