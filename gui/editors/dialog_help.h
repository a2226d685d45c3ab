#pragma once
// The help of a window or dialog: F1 anywhere in it and its help button open
// the manual at the window's help number. One call per dialog wires both, so
// no dialog has a help button that says something else than its F1.

#include <functional>

class QAbstractButton;
class QWidget;

namespace zam1 {

struct ProgramState;

// Shows help text `helpContext` (the same as the dialogs' HelpFunction).
using HelpFunction = std::function<void(int helpContext)>;

// F1 inside `window` (any child with focus) and `button` run help(helpNumber).
// Without a button the child "Button_help" is taken when there is one. The
// button is disabled when there is no help function. The number is kept as the
// window's property "helpNumber".
void installHelp(QWidget& window, int helpNumber, HelpFunction help, QAbstractButton* button = nullptr);

// Opens the manual at a help number in the language configured now (read at
// each request, so a language switch is followed); the help window belongs to
// the dialog open at that moment.
HelpFunction manualHelp(const ProgramState& state);

} // namespace zam1
