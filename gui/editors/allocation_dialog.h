#pragma once
// The "Toleranzverteilung ..." dialog of the View menu: closing dimension,
// target and method; "Vorschlag" shows the proposed tolerances beside today's,
// "Übernehmen" writes them into the chain.

class QWidget;

namespace zam1 {

struct ProgramState;

// Shows the dialog for closing dimension `closing` (1-based in and out), with
// the targets, limits, distributions and element freedoms of the project's
// settings file. True when a proposal was taken over: the chain then has the
// proposed deviations (and ISO grades) and its working values follow them; the
// caller makes that one undoable step. False, with the error flag set, on
// Abbrechen, for a project without a file name, or when its settings file
// cannot be read.
bool allocateTolerances(ProgramState& state, QWidget* parent, int& closing);

} // namespace zam1
