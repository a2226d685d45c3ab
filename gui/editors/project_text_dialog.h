#pragma once
// The project text dialog (menu "Text", first step of the guided input): drawing
// name, drawing name 2, drawing number and the three remark lines.

class QWidget;

namespace zam1 {

struct ProgramState;

// True when OK changed a text. Cancel sets the error flag (the guided input stops
// on it) and changes nothing; OK clears it.
bool editProjectText(ProgramState& state, QWidget* parent);

} // namespace zam1
