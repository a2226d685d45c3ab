#pragma once
// What a program killed in the middle of a write leaves behind: the safe
// writer's hidden temporary files (".zam1-XXXXXX" beside the file it was
// writing). A later start removes those that no running program has open.

#include <string>

namespace zam1 {

// Whether a file name is one of the safe writer's temporary names.
bool isSafeWriterTemporaryName(const std::string& fileName);

// Removes the safe writer's temporary files in `folder` that belong to this
// user and that no running process has open (a program still writing keeps
// its file open until it renames it). Returns how many went.
int removeStaleTemporaryFiles(const std::string& folder);

} // namespace zam1
