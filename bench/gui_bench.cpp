// The window's own speed, measured in-process (offscreen when there is no
// display): the graphics window's replay of the largest scheme into its image,
// 100,000 primitives to the first full picture and after a zoom key, and the
// standard report of the largest project shown in the report window; the same
// report laid out as PDF, and the 100,000 primitives saved as PDF, SVG and PNG.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "core/cad/dxf_writer.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/screen_backend.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"
#include "core/session/program_state.h"
#include "gui/graphics/drawing_export.h"
#include "gui/graphics/graphics_widget.h"
#include "gui/graphics/report_window.h"
#include "gui/platform/report_pdf.h"
#include "bench/bench_drawings.h"
#include "tests/files/sample_project.h"

namespace {

using namespace zam1;

// Runs the event loop until the widget's replay has painted everything.
void waitForPicture(TFkorvgra& widget) {
    QEventLoop loop;
    QObject::connect(&widget, &TFkorvgra::replayFinished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // never hang a benchmark run
    loop.exec();
}

struct Screen {
    std::ostringstream errors;
    BatchPrompter prompter{errors};
    ErrorFlag error;
    DrawingSettings settings;
    std::unique_ptr<GraphicsWindow> window;
    std::unique_ptr<TFkorvgra> widget;
    Screen() {
        settings.tempFolder = std::filesystem::temp_directory_path().string();
        window = std::make_unique<GraphicsWindow>(settings.window, error);
        widget = std::make_unique<TFkorvgra>(*window);
        widget->show();
    }
    DrawingContext context() {
        DrawingContext c;
        c.prompter = &prompter;
        c.error = &error;
        c.window = window.get();
        return c;
    }
};

void BM_ReplayLargestScheme(benchmark::State& bench) {
    Screen screen;
    auto state = std::make_unique<ProgramState>();
    Chain& chain = state->chain;
    bench::fillLargestLinearChain(chain);
    const DiagramInput in{.chain = chain, .project = state->projectTexts, .texts = state->texts,
                          .prompter = screen.prompter, .error = state->error};
    DrawingLayer layer(screen.settings, screen.context());
    if (runDiagram(layer, in, kDiagramScheme, 0, kDeviceScreen) != DiagramOutcome::Drawn) {
        bench.SkipWithError("the scheme was not drawn");
        return;
    }
    waitForPicture(*screen.widget);
    for (auto _ : bench) {
        screen.widget->startReplay();
        waitForPicture(*screen.widget);
    }
    bench.counters["records"] = static_cast<double>(screen.window->displayList().size());
}

void drawMany(DrawingLayer& layer) { bench::drawHundredThousandPrimitives(layer); }

// arg 0: drawing the primitives to the first full picture; 1: a zoom key (keypad
// +, then -, in turn) to the next full picture.
void BM_HundredThousandPrimitives(benchmark::State& bench) {
    Screen screen;
    bool zoomIn = true;
    for (auto _ : bench) {
        if (bench.range(0) == 0) {
            DrawingLayer layer(screen.settings, screen.context());
            layer.startRun(std::make_unique<ScreenBackend>(*screen.window, screen.settings, &screen.prompter, makeDxfBlockWriter));
            drawMany(layer);
        } else {
            bench.PauseTiming();
            if (screen.window->displayList().size() == 0) {
                DrawingLayer layer(screen.settings, screen.context());
                layer.startRun(std::make_unique<ScreenBackend>(*screen.window, screen.settings, &screen.prompter, makeDxfBlockWriter));
                drawMany(layer);
                waitForPicture(*screen.widget);
            }
            bench.ResumeTiming();
            QKeyEvent key(QEvent::KeyPress, zoomIn ? Qt::Key_Plus : Qt::Key_Minus, Qt::KeypadModifier);
            zoomIn = !zoomIn;
            QCoreApplication::sendEvent(screen.widget.get(), &key);
        }
        waitForPicture(*screen.widget);
    }
}

// The standard report of the largest project as the report devices write it, in a file.
bool writeLargestReport(const std::string& path) {
    const test::SampleProject project = test::sampleProject(kMaxElements, kMaxClosing, 0, 0);
    std::ostringstream errors;
    BatchPrompter prompter(errors);
    HeadlessDesktop desktop;
    const FixedClock clock(DateTime{2024, 3, 15, 14, 30, 0});
    ErrorFlag error;
    LanguageTexts texts;
    OutputSettings settings;
    settings.workFolder = std::filesystem::temp_directory_path().string();
    OutputChannel out(settings, texts, {prompter, desktop, clock, error});
    if (!out.openOutput(kReportDosFile, "x")) return false;
    writeMainReport(*project.chain, out, true, false);
    const bool written = writeFileSafely(path, out.contents()) == kIoOk;
    out.abortOutput();
    return written;
}

std::string benchFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("zam1-bench-" + std::to_string(::getpid()) + "-" + name)).string();
}

void BM_ReportPdfLargestReport(benchmark::State& bench) {
    const std::string text = benchFile("report.txt");
    const std::string pdf = benchFile("report.pdf");
    if (!writeLargestReport(text)) {
        bench.SkipWithError("no report");
        return;
    }
    for (auto _ : bench) {
        if (writeReportPdf(text, pdf, PageLayout{}) != PdfResult::Written) bench.SkipWithError("no PDF");
    }
    bench.counters["MB text"] = static_cast<double>(std::filesystem::file_size(text)) / 1e6;
    bench.counters["MB PDF"] = static_cast<double>(std::filesystem::file_size(pdf)) / 1e6;
    std::filesystem::remove(text);
    std::filesystem::remove(pdf);
}

// arg 0: PDF, 1: SVG, 2: PNG at 300 dpi.
void BM_ExportHundredThousandPrimitives(benchmark::State& bench) {
    Screen screen;
    DrawingLayer layer(screen.settings, screen.context());
    layer.startRun(std::make_unique<ScreenBackend>(*screen.window, screen.settings, &screen.prompter, makeDxfBlockWriter));
    drawMany(layer);
    const auto format = static_cast<DrawingExportFormat>(bench.range(0));
    const std::string path = benchFile(format == DrawingExportFormat::Pdf ? "x.pdf" : format == DrawingExportFormat::Svg ? "x.svg" : "x.png");
    for (auto _ : bench) {
        if (!exportDrawing(*screen.window, path, format, 300)) bench.SkipWithError("not saved");
    }
    bench.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_ReportWindowLargestReport(benchmark::State& bench) {
    const std::string path = (std::filesystem::temp_directory_path() / ("zam1-bench-report-" + std::to_string(::getpid()) + ".txt")).string();
    if (!writeLargestReport(path)) {
        bench.SkipWithError("no report");
        return;
    }
    std::size_t bytes = 0;
    for (auto _ : bench) {
        ReportWindow window([](const QString&) {});
        window.showFile(path, "Bericht");
        window.show();
        QCoreApplication::processEvents();
        bytes = static_cast<std::size_t>(window.text().size());
    }
    std::filesystem::remove(path);
    bench.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

BENCHMARK(BM_ReplayLargestScheme)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HundredThousandPrimitives)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReportWindowLargestReport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReportPdfLargestReport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ExportHundredThousandPrimitives)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    // Offscreen when there is no display: the replay and the widgets are the same.
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
