#include "core/app/command_guard.h"

#include <exception>
#include <filesystem>
#include <ostream>

#include "core/session/program_state.h"
#include "core/platform/error_flag.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

std::string currentExceptionText() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "?";
    }
}

} // namespace

std::string unexpectedFaultText(std::string_view what) {
    return "Interner Fehler, der Befehl wurde abgebrochen: " + std::string(what);
}

bool runGuarded(ProgramState& state, const std::function<void()>& command) {
    return runGuarded(state.prompter, &state.error, command);
}

bool runGuarded(Prompter* prompter, ErrorFlag* error, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (...) {
        const std::string text = unexpectedFaultText(currentExceptionText());
        if (error != nullptr) error->set();
        try {
            if (prompter != nullptr) prompter->showError(utf8ToOem(text));
        } catch (...) {
            // Showing the message failed as well; the error flag still tells.
        }
        return false;
    }
}

int runGuardedBatch(ProgramState& state, std::ostream& err, const std::function<int()>& command) {
    try {
        return command();
    } catch (...) {
        state.error.set();
        err << unexpectedFaultText(currentExceptionText()) << '\n';
        return 1;
    }
}

namespace {

// The path with its links followed, dangling ones too: a write through a link to a
// file that does not exist yet creates that file.
std::filesystem::path followedPath(const std::string& path, std::error_code& failed) {
    namespace fs = std::filesystem;
    fs::path p = fs::absolute(path, failed);
    for (int hops = 0; !failed && hops < 40; ++hops) {
        std::error_code noLink;
        if (!fs::is_symlink(fs::symlink_status(p, noLink)) || noLink) break;
        const fs::path target = fs::read_symlink(p, failed);
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    return failed ? fs::path() : fs::weakly_canonical(p, failed);
}

} // namespace

bool sameFile(const std::string& input, const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code failed;
    if (fs::equivalent(input, output, failed) && !failed) return true;
    failed.clear();
    const fs::path a = followedPath(input, failed);
    if (failed) return false;
    const fs::path b = followedPath(output, failed);
    return !failed && a == b;
}

} // namespace zam1
