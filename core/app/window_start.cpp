#include "core/app/window_start.h"
#include "core/app/file_commands.h"
#include "core/session/file_names.h"

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

std::string windowCaption(const ProgramState& state) { return windowCaption(state.file.currentFile); }

bool openProjectCommand(ProgramState& state) { return fileOpen(state); }

} // namespace zam1
