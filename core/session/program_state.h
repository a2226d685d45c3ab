#pragma once
// The program's single instances: the chain, the state of the current file, the
// application-wide error flag, and the ports through which the core reaches the
// user and the desktop. Procedures take what they work on as parameters; commands
// pass the program's own instances from here.

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "core/config/configuration.h"
#include "core/config/plot_settings.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/platform/error_flag.h"
#include "core/platform/file_io.h"
#include "core/records/documentation.h"
#include "core/standards/general_tolerance.h"
#include "core/standards/iso286.h"

namespace zam1 {

class Prompter;
class Desktop;
class Clock;
struct WorkingCopyClaim;

struct FileState {
    // The project's name without folder and extension as the file dialog gave it
    // (a name from the command line as typed); empty for a new project.
    std::string currentFile;
    std::string dataDirectory;  // folder of the project files
    bool modified = false;
    bool commandLineProject = false;  // the project was named on the command line
    std::array<std::string, 4> recentFiles; // full names, slot 1 (index 0) the newest
    // Project files read or written in this run (normal paths): Save writes over
    // one of these without asking, but never over a file it has not seen.
    std::set<std::string> filesOfThisRun;
    // Size and time of each of these files as this run last read or wrote it:
    // Save asks before writing over a change another program made meanwhile.
    std::map<std::string, FileStamp> stampsOfThisRun;
};

struct ProgramState {
    Chain chain;
    ProjectTexts projectTexts;
    Documentation documentation;
    Configuration config;
    PlotSettings plot;           // the plot device's parameters, for this run of the program
    LanguageTexts texts;
    GeneralToleranceSetting generalTolerance;
    IsoStepPositions isoSteps;  // the step commands keep their places for the whole run
    std::string configDirectory; // where zam1.cfg and zam1.cff are read and written
    // The desktop's list of recent files (recently-used.xbel) that opened and saved
    // projects are added to; empty in batch runs and tests, which keep out of it.
    std::string desktopRecentList;
    // The running program's own temporary folder (see PrivateFolder); empty: the
    // configured one. The configured folder keeps what the user puts there (the logo block).
    std::string privateFolder;
    FileState file;
    // The working copy this program keeps, with its lock (core/files/working_copy).
    std::shared_ptr<WorkingCopyClaim> workingCopy;
    ErrorFlag error;
    Prompter* prompter = nullptr;
    Desktop* desktop = nullptr;
    const Clock* clock = nullptr;
};

// The instance the running program works on. Its ports start as the batch
// prompter on standard error, the headless desktop and the system clock; the GUI
// installs its own.
ProgramState& program();

// Where the program writes its temporary files: its private folder, or the
// configured temporary folder when it has none.
const std::string& temporaryFolder(const ProgramState& state);

// The state's clock; the system's when none is installed.
const Clock& clockOf(const ProgramState& state);

// Today's date as the state's clock and configured date code write it.
std::string todayText(const ProgramState& state);

// The program's language texts, for the steps that report to the user without
// being handed them.
const LanguageTexts& texts();

} // namespace zam1
