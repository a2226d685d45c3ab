// The screenshot tour, on a real X server (the test screenshot_tour_under_xvfb):
// the window started on a copy of the example as the program starts it, with a
// configuration of its own (the defaults), shows the overall graphic, the scheme
// and the normal distribution of closing dimension 1 and the standard report,
// and leaves a picture of the whole screen after each in screenshots/ beside
// the test program. On other platforms it is skipped.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

#include "core/app/view_commands.h"
#include "core/graphics/diagram_run.h"
#include "core/platform/desktop_recent.h"
#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "gui/graphics/graphics_widget.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

// Time for the X server to map and paint the windows before the picture is taken.
constexpr int kSettleMs = 700;

// More than a handful of colours: the picture shows windows, not an empty screen.
int coloursIn(const QImage& image) {
    QList<QRgb> seen;
    for (int y = 0; y < image.height() && seen.size() < 50; y += 7) {
        for (int x = 0; x < image.width() && seen.size() < 50; x += 7) {
            if (!seen.contains(image.pixel(x, y))) seen.append(image.pixel(x, y));
        }
    }
    return static_cast<int>(seen.size());
}

TEST(ScreenshotTour, TheViewCommandsOnTheExampleLeaveAPictureOfTheScreenEach) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs a real X server";
    const fs::path old = fs::current_path();
    const QString shots = QString::fromStdString((old / "screenshots").string());
    QDir(shots).removeRecursively();
    QDir().mkpath(shots);
    const fs::path folder = fs::temp_directory_path() / ("zam1-tour-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "config");
    fs::copy_file(fs::path(ZAM1_SOURCE_DIR) / "examples" / "getriebewelle.zm1", folder / "getriebewelle.zm1");
    // A configuration of its own (none: the defaults), never the user's.
    fs::current_path(folder);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    {
        ProgramState state;
        state.desktopRecentList = desktopRecentListPath();
        Thh w(state);
        ASSERT_TRUE(w.start((folder / "getriebewelle.zm1").string()));
        w.showBelowGraphics();
        QTest::qWait(kSettleMs);
        struct Step {
            const char* name;
            std::function<void()> command;
            bool waitsForReplay;
        };
        const Step steps[] = {
            {"overall", [&w] { viewDiagram(w.state(), w.graphics(), kDiagramOverall, 1); }, true},
            {"scheme", [&w] { viewDiagram(w.state(), w.graphics(), kDiagramScheme, 1); }, true},
            {"normal_distribution", [&w] { viewDiagram(w.state(), w.graphics(), kDiagramNormalDistribution, 1); },
             true},
            {"standard_report", [&w] { viewStandardReport(w.state()); }, false},
        };
        for (const Step& step : steps) {
            QSignalSpy replayed(&w.graphicsWidget(), &TFkorvgra::replayFinished);
            w.runCommand(step.command);
            // A refused diagram starts no replay: its picture shows the message instead.
            if (step.waitsForReplay && w.graphicsWidget().replayRunning() && replayed.isEmpty()) {
                EXPECT_TRUE(replayed.wait(60000)) << step.name;
            }
            QTest::qWait(kSettleMs);
            QScreen* screen = QGuiApplication::primaryScreen();
            ASSERT_NE(screen, nullptr);
            // The screen as the X server shows it, not the widgets' own rendering.
            const QPixmap picture = screen->grabWindow(0);
            const QString path = shots + QLatin1Char('/') + QLatin1String(step.name) + QStringLiteral(".png");
            EXPECT_TRUE(picture.save(path, "PNG")) << path.toStdString();
            EXPECT_GT(coloursIn(QImage(path)), 4) << path.toStdString();
        }
    }
    fs::current_path(old);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace
} // namespace zam1
