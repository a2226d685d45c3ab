#pragma once
// The interactive start of wzam1: is there a display, and the window's run.

#include <string>

namespace zam1 {

struct WindowStartPlan;

// True when a window can be opened: an X11 or Wayland display, or a Qt platform
// chosen explicitly (QT_QPA_PLATFORM, e.g. offscreen for tests).
bool displayAvailable();
std::string noDisplayText();

// Creates the application and the main window, starts it with the command line's
// plan and runs until the window closes. Returns the exit code: 1 when the
// project named can be neither read nor created.
int runWindow(int& argc, char** argv, const WindowStartPlan& start);

} // namespace zam1
