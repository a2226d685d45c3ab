#pragma once
// The help window: the user manual in a text browser with back, forward and
// contents buttons, opened at the section of a help number.

#include <QWidget>

#include "core/lang/help_index.h"  // manualFolder(): where the pages are read from

namespace zam1 {

// Opens the help window at the section of helpNumber in the manual of the
// configured language (0 and 1 German, 3 French, 2 and every other language
// English); an unknown number opens the contents. An open help window
// of the same owner is reused. Called from inside a modal dialog, the window
// belongs to that dialog, which would otherwise block it.
void showHelp(QWidget* parent, int helpNumber, int language);

} // namespace zam1
