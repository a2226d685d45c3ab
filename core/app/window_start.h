#pragma once
// The start-up of the program that the command line and the window share, and
// what only the window does: the recent files, the project named on the command
// line, the stored language, the caption.

#include <string>

namespace zam1 {

struct ProgramState;
struct ScreenInfo;

// The configuration of the start directory (or the per-user folder) and the
// checks of the configured folders. A failure is shown and cleared: start-up goes on.
void readStartConfiguration(ProgramState& state, const ScreenInfo& screen);

// The window's start-up after the configuration: the recent files, the project
// named on the command line (empty: none), the stored language. Failures are cleared.
void startWindowSession(ProgramState& state, const std::string& project);

// The program title, then "  -  " and the current file name + ".zm1" (or the name
// as typed when it has a "."); the title alone without a current file. UTF-8.
std::string windowCaption(const ProgramState& state);

// The File menu's Open (the close query, the open dialog, the read, the newest
// recent file). False when cancelled or unreadable (error flag set).
bool openProjectCommand(ProgramState& state);

} // namespace zam1
