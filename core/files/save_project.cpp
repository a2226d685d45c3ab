#include "core/files/save_project.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/files/working_copy.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

// Whether a file of this name can be created, found out without touching a file
// that is already there: a trial file in the same folder is created and removed.
bool creatable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISREG(st.st_mode) && ::access(path.c_str(), W_OK) == 0;
    const fs::path folder = fs::path(path).parent_path();
    std::string trial = (folder.empty() ? std::string(".") : folder.string()) + "/.zam1-create-XXXXXX";
    const int fd = ::mkstemp(trial.data());
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(trial.c_str());
    return fs::path(path).has_filename();
}

} // namespace

std::string currentProjectPath(const ProgramState& state) {
    if (state.file.currentFile.empty()) return {};
    return projectFilePath(state.file.dataDirectory, state.file.currentFile);
}

std::string projectFilePath(const std::string& dataDirectory, const std::string& name) {
    if (fs::path(name).filename().string().find('.') != std::string::npos) return name;
    if (dataDirectory.empty()) return name + ".zm1";
    return (fs::path(dataDirectory) / (name + ".zm1")).string();
}

bool checkFileCreation(ProgramState& state, const std::string& path, bool askOverwrite) {
    Prompter& prompter = *state.prompter;
    const MainTexts& t = state.texts.main;
    const std::string stem = fs::path(path).stem().string();
    if (state.config.archiveMode && state.file.commandLineProject && !isWorkingCopyName(stem)) {
        prompter.showError(t.archiveMode);
        state.error.set();
        return false;
    }
    const bool workingCopy = mentionsWorkingCopy(fs::path(path).filename().string());
    // Writing over a file without the question is for files this run has read or
    // written; a name nobody has seen the content of (an unreadable project of the
    // command line) always asks.
    const bool seen = state.file.filesOfThisRun.contains(normalPath(path));
    std::error_code failed;
    if ((askOverwrite || !seen) && !workingCopy && fs::is_regular_file(path, failed)) {
        const std::string question =
            utf8ToOem(path) + " " + t.alreadyExists + ".   " + t.overwrite + " ?";
        if (prompter.askYesNoCancel(question) != Answer::Yes) {
            state.error.set();
            return false;
        }
    }
    if (!creatable(path)) {
        prompter.showError(t.invalidFileName + " \"" + utf8ToOem(path) + "\" !");
        state.error.set();
        return false;
    }
    return true;
}

FileChoice projectFileChoice(const ProgramState& state) {
    FileChoice choice;
    choice.filter = "*.zm1|*.zm1";
    choice.folder = state.file.dataDirectory;
    choice.defaultExtension = "zm1";
    return choice;
}

bool saveProject(ProgramState& state, const std::string& name, bool askOverwrite) {
    std::string path;
    std::string chosenFolder;
    std::string chosenName;
    if (name.empty()) {
        std::string chosen;
        FileChoice choice = projectFileChoice(state);
        choice.callerAsksOverwrite = true;  // checkFileCreation below
        if (!state.prompter->chooseSaveFile(choice, chosen) || chosen.empty()) {
            state.error.set();
            return false;
        }
        const fs::path p(chosen);
        chosenFolder = p.parent_path().string();
        chosenName = p.stem().string();
        path = (p.parent_path() / (p.stem().string() + ".zm1")).string();  // whatever extension was typed
    } else {
        path = projectFilePath(state.file.dataDirectory, name);
    }
    if (!checkFileCreation(state, path, askOverwrite)) return false;
    if (!writeProjectFile(state, path)) return false;
    // Only a file really written becomes the current one: after a refused or
    // failed write, Save must not go to a name the user never got.
    if (!chosenName.empty()) {
        state.file.dataDirectory = chosenFolder;
        state.file.currentFile = chosenName;
    }
    if (!state.config.archiveMode) state.file.commandLineProject = false;
    return true;
}

} // namespace zam1
