#pragma once
// The start-up of the program that the command line and the window share, and
// what only the window does: the recent files, the project named on the command
// line, the template project, the working copy left by a crash, the stored
// language, the caption.

#include <string>
#include <vector>

namespace zam1 {

struct ProgramState;
struct ScreenInfo;

// The configuration of the start directory (or the per-user folder) and the
// checks of the configured folders. A failure is shown and cleared: start-up goes on.
void readStartConfiguration(ProgramState& state, const ScreenInfo& screen);

// What an interactive start does with the command line's project name.
struct WindowStartPlan {
    enum class Project {
        None,      // no name: the template project of the data directory, if any
        Read,      // "wzam1 name.zm1": read it (an unreadable one becomes a new project under its name)
        NameOnly,  // "/E", "/G": the name stays the current name, nothing is read
    };
    Project project = Project::None;
    std::string name;        // as typed
    bool startFlag = false;  // "/G"
};
WindowStartPlan windowStartPlan(const std::vector<std::string>& positional);

// The window's start-up after the configuration: the recent files, the plan's
// project, the template "null.zm1" when no project was read, the offer to restore
// a working copy, the stored language. False when the start must end (exit code
// 1): a project name that can be neither read nor created. Other failures are
// shown and cleared. `projectRead` tells whether the overall graphic is due.
bool startWindowSession(ProgramState& state, const WindowStartPlan& plan, bool& projectRead);

// What programs that were killed left in the working copies' folder, the
// project's folder and the configuration folder: the safe writer's temporary
// files that no program has open,
// and lock files that guard no copy. Run at start, before the working copies
// are offered.
void tidyAfterEarlierRuns(const ProgramState& state);

// The program title, then "  -  " and the current file name + ".zm1" (or the name
// as typed when it has a "."); the title alone without a current file. UTF-8.
std::string windowCaption(const ProgramState& state);

// The closing text screen of the window program in the language of the texts
// (0 and 1 German, 2 English, 3 French): the program, its version, a farewell. UTF-8.
std::vector<std::string> closingScreenLines(int language);

} // namespace zam1
