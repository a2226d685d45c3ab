#include "core/files/working_copy.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <unistd.h>

#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/lang/text_table.h"
#include "core/model/chain.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/lock_file.h"
#include "core/platform/prompter.h"
#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"

namespace zam1 {

// The copy a program keeps: its lock (which also names the project), and
// whether its last write failed and was shown.
struct WorkingCopyClaim {
    LockFile lock;
    std::string copyPath;       // empty: none claimed
    std::string project;        // normal full path of its project; empty: unnamed
    bool failing = false;
    std::function<Chain()> editor;
};

namespace {

namespace fs = std::filesystem;

constexpr int kMaxSameNames = 99;

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

WorkingCopyClaim& claimOf(ProgramState& state) {
    if (!state.workingCopy) state.workingCopy = std::make_shared<WorkingCopyClaim>();
    return *state.workingCopy;
}

std::string projectKey(const ProgramState& state) { return normalPath(currentProjectPath(state)); }

std::string lockPathOf(const std::string& copy) { return copy + ".lock"; }

std::string ownerOf(const LockFile& lock) {
    std::string owner = lock.content();
    while (!owner.empty() && (owner.back() == '\n' || owner.back() == '\r')) owner.pop_back();
    return owner;
}

void removeCopy(WorkingCopyClaim& claim) {
    if (claim.copyPath.empty()) return;
    std::error_code ignored;
    fs::remove(claim.copyPath, ignored);
    claim.lock.removeAndRelease();
    claim.copyPath.clear();
    claim.project.clear();
}

// A name of our own for the project's copy: the first of "aktuell-welle",
// "aktuell-welle-2", ... whose lock is free and where no copy is left (a copy
// left by a program that died waits for its restore, untouched).
int claimCopy(ProgramState& state, WorkingCopyClaim& claim, const std::string& project) {
    removeCopy(claim); // a copy of the project this program had before: its changes were saved or dropped
    const fs::path folder(workingCopyFolder(state));
    const std::string base = oemToUtf8(state.texts.messages.workingCopyName);
    const std::string stem = project.empty() ? std::to_string(::getpid()) : fs::path(project).stem().string();
    int failure = kIoAccessDenied;
    for (int n = 1; n <= kMaxSameNames; ++n) {
        const std::string name = base + "-" + stem + (n > 1 ? "-" + std::to_string(n) : std::string()) + ".zm1";
        const std::string path = folder.empty() ? name : (folder / name).string();
        if (isCurrentFile(state, path)) continue;
        LockFile lock;
        if (!lock.take(lockPathOf(path))) {
            if (errno != EWOULDBLOCK) return ioResultFromErrno(errno, false);
            continue;
        }
        std::error_code failed;
        if (fs::exists(fs::symlink_status(path, failed))) continue;
        if (!lock.setContent(project + "\r\n")) {
            failure = ioResultFromErrno(errno, false);
            lock.removeAndRelease();
            return failure;
        }
        claim.lock = std::move(lock);
        claim.copyPath = path;
        claim.project = project;
        return kIoOk;
    }
    return failure;
}

int writeCopy(ProgramState& state, WorkingCopyClaim& claim) {
    const std::string project = projectKey(state);
    if (claim.copyPath.empty() || claim.project != project) {
        const int claimed = claimCopy(state, claim, project);
        if (claimed != kIoOk) return claimed;
    }
    const Chain chain = claim.editor ? claim.editor() : state.chain;
    const std::string bytes = projectFileText(chain, state.projectTexts, state.documentation, projectFileOptions(state));
    return writeFileSafely(claim.copyPath, bytes);
}

struct LeftCopy {
    fs::path path;
    fs::file_time_type time;
    bool older; // the single shared copy of older versions
};

bool startsWithCopyName(const std::string& stem) {
    return std::any_of(workingCopyNames().begin(), workingCopyNames().end(),
                       [&](const std::string& w) { return stem.size() > w.size() + 1 && stem.starts_with(w + "-"); });
}

// The copies in the folder, newest first.
std::vector<LeftCopy> copiesIn(const std::string& folder) {
    std::vector<LeftCopy> copies;
    std::error_code failed;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, failed), end; !failed && it != end;
         it.increment(failed)) {
        const fs::path& p = it->path();
        if (p.extension() != ".zm1" || !it->is_regular_file(failed)) continue;
        const std::string stem = p.stem().string();
        const bool older = isWorkingCopyName(stem);
        if (!older && !startsWithCopyName(stem)) continue;
        copies.push_back({p, it->last_write_time(failed), older});
    }
    std::sort(copies.begin(), copies.end(), [](const LeftCopy& a, const LeftCopy& b) { return a.time > b.time; });
    return copies;
}

