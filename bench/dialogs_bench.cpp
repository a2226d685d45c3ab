// The dialogs' own speed, offscreen: the settings dialog from opening to the
// written "zam1.cfg", and the plot device's own printing of a drawing of 10,000
// lines on A4 (the replay into the paper image with the pens per colour).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "core/config/plot_settings.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/error_flag.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/settings_dialog.h"
#include "gui/graphics/plot_print.h"

namespace {

using namespace zam1;

void BM_SettingsDialogSaveWritesTheFile(benchmark::State& run) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zam1-bench-settings-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ostringstream errors;
    BatchPrompter prompter(errors);
    ProgramState state;
    state.prompter = &prompter;
    state.configDirectory = folder.string();
    for (auto _ : run) {
        QTimer::singleShot(0, [] {
            if (QWidget* d = QApplication::activeModalWidget()) {
                d->findChild<QPushButton*>(QStringLiteral("Button_save"))->click();
                d->findChild<QPushButton*>(QStringLiteral("Button_ok"))->click();
            }
        });
        benchmark::DoNotOptimize(editSettings(state.config, settingsFileOf(state), dialogEnvironment(state, nullptr)));
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SettingsDialogSaveWritesTheFile)->Unit(benchmark::kMillisecond);

void BM_PlotImageOf10000Lines(benchmark::State& run) {
    std::ostringstream errors;
    BatchPrompter prompter(errors);
    ErrorFlag error;
    PlotSettings plot;
    // A window as the plot device records one for A4 landscape.
    WindowSettings window;
    window.width = 2204;
    window.height = 1653;
    window.backgroundColour = 15;
    GraphicsWindow drawing(window, error);
    drawing.Clear();
    drawing.Header(0, 0, 160, 120);
    for (int i = 0; i < 10000; ++i) {
        drawing.SetColorAcad(1 + i % 7);
        drawing.line(i % 160, (i * 7) % 120, (i * 13) % 160, (i * 3) % 120);
    }
    for (auto _ : run) {
        const QImage image = renderPlotImage(drawing, plot);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlotImageOf10000Lines)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
        std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
