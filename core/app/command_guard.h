#pragma once
// The last line of defence of every command: an exception that escapes a command
// becomes the program's error message and the error flag, never the end of the
// program. It is a last resort; faults are mended where they arise.

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace zam1 {

class ErrorFlag;
class Prompter;
struct ProgramState;

// What the user reads when a command failed in a way the program did not foresee.
std::string unexpectedFaultText(std::string_view what);

// Runs a menu command. On an escaping exception the message is shown through
// the state's prompter, the error flag is set, and false is returned.
bool runGuarded(ProgramState& state, const std::function<void()>& command);

// The same for a caller without the program's state at hand: the message goes to
// `prompter` and the flag to `error`, where given.
bool runGuarded(Prompter* prompter, ErrorFlag* error, const std::function<void()>& command);

// A handler of the window system (a button, a timer, a key) that calls the core
// under runGuarded: an exception never reaches the event loop, where it would end
// the program.
template <class Handler>
auto guardedHandler(ProgramState& state, Handler handler) {
    return [&state, handler = std::move(handler)] { runGuarded(state, handler); };
}

// Runs a batch mode and returns its exit code. On an escaping exception the
// message goes to `err`, the error flag is set, and the exit code is 1. The batch
// writers commit their files only when all was written, so nothing is left behind.
int runGuardedBatch(ProgramState& state, std::ostream& err, const std::function<int()>& command);

// True when `output` names the same file as `input` (after resolving folders and
// links); a batch run must not write its result over the project it reads.
bool sameFile(const std::string& input, const std::string& output);

} // namespace zam1
