#include "core/files/save_project.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kWorkingCopy = "aktuell";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return text;
}

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

std::string projectFilePath(const std::string& dataDirectory, const std::string& name) {
    if (fs::path(name).filename().string().find('.') != std::string::npos) return name;
    if (dataDirectory.empty()) return name + ".zm1";
    return (fs::path(dataDirectory) / (name + ".zm1")).string();
}

bool checkFileCreation(ProgramState& state, const std::string& path, bool askOverwrite) {
    Prompter& prompter = *state.prompter;
    const MainTexts& t = state.texts.main;
    const std::string stem = fs::path(path).stem().string();
    if (state.config.archiveMode && state.file.commandLineProject && stem != kWorkingCopy) {
        prompter.showError(t.archiveMode);
        state.error.set();
        return false;
    }
    const bool workingCopy = lower(fs::path(path).filename().string()).find(kWorkingCopy) != std::string::npos;
    std::error_code failed;
    if (askOverwrite && !workingCopy && fs::exists(path, failed)) {
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

bool saveProject(ProgramState& state, const std::string& name, bool askOverwrite) {
    std::string path;
    if (name.empty()) {
        FileChoice choice;
        choice.filter = "*.zm1|*.zm1";
        choice.folder = state.file.dataDirectory;
        choice.defaultExtension = "zm1";
        std::string chosen;
        if (!state.prompter->chooseSaveFile(choice, chosen) || chosen.empty()) {
            state.error.set();
            return false;
        }
        const fs::path p(chosen);
        state.file.dataDirectory = p.parent_path().string();
        state.file.currentFile = p.stem().string();
        path = (p.parent_path() / (p.stem().string() + ".zm1")).string();  // whatever extension was typed
    } else {
        path = projectFilePath(state.file.dataDirectory, name);
    }
    if (!checkFileCreation(state, path, askOverwrite)) return false;
    if (!writeProjectFile(state, path)) return false;
    if (!state.config.archiveMode) state.file.commandLineProject = false;
    return true;
}

} // namespace zam1
