#pragma once
// Where the program keeps its read-only files (the message file, help pictures,
// the manual, the example): "share/zam1" beside the "bin" folder of the running
// executable, so that the same binary finds them under /usr, /usr/local or an
// unpacked package alike. A build tree has the same layout (its programs and
// tests sit one or two folders below a "share/zam1" of its own), so nothing is
// ever looked for under a path compiled into the program.

#include <string>

namespace zam1 {

// The folder, or empty when the running program is not an installed one.
std::string installedDataFolder();

// The same for a given executable path; empty when that folder does not exist.
std::string installedDataFolderOf(const std::string& executable);

// "share/zam1/<name>" of the installation or the build tree `executable` belongs
// to: looked for one and two folders above the executable's own. Empty when
// there is none.
std::string dataPathOf(const std::string& executable, const std::string& name);

// The same for the running program.
std::string dataPath(const std::string& name);

} // namespace zam1
