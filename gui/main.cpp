// wzam1: the batch modes run headless through the core's command line; an
// interactive start opens the window, which needs a display.
#include <iostream>
#include <string>
#include <vector>

#include "core/app/command_line.h"
#include "gui/app/gui_main.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!zam1::wantsWindow(arguments)) return zam1::runCommandLine(arguments, std::cout, std::cerr);
    if (!zam1::displayAvailable()) {
        std::cerr << zam1::noDisplayText() << '\n';
        return 1;
    }
    return zam1::runWindow(argc, argv, arguments);
}
