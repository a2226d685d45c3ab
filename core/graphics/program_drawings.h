#pragma once
// The diagrams and the project drawing of the program's own project: the menu
// commands and the command line call these with the program's state; the drawing
// settings come from its configuration.

#include <string>

#include "core/graphics/cad_formats.h"
#include "core/graphics/diagram_run.h"

namespace zam1 {

class GraphicsWindow;
struct Configuration;
struct DrawingContext;
struct DrawingSettings;
struct ProgramState;

// Where a drawing goes.
struct DrawingTarget {
    OutputDevice device = kDeviceAsk; // kDeviceAsk asks
    bool batch = false;              // the file is named after the project, nothing is asked
    std::string projectName;         // base name: the proposed (or batch) file name, file-system text
    std::string projectFile;         // the project file as the user named it, file-system text
    GraphicsWindow* window = nullptr; // the screen device
};

// The ports and the target of a drawing run on the program's state.
DrawingContext programDrawingContext(ProgramState& state, const DrawingTarget& target);

// The drawing settings of a configuration. The temporary folder is the one the
// directory checks settled on; empty keeps the default.
DrawingSettings drawingSettingsFrom(const Configuration& config, const std::string& tempFolder);

// Diagram `kind` of closing dimension `closing`; see runDiagram.
DiagramOutcome drawProgramDiagram(ProgramState& state, DrawingSettings& settings, const DrawingTarget& target,
                                  DiagramKind kind, int closing);

// The project drawing. False when nothing was drawn or written (error flag set).
bool drawProgramProjectDrawing(ProgramState& state, DrawingSettings& settings, const DrawingTarget& target);

} // namespace zam1
