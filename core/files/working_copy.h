#pragma once
// The working copy: the project as it stands after each change, kept under the
// language's working-copy name ("aktuell.zm1", "actual.zm1", ...) in the
// configured data directory, so that a crash leaves the user's input
// recoverable. It exists only while the project has changes that are in no
// project file: saving or dropping them removes it, and the next start offers
// to restore one that is left.

#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

struct ProgramState;

// The base name of the working copy in every language, each once.
const std::vector<std::string>& workingCopyNames();

// Whether a file name holds one of those names, in any case (the overwrite
// question never asks for such a file).
bool mentionsWorkingCopy(std::string_view fileName);

// Whether a base name (without folder and extension) is exactly one of them (the
// one name archive mode lets the file commands write).
bool isWorkingCopyName(std::string_view baseName);

// Configured data directory + "/" + the language's name + ".zm1". The configured
// folder stays put while the file dialogs move the current one, so the next start
// finds the copy.
std::string workingCopyPath(const ProgramState& state);

enum class WorkingCopyWrite {
    Written,
    CurrentFile, // the user's own project has that name: left alone
    Failed,      // could not be written; nothing shown, the error flag untouched
};

// Writes the working copy through the safe writer, quietly: no question, no status
// text, and a failure does not stop the command that changed the project. The
// window calls it after every command that changes the project.
WorkingCopyWrite writeWorkingCopy(ProgramState& state);

// Removes the working copy once the project's changes are saved or dropped;
// never the user's own current file.
void dropWorkingCopy(ProgramState& state);

// At start, after the project of the command line (if any) was read: when a
// working copy is there and newer than that project's file, asks whether to
// restore it. Yes reads it (the project stays modified, under its own name), No
// removes it, Cancel keeps it for the next start. True when it was restored.
bool offerWorkingCopy(ProgramState& state);

} // namespace zam1
