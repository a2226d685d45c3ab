#pragma once
// The project file ".zm1": a line-oriented text file in the OEM code page with CR
// LF line ends, written in a fixed order of lines that nothing in the file names.
// The writer lays the lines out; the reader consumes exactly the same sequence,
// accepts CR LF or LF and "," or "." in numbers, and checks the separator lines so
// that a file that is not a project, or is cut short, is refused with a message.
//
// The reader never touches the project in memory unless the whole file was read:
// it fills fresh instances and swaps them in on success.

#include <string>
#include <string_view>

#include "core/text/number_format.h"

namespace zam1 {

class Chain;
class ErrorFlag;
class Prompter;
struct Documentation;
struct ProgramState;
struct ProjectTexts;

struct ProjectFileOptions {
    NumberFormat format;   // configured decimals and decimal separator
    std::string userName;  // header line 4 names the user
};

// The whole file as bytes.
std::string projectFileText(const Chain& chain, const ProjectTexts& texts, const Documentation& docs,
                            const ProjectFileOptions& options);

// Writes the project to `path` through the safe-write helper: a failed save
// keeps the file that was there. Shows "<name> gespeichert" as status on success;
// on failure the I/O message and the error flag.
bool writeProjectFile(const std::string& path, const Chain& chain, const ProjectTexts& texts,
                      const Documentation& docs, const ProjectFileOptions& options, Prompter& prompter,
                      ErrorFlag& error);

enum class ProjectReadStatus {
    Ok,
    NotProjectFormat, // not a project file at all ("ist nicht im ZAM-Format")
    InvalidFormat,    // a project file that is damaged ("ungültiges Dateiformat")
    ElementError,     // the block of one element is damaged ("Fehler bei Elementnummer")
};

struct ProjectReadResult {
    ProjectReadStatus status = ProjectReadStatus::Ok;
    int line = 0;              // line where reading failed (1-based)
    int element = 0;           // element whose block is damaged
    std::string fileVersion;   // as header line 3 gives it
    bool newerVersion = false; // written by a later version of the program
};

// Parses a whole file into the given instances, which should come fresh: the
// chain cleared, the texts empty, the documentation as New leaves it. Blocks an
// older file lacks keep what the instances hold. Derived element values are not
// computed here.
ProjectReadResult parseProjectFile(std::string_view bytes, Chain& chain, ProjectTexts& texts, Documentation& docs);

// Reads `path` into the project. The documentation starts as New leaves it
// (dated `today`), so the text rows and document slots of the project in memory
// stay unless the file brings its own. On success the derived element values are
// recomputed, "<name> geladen" shown as status and, for a file of a later version,
// a note "Neue Werte ab Version ..."; on failure the message is shown, the error
// flag set, and chain, texts and documentation are left exactly as they were.
bool readProjectFile(const std::string& path, Chain& chain, ProjectTexts& texts, Documentation& docs,
                     std::string_view today, Prompter& prompter, ErrorFlag& error);

// The same on the program's state, with its configured number format and date.
// A file read or written is noted in the state's files of this run.
bool writeProjectFile(ProgramState& state, const std::string& path);
bool readProjectFile(ProgramState& state, const std::string& path);

// The number format and user line the program's state writes with.
ProjectFileOptions projectFileOptions(const ProgramState& state);

} // namespace zam1
