#pragma once
// The command line of wzam1: everything that runs without a window. main() only
// decides between this and the window.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

// Runs the command line (arguments without the program name). Returns the exit code.
int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace zam1
