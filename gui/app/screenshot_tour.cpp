#include "gui/app/screenshot_tour.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>

#include "core/app/view_commands.h"
#include "core/graphics/diagram_run.h"
#include "gui/app/main_window.h"
#include "gui/graphics/graphics_widget.h"

namespace zam1 {
namespace {

// Time for the X server to map and paint the windows before the picture is taken.
constexpr int kSettleMs = 700;

} // namespace

void ScreenshotTour::startFromEnvironment() {
    m_folder = qEnvironmentVariable("ZAM1_SCREENSHOT_DIR");
    if (m_folder.isEmpty()) return;
    QDir().mkpath(m_folder);
    Thh& w = m_window;
    m_steps = {
        {QStringLiteral("overall"), [&w] { viewDiagram(w.state(), w.graphics(), kDiagramOverall, 1); }, true},
        {QStringLiteral("scheme"), [&w] { viewDiagram(w.state(), w.graphics(), kDiagramScheme, 1); }, true},
        {QStringLiteral("normal_distribution"),
         [&w] { viewDiagram(w.state(), w.graphics(), kDiagramNormalDistribution, 1); }, true},
        {QStringLiteral("standard_report"), [&w] { viewStandardReport(w.state()); }, false},
    };
    connect(&m_window.graphicsWidget(), &TFkorvgra::replayFinished, this, [this] {
        if (!m_waiting) return;
        m_waiting = false;
        QTimer::singleShot(kSettleMs, this, &ScreenshotTour::takePicture);
    });
    QTimer::singleShot(kSettleMs, this, &ScreenshotTour::runStep);
}

void ScreenshotTour::runStep() {
    if (m_next == m_steps.size()) {
        QCoreApplication::exit(m_failed ? 1 : 0);
        return;
    }
    const Step& step = m_steps[m_next++];
    m_window.runCommand(step.command);
    m_waiting = step.waitsForReplay && m_window.graphicsWidget().replayRunning();
    // A refused diagram starts no replay: its picture shows the message instead.
    if (!m_waiting) QTimer::singleShot(kSettleMs, this, &ScreenshotTour::takePicture);
}

void ScreenshotTour::takePicture() {
    const Step& step = m_steps[m_next - 1];
    const QString path = m_folder + QStringLiteral("/") + step.name + QStringLiteral(".png");
    QScreen* screen = QGuiApplication::primaryScreen();
    // The screen as the X server shows it, not the widgets' own rendering.
    const bool saved = screen && screen->grabWindow(0).save(path, "PNG");
    std::fprintf(stderr, "screenshot %s: %s\n", qPrintable(path), saved ? "saved" : "FAILED");
    m_failed |= !saved;
    runStep();
}

} // namespace zam1
