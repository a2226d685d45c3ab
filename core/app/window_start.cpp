#include "core/app/window_start.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "core/app/file_commands.h"
#include "core/config/config_file.h"
#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/files/working_copy.h"
#include "core/lang/language.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/file_io.h"
#include "core/platform/leftovers.h"
#include "core/session/file_names.h"
#include "core/session/program_identity.h"
#include "core/session/program_settings.h"
#include "core/session/program_state.h"

namespace zam1 {
namespace {

// The project of the command line, read without the file functions' messages.
bool readQuietly(ProgramState& state, const std::string& path) {
    std::ostream nowhere(nullptr);
    BatchPrompter quiet(nowhere);
    Prompter* shown = state.prompter;
    state.prompter = &quiet;
    const bool read = readProjectFile(state, path);
    state.prompter = shown;
    return read;
}

// Without a project of the command line: the configured data directory, and its
// template project as the start of a new one.
void startFromTemplate(ProgramState& state) {
    state.file.dataDirectory = state.config.dataDirectory;
    const std::string templatePath = projectFilePath(state.file.dataDirectory, "null");
    if (!fileExists(templatePath)) return;
    if (readProjectFile(state, templatePath)) state.file.currentFile.clear();
    state.error.clear();
}

} // namespace

void tidyAfterEarlierRuns(const ProgramState& state) {
    const std::string copies = workingCopyFolder(state);
    removeStaleTemporaryFiles(copies.empty() ? "." : copies);
    const std::string project = currentProjectPath(state);
    if (!project.empty()) {
        const std::filesystem::path folder = std::filesystem::path(project).parent_path();
        removeStaleTemporaryFiles(folder.empty() ? "." : folder.string());
    }
    // Killed while "zam1.cfg" was being saved.
    if (!state.configDirectory.empty()) removeStaleTemporaryFiles(state.configDirectory);
    removeStaleWorkingCopyLocks(state);
}

void readStartConfiguration(ProgramState& state, const ScreenInfo& screen) {
    std::error_code failed;
    const std::string start = std::filesystem::current_path(failed).string();
    readConfiguration(state, start, screen);
    checkDirectories(state, start, temporaryFolderFromEnvironment());
    state.error.clear();
}

WindowStartPlan windowStartPlan(const std::vector<std::string>& positional) {
    WindowStartPlan plan;
    if (positional.empty()) return plan;
    plan.name = positional[0];
    const std::string a2 = positional.size() > 1 ? positional[1] : std::string();
    if (a2 == "/E" || a2 == "/e" || a2 == "/G") {
        plan.project = WindowStartPlan::Project::NameOnly;
        plan.startFlag = a2 == "/G";
    } else {
        plan.project = WindowStartPlan::Project::Read;
    }
    return plan;
}

bool startWindowSession(ProgramState& state, const WindowStartPlan& plan, bool& projectRead) {
    projectRead = false;
    readRecentFiles(state);
    state.error.clear();
    bool named = false;
    switch (plan.project) {
    case WindowStartPlan::Project::None:
        break;
    case WindowStartPlan::Project::NameOnly:
        state.file.currentFile = plan.name;
        state.file.dataDirectory.clear();
        break;
    case WindowStartPlan::Project::Read:
        state.file.commandLineProject = true;
        if (readQuietly(state, plan.name)) {
            adoptProject(state, plan.name, ProjectOrigin::CommandLine);
            projectRead = named = true;
            break;
        }
        // Unreadable or missing: a new project under that name, if the file may be
        // created there (an existing one only with the user's consent).
        state.error.clear();
        state.chain.clear();
        state.file.currentFile = plan.name;
        state.file.dataDirectory.clear();
        if (!checkFileCreation(state, plan.name, true)) return false;
        named = true;
        break;
    }
    if (!named) startFromTemplate(state);
    state.error.clear();
    tidyAfterEarlierRuns(state);
    if (offerWorkingCopy(state)) projectRead = true;
    state.error.clear();
    if (state.config.language > 0) loadLanguage(state.texts, state.config.language);
    return true;
}

std::string windowCaption(const ProgramState& state) { return windowCaption(state.file.currentFile); }

std::vector<std::string> closingScreenLines(int language) {
    std::vector<std::string> lines{std::string(kProgramTitle), "Version " + std::string(kProgramVersion), ""};
    switch (language) {
    case 2:
        lines.insert(lines.end(), {"Temporary files deleted.", "Goodbye."});
        break;
    case 3:
        lines.insert(lines.end(), {"Fichiers temporaires supprim\xC3\xA9s.", "Au revoir."});
        break;
    default:
        lines.insert(lines.end(), {"Tempor\xC3\xA4re Dateien gel\xC3\xB6scht.", "Auf Wiedersehen."});
        break;
    }
    return lines;
}

} // namespace zam1
