// Any bytes as a project, through everything the batch modes and the View and
// CAD menus do with it: every report on the text, spreadsheet and HTML devices,
// the single-closing reports of every closing dimension, every diagram kind of
// every closing dimension and the project drawing on the screen and into DXF,
// IGES and TXT CAD code in memory, and the analysis of --analyse (every method,
// the text report, JSON and the histogram diagram) with a distribution per
// element taken from the input. Nothing may throw, read out of bounds or hang.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string_view>
#include <unistd.h>

#include "core/session/program_state.h"
#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/histogram_diagram.h"
#include "core/analysis/input_check.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/cad/dxf_writer.h"
#include "core/cad/iges_writer.h"
#include "core/cad/txt_cad_writer.h"
#include "core/files/project_file.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/project_drawing.h"
#include "core/lang/language.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/prompter.h"
#include "core/report/calculation_reports.h"
#include "core/report/cross_reference.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"

namespace {

using namespace zam1;

const std::string& workFolder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / ("zam1-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

// Picks the choice set before each report, says no to everything else, keeps nothing.
class FuzzPrompter final : public Prompter {
public:
    FuzzPrompter& choose(int choice) {
        m_choice = choice;
        return *this;
    }
    bool askChoice(std::string_view, const std::vector<std::string>& lines, int& choice) override {
        if (m_choice < 1 || m_choice > static_cast<int>(lines.size())) return false;
        choice = m_choice;
        return true;
    }
    bool askText(std::string_view, std::size_t, std::string&) override { return false; }
    bool askYesNo(std::string_view, bool& value) override {
        value = false;
        return true;
    }
    Answer askYesNoCancel(std::string_view) override { return Answer::No; }
    void showError(std::string_view) override {}
    void showNote(std::string_view) override {}
    bool chooseOpenFile(const FileChoice&, std::string&) override { return false; }
    bool chooseSaveFile(const FileChoice&, std::string&) override { return false; }
    bool chooseDevice(std::string_view, const std::vector<std::string>&, int&) override { return false; }

private:
    int m_choice = 0;
};

FuzzPrompter& prompter() {
    static FuzzPrompter p;
    return p;
}

void reports(ProgramState& state) {
    HeadlessDesktop desktop;
    static const FixedClock clock(DateTime{2024, 3, 15, 14, 30, 0});
    for (const ReportDevice device : {kReportDosFile, kReportSpreadsheet, kReportHtml}) {
        OutputSettings settings;
        settings.workFolder = workFolder();
        settings.messageFolder = workFolder();
        settings.defaultDevice = device;
        settings.askDevice = false;
        settings.htmlBrowser = "/bin/true";
        OutputChannel out(settings, state.texts, {prompter(), desktop, clock, state.error});
        writeStandardReport(state.chain, out, device);
        writeExcerptReport(state.chain, out, device);
        writeCrossReferenceAll(state.chain, out);
        if (state.chain.elementCount() <= 200) reportZeroDistances(state.chain, out);
        for (int k = 1; k <= state.chain.closingCount(); ++k) {
            int choice = k;
            prompter().choose(k);
            reportClosingStatistics(state.chain, out, choice);
            prompter().choose(k);
            reportChainListing(state.chain, out, choice);
        }
    }
    writeExportReport(state.chain, *std::make_unique<OutputChannel>(OutputSettings{}, state.texts,
                                                                      OutputPorts{prompter(), desktop, clock, state.error}),
                      workFolder() + "/export.zam");
}

std::unique_ptr<DrawingBackend> cadBackend(int format, std::ostream& out, const DrawingSettings& settings) {
    if (format == kDeviceDxf) return std::make_unique<DxfWriter>(out, settings);
    if (format == kDeviceIges) return std::make_unique<IgesWriter>(out, settings, "fuzz", DateTime{2024, 3, 15, 14, 30, 0});
    return std::make_unique<TxtCadWriter>(out, settings);
}

void drawings(ProgramState& state) {
    DrawingSettings settings;
    settings.tempFolder = workFolder();
    DrawingContext context;
    context.prompter = &prompter();
    context.error = &state.error;
    const DiagramInput in{.chain = state.chain, .project = state.projectTexts, .texts = state.texts,
                          .prompter = prompter(), .error = state.error, .projectName = "fuzz.zm1"};
    const int closings = std::min(state.chain.closingCount(), 8); // every kind, a bounded number of runs
    for (const int format : {kDeviceScreen, kDeviceDxf, kDeviceIges, kDeviceTxt}) {
        for (int kind = kDiagramToScale; kind <= kDiagramOverall; ++kind) {
            for (int k = kind == kDiagramScheme ? 0 : 1; k <= (kind == kDiagramScheme ? 0 : closings); ++k) {
                const PreparedDiagram prepared = prepareDiagram(in, static_cast<DiagramKind>(kind), k);
                if (prepared.outcome != DiagramOutcome::Drawn) continue;
                std::ostringstream out;
                GraphicsWindow window(settings.window, state.error);
                DrawingContext c = context;
                c.window = &window;
                DrawingLayer layer(settings, c);
                const bool started = format == kDeviceScreen ? layer.startRun(kDeviceScreen)
                                                             : layer.startRun(cadBackend(format, out, settings));
                if (started) drawDiagram(layer, in, prepared);
            }
        }
        std::ostringstream out;
        DrawingLayer layer(settings, context);
        static const FixedClock clock(DateTime{2024, 3, 15, 14, 30, 0});
        const ProjectDrawingInput drawing{.chain = state.chain, .project = state.projectTexts, .docs = state.documentation,
                                          .config = state.config, .texts = state.texts, .clock = clock,
                                          .projectFile = "/fuzz/fuzz.zm1", .tempFolder = workFolder()};
        if (format != kDeviceScreen && layer.startRun(cadBackend(format, out, settings))) drawProjectDrawing(layer, drawing);
    }
}

// The distributions and limits a settings file could give, drawn from the input's
// own bytes so that the fuzzer reaches every kind.
AnalysisData analysisData(const ProgramState& state, std::string_view bytes) {
    AnalysisData data;
    data.options.samples = 2000;
    data.options.threads = 1;
    const auto byte = [&](std::size_t i) { return bytes.empty() ? 0 : static_cast<unsigned char>(bytes[i % bytes.size()]); };
    for (int n = 1; n <= state.chain.elementCount(); ++n) {
        const int b = byte(static_cast<std::size_t>(n) * 7);
        data.elements[n] = {static_cast<Distribution>(b % 4), static_cast<long double>(b % 41) - 20};
    }
    for (int k = 1; k <= state.chain.closingCount(); ++k) {
        const int b = byte(static_cast<std::size_t>(k) * 13);
        const ClosingDimension& c = state.chain.closing(k);
        const long double middle = state.chain.element(std::clamp(c.toElement, 0, kMaxElements)).distance;
        if (b & 1) data.limits[k].lower = middle - static_cast<long double>(b % 7) / 10;
        if (b & 2) data.limits[k].upper = middle + static_cast<long double>(b % 5) / 10;
    }
    return data;
}

// What --analyse does with a project it has read: refuse a chain it cannot
// trust, else analyse it by every method, report and draw.
void analysis(ProgramState& state, std::string_view bytes) {
    AnalysisData data = analysisData(state, bytes);
    deriveElementValues(state.chain);
    if (!analysisInputProblems(state.chain, state.texts).empty()) {
        // Refused by the batch; the histogram must still never index out of its
        // counts, whatever the spread of the numbers.
        if (state.chain.productionSigma > 0) simulateClosings(state.chain, solveAllClosings(state.chain), data, data.options);
        return;
    }
    for (const AnalysisMethod method : {AnalysisMethod::WorstCase, AnalysisMethod::Statistical, AnalysisMethod::MonteCarlo}) {
        data.options.method = method;
        const AnalysisResult result = analyseChain(state.chain, data, data.options);
        std::ostringstream text;
        writeAnalysisReport(result, "fuzz", text);
        (void)analysisJson(result, "fuzz");
        if (method != AnalysisMethod::MonteCarlo) continue;
        DrawingSettings settings;
        settings.tempFolder = workFolder();
        DrawingContext context;
        context.prompter = &prompter();
        context.error = &state.error;
        const std::size_t shown = std::min<std::size_t>(result.closings.size(), 4);
        for (std::size_t k = 0; k < shown; ++k) {
            std::ostringstream out;
            DrawingLayer layer(settings, context);
            if (layer.startRun(cadBackend(kDeviceDxf, out, settings))) {
                drawHistogramDiagram(layer, result.closings[k], state.chain.productionSigma);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::unique_ptr<ProgramState> state = [] {
        auto s = std::make_unique<ProgramState>();
        loadLanguage(s->texts, kGerman);
        s->prompter = &prompter();
        return s;
    }();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    state->chain.clear();
    state->error.clear();
    if (parseProjectFile(bytes, state->chain, state->projectTexts, state->documentation).status != ProjectReadStatus::Ok) return 0;
    reports(*state);
    drawings(*state);
    analysis(*state, bytes);
    return 0;
}
