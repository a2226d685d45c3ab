#pragma once
// The plot configuration dialog of the plot device: paper, orientation, scale,
// a pen width per colour and the plot program (none: the program prints the
// drawing itself through the print dialog).

class QWidget;

namespace zam1 {

class Prompter;
struct DialogLook;
struct PlotSettings;
struct ProgramState;

// Edits the program's plot parameters. True when the user left the dialog with OK.
bool editPlotSettings(ProgramState& state, QWidget* parent);

// The dialog on any parameters; `prompter` serves the program picker (none: disabled).
bool editPlotSettings(PlotSettings& plot, Prompter* prompter, const DialogLook& look, QWidget* parent);

} // namespace zam1
