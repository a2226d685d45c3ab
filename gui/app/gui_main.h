#pragma once
// The interactive start of wzam1: is there a display, and the window's run.

#include <string>
#include <vector>

namespace zam1 {

// True when a window can be opened: an X11 or Wayland display, or a Qt platform
// chosen explicitly (QT_QPA_PLATFORM, e.g. offscreen for tests).
bool displayAvailable();
std::string noDisplayText();

// Creates the application and the main window, starts it with the arguments and
// runs until the window closes. Returns the exit code.
int runWindow(int& argc, char** argv, const std::vector<std::string>& arguments);

} // namespace zam1
