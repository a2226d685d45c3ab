#pragma once
// The File menu without a window: New, Open, Save, Save As, the four recent files
// and the end of the program, each a function on the state it works on. They ask
// and tell through the state's prompter; what the window shows afterwards (the
// caption, the recent entries, a graphic) it takes from the return values and
// from core/session/file_names.h.
//
// Every command clears the error flag first and leaves it set when it stopped.
// The modified flag is cleared only when the project was really saved or
// replaced; answering "No" to the close query alone keeps it, so a cancelled
// dialog afterwards leaves the edited project flagged.

#include <string>

namespace zam1 {

struct ProgramState;

// Run before New, Open, a recent file and the program end. True when the command
// may go on: nothing to save, the changes saved, or the user chose to drop them.
// Cancel, a refusal to discard the input of a project without a name, and a save
// that fails set the error flag and return false.
bool closeQuery(ProgramState& state);

enum class AfterNew {
    Cancelled,      // the close query stopped it; the project is unchanged
    RunGuidedInput, // the new project is set up and flagged modified: the window runs the guided input now
};

// Starts a new project: the chain cleared, or read from "null.zm1" of the data
// directory when there is one, no file name, the change records reset to today,
// the remark lines empty.
AfterNew fileNew(ProgramState& state);

// The open dialog ("*.zm1", starting in the data directory), then the read. True
// when a project was read: the window shows the overall chain graphic.
bool fileOpen(ProgramState& state);

// Writes under the current name without the overwrite question, unless the file
// there was neither read nor written in this run; without a name the save dialog
// asks for one. True when written.
bool fileSave(ProgramState& state);

// Writes under a name chosen in the save dialog, with the overwrite question, and
// enters the file in the recent files. True when written.
bool fileSaveAs(ProgramState& state);

// Opens recent file k (1..4). The current name and folder change only when the
// read succeeds. A file that is gone is removed from the list with
// "File " + name + " not found !". True when read: the window shows the result.
bool fileOpenRecent(ProgramState& state, int k);

// Opens the project `path` as a recent file is opened (close query first, a file
// that is gone said): a file dropped on a window. True when read.
bool fileOpenNamed(ProgramState& state, const std::string& path);

// Where a project that becomes the current one comes from.
enum class ProjectOrigin { CommandLine, OpenDialog, RecentFile, FolderTable, Dropped };

// Makes the project just read from `path` the current one, the one way for every
// origin: its folder, its name (the stem of a ".zm1" file, any other name as
// given, so that Save writes the file that was read: "welle.alt", "Rad.ZM1"),
// unmodified, and first in the recent files. Opened in a running program it
// also goes into the desktop's recent list and this program's working copy goes;
// at the start a working copy left by an earlier run stays, to be offered.
void adoptProject(ProgramState& state, const std::string& path, ProjectOrigin origin);

// Reads `path` and makes it the current project: name and folder, the recent
// files and the cleared modified flag change only when the read succeeds. No
// close query: the caller has run it (the overview's row choice).
bool openProjectFile(ProgramState& state, const std::string& path, ProjectOrigin origin = ProjectOrigin::FolderTable);

// The end of the program: the close query, then the temporary drawing files
// "$*.dx$" of the temporary folder are deleted and the working copy is dropped.
// True when the program may end; false keeps it open.
bool fileExit(ProgramState& state);

} // namespace zam1
