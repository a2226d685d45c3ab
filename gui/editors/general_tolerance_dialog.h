#pragma once
// The general-tolerance dialog `TForm_zam1frei`: chooses the standard, class,
// group and ranges that Berechnen applies to an element without a tolerance.

class QWidget;

namespace zam1 {

struct ProgramState;

// Shows the dialog over the state's selection. OK stores the selection and
// clears the error flag (true); Cancel sets it and changes nothing (false).
// No element is touched.
bool editGeneralTolerance(ProgramState& state, QWidget* parent);

} // namespace zam1
