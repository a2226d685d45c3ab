#pragma once
// The working copy: the project as it stands after each change, so that a crash
// or a kill leaves the user's input recoverable. Every running program keeps its
// own copy for the project it has open, in the configured data directory, named
// from the project with the language's working-copy name in front
// ("aktuell-welle.zm1"; an unnamed project "aktuell-<process number>.zm1"). A lock
// file beside it ("aktuell-welle.zm1.lock") holds the project's full path and is
// locked while its program runs, so no other program writes, offers or removes
// that copy; when the program dies the lock goes with it and the next start may
// take the copy over. The copy exists only while the project has changes that are
// in no project file: saving or dropping them removes it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

class Chain;
struct ProgramState;

// The base name of the working copy in every language, each once.
const std::vector<std::string>& workingCopyNames();

// Whether a file name holds one of those names, in any case (the overwrite
// question never asks for such a file).
bool mentionsWorkingCopy(std::string_view fileName);

// Whether a base name (without folder and extension) is exactly one of them (the
// one name archive mode lets the file commands write; also the single shared
// copy older versions kept, still offered at a start without a project).
bool isWorkingCopyName(std::string_view baseName);

// Where the copies live: the configured data directory (it stays put while the
// file dialogs move the current one, so the next start finds them).
std::string workingCopyFolder(const ProgramState& state);

// The copy this program keeps for its project now; empty while it keeps none.
std::string workingCopyPath(const ProgramState& state);

enum class WorkingCopyWrite {
    Written,
    CurrentFile, // the user's own project has that name: left alone
    Failed,      // could not be written; the first failure of a streak was shown
};

// Writes the working copy of the project as it stands (with what an open editor
// holds, see setWorkingCopyEditor) through the safe writer: no question, and a
// failure does not stop the command that changed the project. The first failure
// after a success is shown in the status line and a message box; the next
// writes keep trying quietly until one succeeds.
WorkingCopyWrite writeWorkingCopy(ProgramState& state);

// After a command: the copy is written while the project has unsaved changes (or
// an editor is open), and removed when it has none.
void keepWorkingCopy(ProgramState& state);

// Removes this program's working copy and its lock file once the project's
// changes are saved or dropped; never another program's copy, never the
// user's own current file.
void dropWorkingCopy(ProgramState& state);

// The program ends without the close query (a signal): the copy and its lock
// file stay for the next start, the lock goes.
void releaseWorkingCopy(ProgramState& state);

// An open editor holds input that is not yet in the chain: while one is set,
// the working copy is written from what it returns. Null when the editor closes.
void setWorkingCopyEditor(ProgramState& state, std::function<Chain()> typed);

// The program was asked to end (SIGTERM, SIGHUP, SIGINT): writes the copy when
// there is unsaved input, quietly, and lets its lock go.
void saveWorkingCopyOnSignal(ProgramState& state);

// At start, after the project of the command line (if any) was read: the copies
// left by programs that have ended are offered, each naming its project
// ("Ungesicherte Eingaben wiederherstellen (" + project + ") ?"), a copy of an
// unnamed project naming itself. With a project at start only that project's
// copies are offered, and only when newer than its file; without one, every
// copy left. Yes reads it and makes its project the current one (modified, the
// copy now this program's); No removes it; Cancel keeps it for the next start.
// True when one was restored.
bool offerWorkingCopy(ProgramState& state);

// At start: the lock files in the copies' folder that guard no copy and belong
// to no running program.
void removeStaleWorkingCopyLocks(const ProgramState& state);

} // namespace zam1
