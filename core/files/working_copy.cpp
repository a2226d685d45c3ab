#include "core/files/working_copy.h"

#include <algorithm>
#include <filesystem>

#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/lang/text_table.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return out;
}

// The user's own file is never the working copy's to write or remove.
bool isCurrentFile(const ProgramState& state, const std::string& path) {
    const std::string current = currentProjectPath(state);
    return !current.empty() && normalPath(current) == normalPath(path);
}

} // namespace

const std::vector<std::string>& workingCopyNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const auto& row : messageTable().rows) {
            if (row.field != &MessageTexts::workingCopyName) continue;
            for (const char* name : row.text) {
                if (name != nullptr && std::find(out.begin(), out.end(), name) == out.end()) out.emplace_back(name);
            }
        }
        return out;
    }();
    return names;
}

bool mentionsWorkingCopy(std::string_view fileName) {
    const std::string name = lower(fileName);
    return std::any_of(workingCopyNames().begin(), workingCopyNames().end(),
                       [&](const std::string& w) { return name.find(w) != std::string::npos; });
}

bool isWorkingCopyName(std::string_view baseName) {
    return std::find(workingCopyNames().begin(), workingCopyNames().end(), baseName) != workingCopyNames().end();
}

std::string workingCopyPath(const ProgramState& state) {
    const std::string& folder =
        state.config.dataDirectory.empty() ? state.file.dataDirectory : state.config.dataDirectory;
    const std::string name = oemToUtf8(state.texts.messages.workingCopyName) + ".zm1";
    return folder.empty() ? name : (fs::path(folder) / name).string();
}

WorkingCopyWrite writeWorkingCopy(ProgramState& state) {
    const std::string path = workingCopyPath(state);
    if (isCurrentFile(state, path)) return WorkingCopyWrite::CurrentFile;
    const std::string bytes =
        projectFileText(state.chain, state.projectTexts, state.documentation, projectFileOptions(state));
    return writeFileSafely(path, bytes) == kIoOk ? WorkingCopyWrite::Written : WorkingCopyWrite::Failed;
}

void dropWorkingCopy(ProgramState& state) {
    const std::string path = workingCopyPath(state);
    if (isCurrentFile(state, path)) return;
    std::error_code ignored;
    fs::remove(path, ignored);
}

bool offerWorkingCopy(ProgramState& state) {
    const std::string path = workingCopyPath(state);
    if (isCurrentFile(state, path)) return false;
    std::error_code failed;
    const auto copyTime = fs::last_write_time(path, failed);
    if (failed) return false; // none left
    const std::string project = currentProjectPath(state);
    if (!project.empty()) {
        const auto projectTime = fs::last_write_time(project, failed);
        if (!failed && projectTime >= copyTime) return false;
    }
    const Answer answer = state.prompter->askYesNoCancel(state.texts.main.restoreWorkingCopy + utf8ToOem(path) + ") ?");
    if (answer == Answer::No) dropWorkingCopy(state);
    if (answer != Answer::Yes || !readProjectFile(state, path)) return false;
    state.file.modified = true; // the restored input is in no project file
    return true;
}

} // namespace zam1
