#include "core/app/view_commands.h"

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/histogram_diagram.h"
#include "core/analysis/input_check.h"
#include "core/analysis/sidecar.h"
#include "core/graphics/drawing_layer.h"
#include "core/model/resolution.h"
#include "core/text/codepage.h"

#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/app/report_setup.h"
#include "core/files/save_project.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/program_drawings.h"
#include "core/messages/message_display.h"
#include "core/model/calculation.h"
#include "core/platform/prompter.h"
#include "core/report/calculation_reports.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"

namespace zam1 {
namespace {

void showCalculationMessages(ProgramState& state) {
    const MessageList& messages = state.chain.messages;
    std::string text = state.texts.main.calculationWarnings;
    for (int i = 0; i < messages.count(); ++i) text += "\n" + std::string(messages.at(i));
    state.prompter->showNote(text);
}

} // namespace

void showProjectMessages(ProgramState& state, ExplanationView& view) {
    const MessageDisplay display{
        .texts = state.texts.main,
        .prompter = *state.prompter,
        .view = view,
        .error = state.error,
        .messageFolder = state.config.pltDirectory,
        .tempFolder = temporaryFolder(state),
        .helpLevel = state.config.helpLevel,
    };
    showCalculationMessages(state.chain.messages, display);
}

bool chooseClosingDimension(ProgramState& state, int& closing) {
    state.error.clear();
    const int count = state.chain.closingCount();
    if (count == 0) {
        state.prompter->showError(state.texts.report.noClosing + " ...");
        state.error.set();
        return false;
    }
    int choice = closing >= 1 && closing <= count ? closing : 1;
    if (!state.prompter->askChoice(state.texts.report.selectClosing + " ...",
                                   closingChoiceLines(state.chain, state.texts.report), choice) ||
        choice < 1 || choice > count) {
        state.error.set();
        return false;
    }
    closing = choice;
    return true;
}

namespace {

// A drawing run of the menu: kDeviceAsk asks ("CAD-Code").
struct MenuDrawing {
    MenuDrawing(ProgramState& state, GraphicsWindow& window, OutputDevice device)
        : settings(drawingSettingsFrom(state.config, temporaryFolder(state))) {
        settings.window = window.settings();  // the window keeps the size it was created with
        target.device = device;
        target.projectFile = currentProjectPath(state);
        target.projectName = projectBaseName(target.projectFile);
        target.window = &window;
    }
    DrawingSettings settings;
    DrawingTarget target;
};

void drawDiagram(ProgramState& state, GraphicsWindow& window, OutputDevice device, DiagramKind kind, int closing) {
    state.error.clear();
    MenuDrawing run(state, window, device);
    if (drawProgramDiagram(state, run.settings, run.target, kind, closing) == DiagramOutcome::Messages) {
        showCalculationMessages(state);
    }
}

void drawProjectDrawing(ProgramState& state, GraphicsWindow& window, OutputDevice device) {
    state.error.clear();
    MenuDrawing run(state, window, device);
    drawProgramProjectDrawing(state, run.settings, run.target);
}

} // namespace

void viewDiagram(ProgramState& state, GraphicsWindow& window, DiagramKind kind, int closing) {
    drawDiagram(state, window, kDeviceScreen, kind, closing);
}

void cadDiagram(ProgramState& state, GraphicsWindow& window, DiagramKind kind, int closing) {
    drawDiagram(state, window, kDeviceAsk, kind, closing);
}

void viewProjectDrawing(ProgramState& state, GraphicsWindow& window) { drawProjectDrawing(state, window, kDeviceScreen); }

void cadProjectDrawing(ProgramState& state, GraphicsWindow& window) { drawProjectDrawing(state, window, kDeviceAsk); }

void viewStandardReport(ProgramState& state) {
    state.error.clear();
    CommandChannel channel(state);
    OutputChannel& out = channel.out;
    writeStandardReport(state.chain, out, kReportAsk);
}

void viewMonteCarlo(ProgramState& state, GraphicsWindow& window, int closing) {
    state.error.clear();
    if (closing < 1 || closing > state.chain.closingCount()) return;
    AnalysisData data;
    const std::string project = currentProjectPath(state);
    if (!project.empty()) {
        const SidecarRead read = readSidecar(sidecarPath(project), state.chain, data, state.config.language);
        if (!read.ok) {
            state.prompter->showError(utf8ToOem(sidecarPath(project) + ": " + read.error));
            state.error.set();
            return;
        }
    }
    if (const auto problems = analysisInputProblems(state.chain, state.texts); !problems.empty()) {
        state.prompter->showError(problems.front());
        state.error.set();
        return;
    }
    deriveElementValues(state.chain);
    const AnalysisResult result = analyseChain(state.chain, data, data.options);
    CommandChannel channel(state);
    OutputChannel& out = channel.out;
    reportAnalysis(result, projectBaseName(project), out, kReportAsk, &state.texts.report);
    state.error.clear();  // a cancelled report still leaves the picture to show
    MenuDrawing run(state, window, kDeviceScreen);
    DrawingLayer layer(run.settings, programDrawingContext(state, run.target));
    if (!layer.startRun(kDeviceScreen)) return;
    drawHistogramDiagram(layer, result.closings.at(static_cast<std::size_t>(closing - 1)), state.chain.productionSigma);
}

} // namespace zam1
