#include "core/app/file_commands.h"

#include <ctime>
#include <filesystem>

#include "core/analysis/sidecar.h"
#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/files/working_copy.h"
#include "core/platform/desktop_recent.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

// The project in memory is now the one in its file.
void projectMatchesItsFile(ProgramState& state) {
    state.file.modified = false;
    dropWorkingCopy(state);
}

// Save without clearing the error flag first, for the command and the close query.
bool saveUnderCurrentName(ProgramState& state) {
    // askOverwrite off: the question still comes for a file this run never saw.
    if (!saveProject(state, state.file.currentFile, false)) return false;
    projectMatchesItsFile(state);
    return true;
}

// The program's four recent files, and the desktop's list that file dialogs and
// file managers of every program offer.
void enterRecent(ProgramState& state, const std::string& path) {
    enterRecentFile(state.file.recentFiles, path);
    if (state.desktopRecentList.empty()) return;
    std::error_code failed;
    const fs::path full = fs::absolute(path, failed);
    if (!failed) addToDesktopRecentList(state.desktopRecentList, full.lexically_normal().string(), std::time(nullptr));
}

} // namespace

void adoptProject(ProgramState& state, const std::string& path, ProjectOrigin origin) {
    const fs::path p(path);
    state.file.dataDirectory = p.parent_path().string();
    // A name that ends otherwise than ".zm1" ("Rad.ZM1", "welle.alt") is kept
    // whole, so that Save writes the file that was read, not a new one beside it.
    state.file.currentFile = p.extension() == ".zm1" ? p.stem().string() : p.string();
    if (origin == ProjectOrigin::CommandLine) {
        state.file.modified = false;
        std::error_code failed;
        const fs::path full = fs::absolute(p, failed);
        enterRecentFile(state.file.recentFiles, failed ? path : full.lexically_normal().string());
        return;
    }
    enterRecent(state, currentProjectPath(state));
    projectMatchesItsFile(state);
}

namespace {

// Reads `path` and makes it the current project: name and folder change only now.
bool openProject(ProgramState& state, const std::string& path, ProjectOrigin origin) {
    if (!readProjectFile(state, path)) return false;
    adoptProject(state, path, origin);
    return true;
}

// The drawing runs leave "$*.dx$" files in the temporary folder.
void deleteTemporaryDrawingFiles(const std::string& folder) {
    if (folder.empty()) return;
    std::error_code failed;
    for (fs::directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= 5 && name.front() == '$' && name.ends_with(".dx$") && it->is_regular_file(failed)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

// The close query, then the read of a file given by name; a file that is gone is said.
template <class WhenGone>
bool openNamedAfterCloseQuery(ProgramState& state, const std::string& path, ProjectOrigin origin, WhenGone whenGone) {
    if (!closeQuery(state)) return false;
    if (!fileExists(path)) {
        whenGone();
        state.prompter->showError("File " + utf8ToOem(path) + " not found !");
        state.error.set();
        return false;
    }
    return openProject(state, path, origin);
}

} // namespace

bool closeQuery(ProgramState& state) {
    const FileState& file = state.file;
    if (!file.modified) return true;
    // Archive mode never writes over the project of the command line.
    if (state.config.archiveMode && file.commandLineProject) return true;
    const MainTexts& t = state.texts.main;
    Answer answer = Answer::Cancel;
    if (!file.currentFile.empty()) {
        answer = state.prompter->askYesNoCancel(t.saveFileQuestion + utf8ToOem(currentProjectPath(state)) + ") ?");
        if (answer == Answer::Yes) return saveUnderCurrentName(state);
        if (answer == Answer::No) return true;
    } else if (state.prompter->askYesNoCancel(t.discardInput) == Answer::Yes) {
        return true;
    }
    state.error.set();
    return false;
}

AfterNew fileNew(ProgramState& state) {
    state.error.clear();
    if (!closeQuery(state)) return AfterNew::Cancelled;
    state.chain.clear();
    const std::string templatePath = projectFilePath(state.file.dataDirectory, "null");
    // A broken template has shown its message; the new project starts from the defaults.
    if (fileExists(templatePath) && !readProjectFile(state, templatePath)) state.error.clear();
    state.file.currentFile.clear();
    resetDocumentation(state.documentation, todayText(state));
    for (auto& line : state.projectTexts.remarkLines) line.clear();
    state.file.modified = true;
    return AfterNew::RunGuidedInput;
}

bool fileOpen(ProgramState& state) {
    state.error.clear();
    if (!closeQuery(state)) return false;
    std::string path;
    if (!state.prompter->chooseOpenFile(projectFileChoice(state), path) || path.empty()) {
        state.error.set();
        return false;
    }
    return openProject(state, path, ProjectOrigin::OpenDialog);
}

bool fileSave(ProgramState& state) {
    state.error.clear();
    return saveUnderCurrentName(state);
}

bool fileSaveAs(ProgramState& state) {
    state.error.clear();
    const std::string before = currentProjectPath(state);
    if (!saveProject(state, "", true)) return false;
    const std::string after = currentProjectPath(state);
    enterRecent(state, after);
    projectMatchesItsFile(state);
    // The analysis settings beside the project (limits, distributions) go with it
    // to its new name; an older settings file there is replaced.
    if (!before.empty() && before != after && fileExists(sidecarPath(before))) {
        std::string settings;
        if (readWholeFile(sidecarPath(before), settings) == kIoOk) writeFileSafely(sidecarPath(after), settings);
    }
    return true;
}

bool fileOpenRecent(ProgramState& state, int k) {
    state.error.clear();
    if (k < 1 || k > static_cast<int>(state.file.recentFiles.size())) return false;
    const std::string path = state.file.recentFiles[static_cast<std::size_t>(k - 1)];
    if (path.empty()) return false;
    return openNamedAfterCloseQuery(state, path, ProjectOrigin::RecentFile,
                                    [&] { removeRecentFile(state.file.recentFiles, k); });
}

bool fileOpenNamed(ProgramState& state, const std::string& path) {
    state.error.clear();
    if (path.empty()) return false;
    return openNamedAfterCloseQuery(state, path, ProjectOrigin::Dropped, [] {});
}

bool openProjectFile(ProgramState& state, const std::string& path, ProjectOrigin origin) {
    return openProject(state, path, origin);
}

bool fileExit(ProgramState& state) {
    state.error.clear();
    if (!closeQuery(state)) return false;
    state.prompter->showStatus(state.texts.main.deletingTempFiles);
    deleteTemporaryDrawingFiles(state.config.tempDirectory);
    dropWorkingCopy(state); // its changes are saved or were dropped on purpose
    return true;
}

} // namespace zam1
