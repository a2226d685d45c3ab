#include "core/files/save_project.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/files/working_copy.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

// Why a file of this name cannot be written (an errno value), found out without
// touching a file that is already there: an existing file needs write permission,
// a new one a folder where a trial file of a fresh name can be created. 0: it can.
int creationError(const std::string& path) {
    if (!fs::path(path).has_filename()) return EISDIR;
    const std::string target = writeTarget(path);
    if (target.empty()) return errno;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (S_ISREG(st.st_mode)) return replaceRefusal(target);
        return S_ISDIR(st.st_mode) ? EISDIR : EPERM;  // a device or pipe is no project file
    }
    return folderCreationError(fs::path(target).parent_path().string());
}

// Whether another program has changed the file since this run read or wrote it.
bool changedMeanwhile(const ProgramState& state, const std::string& path) {
    const auto known = state.file.stampsOfThisRun.find(normalPath(path));
    if (known == state.file.stampsOfThisRun.end()) return false;
    const FileStamp now = fileStamp(path);
    return now.exists && now != known->second;
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
    std::string question;
    if ((askOverwrite || !seen) && !workingCopy && fs::is_regular_file(path, failed)) {
        question = utf8ToOem(path) + " " + t.alreadyExists + ".   " + t.overwrite + " ?";
    } else if (!workingCopy && changedMeanwhile(state, path)) {
        // Another program wrote the file after this run read it: Save would silently throw that away.
        question = utf8ToOem(path) + " " + t.changedMeanwhile;
    }
    if (!question.empty() && prompter.askYesNoCancel(question) != Answer::Yes) {
        state.error.set();
        return false;
    }
    if (const int error = creationError(path); error != 0) {
        prompter.showError(withSystemReason(t.invalidFileName + " \"" + utf8ToOem(path) + "\" !", error));
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
