#pragma once
// The command line of wzam1: everything that runs without a window. main() only
// decides between this and the window.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

struct ProgramState;

// What a start from the command line comes to: a batch run that ended with its
// exit code, or an interactive start that the window takes over.
struct CommandLineResult {
    int exitCode = 0;
    bool openWindow = false;
    std::string project;  // the project the window loads; empty for none
};

// Runs the command line (arguments without the program name) on `state`; the
// batch runs install their own ports for their length, `state.clock` is used as it is.
CommandLineResult runCommandLine(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err);

// True when the arguments ask for the window: none, or a project name (with an
// extension) without a batch switch. Help, /I, /CAD, --iso and --analyse run headless.
bool wantsWindow(const std::vector<std::string>& arguments);
// The project the window loads at start; empty for none ("/E" and "/G" name none).
std::string windowProject(const std::vector<std::string>& arguments);

} // namespace zam1
