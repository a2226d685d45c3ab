#pragma once
// The names the file commands show and keep: the window caption, the recent-file
// list with its menu captions, and the one form in which a project path is
// compared (absolute and normalised; on this platform two names that differ only
// in case are two files).

#include <array>
#include <string>
#include <string_view>

namespace zam1 {

using RecentFiles = std::array<std::string, 4>;

// Absolute, with "." and ".." resolved in the text (links are not followed, so a
// file that does not exist yet has a normal form too).
std::string normalPath(const std::string& path);

// Puts `path` (normalised) into slot 1; every slot holding the same file is
// removed first, so a file is in the list once.
void enterRecentFile(RecentFiles& files, const std::string& path);

// Removes slot `k` (1..4); the later slots move up and slot 4 becomes empty.
void removeRecentFile(RecentFiles& files, int k);

// A name of 50 characters or more shown as its first folder + "..." + its last
// part ("/home/.../kette.zm1"); shorter names, and names without a folder to
// leave out, whole.
std::string shortenedFileName(std::string_view name);

// The menu caption of slot k (1..4): "&k " + shortened name; empty for an empty
// slot, whose entry the window hides. The separator above the entries shows
// with slot 1.
std::string recentFileCaption(const RecentFiles& files, int k);

// "ZAM1 - Toleranzrechnung  -  name.zm1"; a name that already has a "." (as typed
// on the command line) as it stands; the title alone without a name.
std::string windowCaption(std::string_view currentFile);

} // namespace zam1
