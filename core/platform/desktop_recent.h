#pragma once
// The desktop's own list of recently used files, "recently-used.xbel" (the
// freedesktop bookmark format GTK and KDE programs share), so that file dialogs
// and file managers offer the projects this program opened or saved.
//
// The list belongs to every program of the user: an entry is added or updated
// in place, every other entry stays as it was, and a file that cannot be
// understood is left alone rather than replaced.

#include <ctime>
#include <string>

namespace zam1 {

// $XDG_DATA_HOME/recently-used.xbel, else ~/.local/share/recently-used.xbel.
std::string desktopRecentListPath();

// "file://" and the path, percent-encoded as GLib does it.
std::string fileUri(const std::string& path);

// Adds `file` (an absolute path) to the list at `listPath`, or updates its
// entry: modified and visited times, and this program's count. Creates the list
// when there is none. False when nothing was written: the list was unreadable or
// not a bookmark file, or the write failed (the old list stays).
bool addToDesktopRecentList(const std::string& listPath, const std::string& file, std::time_t now);

} // namespace zam1
