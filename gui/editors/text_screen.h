#pragma once
// The fixed-text screen: a modal window showing lines of text in a fixed-pitch
// font with an OK button (about, history, help picture).

#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace zam1 {

// Shows `lines` (UTF-8) under `title` until the user closes the window.
void showTextScreen(QWidget* parent, std::string_view title, const std::vector<std::string>& lines);

} // namespace zam1
