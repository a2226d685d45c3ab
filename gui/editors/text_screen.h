#pragma once
// The fixed-text screen: a modal window showing lines of text in a fixed-pitch
// font with an OK button (about, history, help picture); F1 in it opens the
// manual as F1 in the main window does.

#include <string>
#include <string_view>
#include <vector>

#include "gui/editors/dialog_help.h"

class QWidget;

namespace zam1 {

// Shows `lines` (UTF-8) under `title` until the user closes the window; F1
// runs help(0), the manual's contents.
void showTextScreen(QWidget* parent, std::string_view title, const std::vector<std::string>& lines,
                    const HelpFunction& help = {});

} // namespace zam1
