#pragma once
// Where an installed program keeps its read-only files (the message file, help
// pictures, the example): "share/zam1" beside the "bin" folder of the running
// executable, so that the same binary finds them under /usr, /usr/local or an
// unpacked package alike.

#include <string>

namespace zam1 {

// The folder, or empty when the running program is not an installed one.
std::string installedDataFolder();

// The same for a given executable path; empty when that folder does not exist.
std::string installedDataFolderOf(const std::string& executable);

} // namespace zam1
