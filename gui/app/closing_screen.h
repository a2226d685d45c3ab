#pragma once
// The closing text screen: the last thing the program shows after the close
// query let it end. It stays for its display time and no longer, and a click or
// a key ends it sooner: it never waits for the user. Meanwhile it is modal, so
// that no command runs any more.

#include <string>
#include <vector>

class QWidget;

namespace zam1 {

inline constexpr int kClosingScreenMs = 1200;

// Shows `lines` (UTF-8) in the middle of `over` (or of the screen) for at most
// `displayMs` milliseconds; nothing at all for 0 or less.
void showClosingScreen(QWidget* over, const std::vector<std::string>& lines, int displayMs);

} // namespace zam1
