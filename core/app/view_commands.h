#pragma once
// The View menu's commands that the window runs now: the diagrams on the screen
// device and the standard report on the configured report device. Each clears
// the error flag first; failures are shown and leave it set.

namespace zam1 {

class ExplanationView;
class GraphicsWindow;
enum DiagramKind : int;
struct ProgramState;

// The project's calculation messages: the note that all went well, or the
// choice list with the cause and remedy of each chosen message. Hilfe >
// Fehlermeldungen and the closing-dimension editor's button both run it.
void showProjectMessages(ProgramState& state, ExplanationView& view);

// Asks which closing dimension (`closing` pre-selected, 1-based in and out).
// False, with the error flag set, when there is none or the user cancelled.
bool chooseClosingDimension(ProgramState& state, int& closing);

// Diagram `kind` of closing dimension `closing` into the window.
// The calculation's messages, when they keep the diagram from being drawn, are shown.
void viewDiagram(ProgramState& state, GraphicsWindow& window, DiagramKind kind, int closing);

// The same diagram on the device the user chooses ("CAD-Code": DXF, IGES, the
// window, the plot tool, TXT).
void cadDiagram(ProgramState& state, GraphicsWindow& window, DiagramKind kind, int closing);

// The project drawing in the window, or on the device the user chooses.
void viewProjectDrawing(ProgramState& state, GraphicsWindow& window);
void cadProjectDrawing(ProgramState& state, GraphicsWindow& window);

// The standard report of the project.
void viewStandardReport(ProgramState& state);

// The analysis of the project with the limits and distributions of its settings
// file (name.zm1.json; none: the defaults): the report on the report device, and
// the Monte Carlo histogram of closing dimension `closing` in the window. A
// settings file that cannot be read is shown and nothing else happens.
void viewMonteCarlo(ProgramState& state, GraphicsWindow& window, int closing);

} // namespace zam1
