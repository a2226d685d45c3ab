#include "core/app/window_start.h"

#include <algorithm>
#include <filesystem>

#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/app/report_setup.h"
#include "core/config/config_file.h"
#include "core/session/program_settings.h"
#include "core/files/project_file.h"
#include "core/lang/language.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// The current file as the session keeps it: the base name, in the data directory.
void makeCurrent(ProgramState& state, const std::string& path) {
    const std::filesystem::path p(path);
    state.file.currentFile = projectBaseName(path);
    state.file.dataDirectory = p.has_parent_path() ? p.parent_path().string() : std::string();
    state.file.modified = false;
    std::string full = std::filesystem::absolute(p).lexically_normal().string();
    auto& recent = state.file.recentFiles;
    auto found = std::find(recent.begin(), recent.end(), full);
    if (found == recent.end()) found = recent.end() - 1;
    std::rotate(recent.begin(), found, found + 1);
    recent.front() = std::move(full);
}

} // namespace

void readStartConfiguration(ProgramState& state, const ScreenInfo& screen) {
    std::error_code failed;
    const std::string start = std::filesystem::current_path(failed).string();
    readConfiguration(state, start, screen);
    checkDirectories(state, start, temporaryFolderFromEnvironment());
    state.error.clear();
}

void startWindowSession(ProgramState& state, const std::string& project) {
    readRecentFiles(state);
    state.error.clear();
    if (!project.empty()) {
        state.file.commandLineProject = true;
        if (readProjectFile(state, project)) makeCurrent(state, project);
        state.error.clear();
    }
    if (state.config.language > 0) loadLanguage(state.texts, state.config.language);
}

std::string windowCaption(const ProgramState& state) {
    std::string caption(kProgramTitle);
    const std::string& name = state.file.currentFile;
    if (name.empty()) return caption;
    caption += "  -  ";
    caption += name;
    if (name.find('.') == std::string::npos) {
        caption += '.';
        caption += kProjectExtension;
    }
    return caption;
}

bool openProjectCommand(ProgramState& state) {
    state.error.clear();
    FileChoice choice;
    // The menu's caption without its accelerator mark, in the code page of the prompts.
    std::string title = commonMenuToUtf8(state.texts, state.texts.menu.fileOpen);
    std::erase(title, '&');
    choice.title = utf8ToOem(title);
    choice.filter = "ZAM1 (*." + std::string(kProjectExtension) + ")";
    choice.folder = state.file.dataDirectory;
    choice.defaultExtension = kProjectExtension;
    std::string path;
    if (!state.prompter->chooseOpenFile(choice, path)) {
        state.error.set();
        return false;
    }
    if (!readProjectFile(state, path)) return false;
    makeCurrent(state, path);
    return true;
}

} // namespace zam1