// Makes the restored copy's project the current one; the copy goes on as this program's.
void adopt(ProgramState& state, LockFile& lock, const std::string& copy, const std::string& owner) {
    if (!owner.empty()) {
        const fs::path p(owner);
        state.file.dataDirectory = p.parent_path().string();
        state.file.currentFile = p.extension() == ".zm1" ? p.stem().string() : owner;
    } else {
        state.file.currentFile.clear();
    }
    state.file.modified = true; // the restored input is in no project file
    WorkingCopyClaim& claim = claimOf(state);
    removeCopy(claim);
    claim.lock = std::move(lock);
    claim.copyPath = copy;
    claim.project = owner;
    claim.failing = false;
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

std::string workingCopyFolder(const ProgramState& state) {
    return state.config.dataDirectory.empty() ? state.file.dataDirectory : state.config.dataDirectory;
}

std::string workingCopyPath(const ProgramState& state) {
    return state.workingCopy ? state.workingCopy->copyPath : std::string();
}

WorkingCopyWrite writeWorkingCopy(ProgramState& state) {
    WorkingCopyClaim& claim = claimOf(state);
    const int result = writeCopy(state, claim);
    if (result == kIoOk) {
        claim.failing = false;
        return WorkingCopyWrite::Written;
    }
    if (!claim.failing && state.prompter != nullptr) {
        const std::string where = claim.copyPath.empty() ? workingCopyFolder(state) : claim.copyPath;
        const std::string text =
            state.texts.main.workingCopyFailed + " (" + utf8ToOem(where) + "): " + writeErrorText(result);
        state.prompter->showStatus(text);
        state.prompter->showError(text);
    }
    claim.failing = true;
    return WorkingCopyWrite::Failed;
}

void keepWorkingCopy(ProgramState& state) {
    const bool editing = state.workingCopy && state.workingCopy->editor;
    if (state.file.modified || editing) {
        writeWorkingCopy(state);
    } else {
        dropWorkingCopy(state);
    }
}

void dropWorkingCopy(ProgramState& state) {
    if (!state.workingCopy) return;
    WorkingCopyClaim& claim = *state.workingCopy;
    if (isCurrentFile(state, claim.copyPath)) return;
    removeCopy(claim);
    claim.failing = false;
}

void releaseWorkingCopy(ProgramState& state) {
    if (!state.workingCopy) return;
    state.workingCopy->lock.release();
    state.workingCopy->copyPath.clear();
    state.workingCopy->project.clear();
}

void setWorkingCopyEditor(ProgramState& state, std::function<Chain()> typed) { claimOf(state).editor = std::move(typed); }

void saveWorkingCopyOnSignal(ProgramState& state) {
    WorkingCopyClaim& claim = claimOf(state);
    if (state.file.modified || claim.editor) writeCopy(state, claim);
    claim.editor = nullptr;
    releaseWorkingCopy(state);
}

bool offerWorkingCopy(ProgramState& state) {
    const std::string project = projectKey(state);
    const std::string own = workingCopyPath(state);
    for (const LeftCopy& left : copiesIn(workingCopyFolder(state))) {
        const std::string copy = left.path.string();
        if (isCurrentFile(state, copy) || (!own.empty() && normalPath(own) == normalPath(copy))) continue;
        // A copy of this version has its lock file; without one, a file of such a
        // name is somebody's own project, not ours to offer or remove.
        std::error_code failed;
        if (!left.older && !fs::is_regular_file(fs::symlink_status(lockPathOf(copy), failed))) continue;
        LockFile lock;
        if (!lock.take(lockPathOf(copy))) continue; // its program is running
        const std::string owner = normalPath(ownerOf(lock));
        if (!project.empty() && owner != project) continue;
        if (!owner.empty()) {
            const auto projectTime = fs::last_write_time(owner, failed);
            if (!failed && projectTime >= left.time) continue; // saved since
        }
        const std::string named = owner.empty() ? copy : owner;
        const Answer answer = state.prompter->askYesNoCancel(state.texts.main.restoreWorkingCopy + utf8ToOem(named) + ") ?");
        if (answer == Answer::No) {
            std::error_code ignored;
            fs::remove(left.path, ignored);
            lock.removeAndRelease();
            continue;
        }
        if (answer != Answer::Yes) continue;
        if (!readProjectFile(state, copy)) return false;
        adopt(state, lock, copy, owner);
        return true;
    }
    return false;
}

void removeStaleWorkingCopyLocks(const ProgramState& state) {
    const std::string folder = workingCopyFolder(state);
    std::error_code failed;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, failed), end; !failed && it != end;
         it.increment(failed)) {
        const std::string name = it->path().filename().string();
        if (!name.ends_with(".zm1.lock") || !mentionsWorkingCopy(name)) continue;
        const fs::path copy = it->path().parent_path() / name.substr(0, name.size() - 5);
        std::error_code missing;
        if (fs::exists(fs::symlink_status(copy, missing))) continue;
        LockFile lock;
        if (lock.take(it->path().string())) lock.removeAndRelease();
    }
}

} // namespace zam1
