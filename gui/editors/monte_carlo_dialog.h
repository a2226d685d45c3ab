#pragma once
// The "Monte Carlo ..." dialog of the View menu: required limits per closing
// dimension, the distribution of each element, the method the check judges by,
// the number of samples and the seed; kept in the settings file beside the project.
// The correlated pairs of that file are listed, to be read only.

class QWidget;

namespace zam1 {

class ExportPainter;
struct ProgramState;

// Shows the dialog filled from the project's settings file (or the defaults) and
// lets the user pick the closing dimension to show (`closing`, 1-based in and
// out). OK checks every field (a bad one is named and the dialog stays open) and
// writes the settings file; then it returns true and the caller runs
// viewMonteCarlo(state, window, closing). False, with the error flag set, on
// Cancel, for a project without closing dimensions or without a file name, or
// when the settings file cannot be read or written. "Prüfbericht speichern ..."
// saves the sign-off report of the settings in the form (checked as OK checks
// them) as PDF, made by `painter`, or as HTML; the dialog stays open.
bool editMonteCarloSettings(ProgramState& state, QWidget* parent, int& closing, ExportPainter* painter = nullptr);

} // namespace zam1
