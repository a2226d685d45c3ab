#pragma once
// Writing the project under a name: the save dialog when there is none, the
// completion of a bare name to data directory + name + ".zm1", and the checks
// every writer of this program runs before it creates a file (archive mode, the
// overwrite question, whether the name can be created at all).

#include <string>

namespace zam1 {

struct FileChoice;
struct ProgramState;

// data directory + "/" + name + ".zm1" for a name without "."; a name with "." as
// it stands.
std::string projectFilePath(const std::string& dataDirectory, const std::string& name);

// The full name of the current project file; empty for a project without a name.
std::string currentProjectPath(const ProgramState& state);

// The checks before a file is created. `askOverwrite` switches the overwrite
// question on (Save writes over its own file without asking); it is asked anyway
// for a file this run has neither read nor written. A file this run has read or
// written that another program changed since (size or time) is written over only
// after "… wurde geändert. Überschreiben?". On refusal the message (with the
// system's reason on a second line) has been shown and the error flag is set. Unlike a trial create, the
// check never truncates or deletes a file that is already there.
bool checkFileCreation(ProgramState& state, const std::string& path, bool askOverwrite);

// The open and save dialogs of project files: "*.zm1" in the data directory.
FileChoice projectFileChoice(const ProgramState& state);

// Writes the project under `name`; with an empty name the save dialog asks for
// one, its folder becomes the data directory and the chosen name (without folder
// and extension) the current file name. True when the file was written.
bool saveProject(ProgramState& state, const std::string& name, bool askOverwrite);

} // namespace zam1
