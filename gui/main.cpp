// wzam1: the batch modes run headless through the core's command line; an
// interactive start opens the window, which needs a display. The exports that
// paint (PDF, SVG, PNG) and the PDF sign-off report run with Qt on the offscreen
// platform, still without one.
#include <iostream>
#include <string>
#include <vector>

#include "core/app/batch_analysis.h"
#include "core/app/batch_export.h"
#include "core/app/command_line.h"
#include "core/session/program_state.h"
#include "gui/app/batch_painter.h"
#include "gui/app/gui_main.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (zam1::exportNeedsPainter(arguments) || zam1::analysisNeedsPainter(arguments)) return zam1::runPaintedBatch(argc, argv, arguments);
    const zam1::CommandLineResult start = zam1::runCommandLine(zam1::program(), arguments, std::cout, std::cerr);
    if (!start.openWindow) return start.exitCode;
    if (!zam1::displayAvailable()) {
        std::cerr << zam1::noDisplayText() << '\n';
        return 1;
    }
    return zam1::runWindow(argc, argv, start.start);
}
