#pragma once
// The command line of wzam1: everything that runs without a window. main() only
// decides between this and the window.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

// Runs the command line (arguments without the program name). Returns the exit code.
int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// True when the arguments ask for the window: none, or a project name (with an
// extension) without a batch switch. Help, /I, /CAD, --iso and --analyse run headless.
bool wantsWindow(const std::vector<std::string>& arguments);
// The project the window loads at start; empty for none ("/E" and "/G" name none).
std::string windowProject(const std::vector<std::string>& arguments);

} // namespace zam1
