#pragma once
// The command line of wzam1: everything that runs without a window. main() only
// decides between this and the window.

#include <iosfwd>
#include <string>
#include <vector>

#include "core/app/window_start.h"

namespace zam1 {

class ExportPainter;
struct ProgramState;

// What a start from the command line comes to: a batch run that ended with its
// exit code, or an interactive start that the window takes over.
struct CommandLineResult {
    int exitCode = 0;
    bool openWindow = false;
    WindowStartPlan start;  // what the window does with the project named
};

// Runs the command line (arguments without the program name) on `state`; the
// batch runs install their own ports for their length, `state.clock` is used as it is.
// `painter` makes the PDF, SVG and PNG files of "--export"; without one those fail.
CommandLineResult runCommandLine(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err, ExportPainter* painter = nullptr);

// True when the arguments ask for the window: none, or a project name (with an
// extension) without a batch switch. Help, /I, /CAD, --iso, --analyse, --export,
// --version and any other "--" option run headless.
bool wantsWindow(const std::vector<std::string>& arguments);
// What the window does at start with the project named ("/E" and "/G" read none).
WindowStartPlan windowStart(const std::vector<std::string>& arguments);

} // namespace zam1
