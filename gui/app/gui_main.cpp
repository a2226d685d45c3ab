#include "gui/app/gui_main.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>

#include "core/app/window_start.h"
#include "core/session/program_state.h"
#include "core/config/config_file.h"
#include "core/platform/desktop_recent.h"
#include "core/session/program_settings.h"
#include "gui/app/main_window.h"
#include "gui/graphics/graphics_widget.h"

namespace zam1 {
namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool displayAvailable() { return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM"); }

std::string noDisplayText() {
    return "wzam1: keine Anzeige gefunden (DISPLAY und WAYLAND_DISPLAY sind leer) - das Programmfenster kann nicht "
           "ge\xC3\xB6" "ffnet werden.\n"
           "wzam1: no display found (DISPLAY and WAYLAND_DISPLAY are empty); the window cannot open.\n"
           "Without a window: wzam1 project.zm1 /I writes the standard report, wzam1 --help lists the batch modes.";
}

int runWindow(int& argc, char** argv, const WindowStartPlan& start) {
    QApplication app(argc, argv);
    ProgramState& state = program();
    // Projects opened and saved in the window go to the desktop's recent files too.
    state.desktopRecentList = desktopRecentListPath();
    Thh window(state);
    if (!window.start(start)) return 1;
    window.showBelowGraphics();
    // For the start-time measurement: end as soon as the window is on the screen.
    if (isSet("ZAM1_QUIT_WHEN_SHOWN")) QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    const int code = app.exec();
    // Shut-down: the recent files of this session.
    writeRecentFiles(state);
    state.error.clear();
    return code;
}

} // namespace zam1
