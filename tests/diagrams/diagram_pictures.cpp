// Paints every diagram of the example project, and the to-scale diagram and the
// overall graphic of a long chain of its own, on the screen device and saves the
// pictures as PNG, so that a person can look at them:
//
//   diagram_pictures <folder> [background]
//
// `background` is a palette number for the window's background (default: the
// configured one); a dark blue background hides the layers whose pen is dark blue.
//
// Fails when a diagram is refused, its replay stops, or a picture stays empty.

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/program_drawings.h"
#include "tests/diagrams/example_project.h"
#include "core/analysis/analysis.h"
#include "core/analysis/histogram_diagram.h"
#include "core/graphics/drawing_layer.h"
#include "core/model/resolution.h"
#include "gui/graphics/image_canvas.h"
#include "tests/model/chain_builder.h"

namespace {

using namespace zam1;

constexpr long kMinimumPainted = 2000;

struct Picture {
    std::string name;
    int kind = 0;      // 0: the project drawing
    int closing = 0;
};

bool paint(test::ExampleState& example, const Picture& p, const std::string& folder, int background) {
    DrawingSettings settings = drawingSettingsFrom(example.state->config, folder);
    if (background >= 0) settings.window.backgroundColour = background;
    // The window takes itself for 4:3; the upright A4 drawing gets a larger one.
    settings.window.width = p.kind == 0 ? 2000 : 1280;
    settings.window.height = p.kind == 0 ? 1500 : 960;
    GraphicsWindow window(settings.window, example.state->error);
    DrawingTarget target;
    target.device = kDeviceScreen;
    target.projectName = "getriebewelle";
    target.projectFile = test::kExampleFileName;
    target.window = &window;
    bool drawn = false;
    if (p.kind == 0) {
        drawn = drawProgramProjectDrawing(*example.state, settings, target);
    } else {
        drawn = drawProgramDiagram(*example.state, settings, target, static_cast<DiagramKind>(p.kind), p.closing) == DiagramOutcome::Drawn;
    }
    long painted = 0;
    const std::string path = folder + "/" + p.name + ".png";
    const bool saved = drawn && renderWindowToPng(window, path, &painted);
    std::printf("%-24s %s  %ld pixels  %zu records\n", p.name.c_str(), saved ? "ok" : "FAILED", painted,
                window.displayList().size());
    return saved && painted >= kMinimumPainted;
}

// The Monte Carlo histogram of the example's first closing dimension with
// required limits, on the screen device.
bool paintHistogram(test::ExampleState& example, const std::string& folder, int background) {
    DrawingSettings settings = drawingSettingsFrom(example.state->config, folder);
    if (background >= 0) settings.window.backgroundColour = background;
    settings.window.width = 1280;
    settings.window.height = 960;
    GraphicsWindow window(settings.window, example.state->error);
    AnalysisData data;
    data.limits[1] = {0.05L, 0.8L};
    data.elements[8] = {Distribution::Uniform, 0};
    AnalysisOptions options;
    options.samples = 100000;
    deriveElementValues(example.state->chain);
    const AnalysisResult result = analyseChain(example.state->chain, data, options);
    DrawingContext context;
    context.prompter = example.state->prompter;
    context.error = &example.state->error;
    context.window = &window;
    DrawingLayer layer(settings, context);
    if (!layer.startRun(kDeviceScreen)) return false;
    drawHistogramDiagram(layer, result.closings.at(0), example.state->chain.productionSigma);
    long painted = 0;
    const bool saved = renderWindowToPng(window, folder + "/histogram_1.png", &painted);
    std::printf("%-24s %s  %ld pixels  %zu records\n", "histogram_1", saved ? "ok" : "FAILED", painted,
                window.displayList().size());
    return saved && painted >= kMinimumPainted;
}

// A chain of 40 elements in a row, with a side branch of three from element 12:
// closing dimension 1 runs along all of it, 2 from the branch's end to element 40,
// so that its two paths meet at element 12.
void fillLongChain(Chain& chain) {
    std::vector<test::E> elements;
    for (int n = 1; n <= 40; ++n) {
        elements.push_back({n - 1, n % 7 != 0, 3.0L + n % 4, 0.01L * (n % 3 + 1), -0.01L * (n % 5)});
    }
    for (int n = 41; n <= 43; ++n) elements.push_back({n == 41 ? 12 : n - 1, true, 4, 0.02L, -0.02L});
    test::fill(chain, elements);
    for (int n = 1; n <= 43; ++n) chain.element(n).text = "Teil " + std::to_string(n);
    chain.closing(1).fromElement = 0;
    chain.closing(1).toElement = 40;
    chain.closing(1).text = "Gesamtlaenge";
    chain.closing(2).fromElement = 43;
    chain.closing(2).toElement = 40;
    chain.closing(2).text = "Abzweig";
    chain.setClosingCount(2);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: diagram_pictures <folder> [background]\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const std::string folder = argv[1];
    const int background = argc == 3 ? std::atoi(argv[2]) : -1;
    std::filesystem::create_directories(folder);
    test::ExampleState example;
    if (!example.load()) {
        std::fprintf(stderr, "%s", example.messages.str().c_str());
        return 1;
    }
    std::vector<Picture> pictures = {{"drawing", 0, 0}, {"scheme", 3, 0}};
    for (int k = 1; k <= example.state->chain.closingCount(); ++k) {
        const std::string n = std::to_string(k);
        pictures.push_back({"to_scale_" + n, 1, k});
        pictures.push_back({"normal_" + n, 2, k});
        pictures.push_back({"overall_" + n, 4, k});
    }
    bool failed = false;
    for (const Picture& p : pictures) failed |= !paint(example, p, folder, background);
    test::ExampleState longChain;
    fillLongChain(longChain.state->chain);
    for (const Picture& p : {Picture{"long_to_scale_1", 1, 1}, Picture{"long_overall_1", 4, 1},
                             Picture{"long_to_scale_2", 1, 2}, Picture{"long_overall_2", 4, 2}}) {
        failed |= !paint(longChain, p, folder, background);
    }
    failed |= !paintHistogram(example, folder, background);
    return failed ? 1 : 0;
}
