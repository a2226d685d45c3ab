#include "core/graphics/program_drawings.h"

#include <algorithm>

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/plot_port.h"
#include "core/platform/desktop.h"
#include "core/graphics/project_drawing.h"
#include "core/platform/clock.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {


void windowSettingsFrom(const Configuration& config, WindowSettings& w) {
    if (config.graphicsWidth > 0) w.width = config.graphicsWidth;
    if (config.graphicsHeight > 0) w.height = config.graphicsHeight;
    w.zoomFactor = config.zoomFactor;
    w.panFactor = config.panFactor;
    w.backgroundColour = config.backgroundColour;
    w.colourGraphics = config.colourGraphics;
    w.textHeightFactor = config.textHeightFactor;
    w.textWidthFactor = config.graphicsTextWidthFactor;
    w.textStyle = config.graphicsFontStyle;
    w.fontName = config.graphicsTextStyle.str();
}

} // namespace

DrawingContext programDrawingContext(ProgramState& state, const DrawingTarget& target) {
    DrawingContext ctx;
    ctx.prompter = state.prompter;
    ctx.desktop = state.desktop;
    ctx.clock = state.clock;
    ctx.error = &state.error;
    ctx.window = target.window;
    ctx.batchCad = target.batch;
    ctx.projectName = target.projectName;
    ctx.projectFile = target.projectFile;
    // The window's desktop also serves the plot device.
    ctx.plot = dynamic_cast<PlotPort*>(state.desktop);
    ctx.plotSettings = &state.plot;
    return ctx;
}

DrawingSettings drawingSettingsFrom(const Configuration& config, const std::string& tempFolder) {
    DrawingSettings s;
    for (std::size_t i = 0; i < config.layers.size(); ++i) {
        s.layerNames[i] = config.layers[i].name.str();
        s.layerColours[i] = config.layers[i].colour;
    }
    s.layerColours16to31 = config.layerColours16to31;
    s.lineWidths0to5 = config.lineThickness0to5;
    s.lineWidths16to31 = config.lineThickness16to31;
    s.layerMonochrome = config.layerMonochrome;
    s.cadTextStyle = config.cadTextStyle.str();
    s.cadTextWidthFactor = config.cadTextWidthFactor;
    s.cadTextAngle = config.cadTextAngle;
    s.cadTextMode = cadTextModeOf(config.cadTextMode);
    s.cadDecimals = config.cadDecimals;
    s.numbers = config.numberFormat();
    s.dimensionFactor = config.dimensionFactor;
    s.cadFolder = config.cadDirectory;
    if (!tempFolder.empty()) s.tempFolder = tempFolder;
    const int plotLines = std::clamp(config.plotCommandCount, 1, static_cast<int>(config.plotCommands.size()));
    s.plotCommandLines.assign(config.plotCommands.begin(), config.plotCommands.begin() + plotLines);
    s.dateCode = config.dateCode;
    windowSettingsFrom(config, s.window);
    return s;
}

DiagramOutcome drawProgramDiagram(ProgramState& state, DrawingSettings& settings, const DrawingTarget& target,
                                  DiagramKind kind, int closing) {
    DrawingLayer layer(settings, programDrawingContext(state, target));
    const DiagramInput in{
        .chain = state.chain,
        .project = state.projectTexts,
        .texts = state.texts,
        .prompter = *state.prompter,
        .error = state.error,
        .projectName = utf8ToOem(target.projectFile),
        .inches = state.config.englishUnits != 0,
        .numbers = state.config.numberFormat(),
    };
    return runDiagram(layer, in, kind, closing, target.device);
}

bool drawProgramProjectDrawing(ProgramState& state, DrawingSettings& settings, const DrawingTarget& target) {
    state.error.clear();
    DrawingLayer layer(settings, programDrawingContext(state, target));
    const ProjectDrawingInput in{
        .chain = state.chain,
        .project = state.projectTexts,
        .docs = state.documentation,
        .config = state.config,
        .texts = state.texts,
        .clock = clockOf(state),
        .projectFile = utf8ToOem(target.projectFile),
        .tempFolder = settings.tempFolder,
        .cadTextMode = settings.cadTextMode,
    };
    return runProjectDrawing(layer, in, target.device) && !state.error.isSet();
}

} // namespace zam1
