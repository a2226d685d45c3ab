#pragma once
// The closing-dimension editor of the window: the list `TForm_einarray` and the
// record dialog `TForm_einkrit` over the core's editor loop.

class QWidget;

namespace zam1 {

struct ProgramState;

// Runs the editor on the program's chain (menu "Schließmaße", the guided input,
// the element table's ".." button). True when the project changed; the error
// flag is set when the user left with Cancel or a limit was hit.
bool editClosingDimensions(ProgramState& state, QWidget* parent);

} // namespace zam1
