#include "core/app/command_guard.h"

#include <exception>
#include <filesystem>
#include <ostream>

#include "core/session/program_state.h"
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
    try {
        command();
        return true;
    } catch (...) {
        const std::string text = unexpectedFaultText(currentExceptionText());
        state.error.set();
        try {
            if (state.prompter != nullptr) state.prompter->showError(utf8ToOem(text));
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

bool sameFile(const std::string& input, const std::string& output) {
    namespace fs = std::filesystem;
    std::error_code failed;
    if (fs::equivalent(input, output, failed) && !failed) return true;
    failed.clear();
    const fs::path a = fs::weakly_canonical(input, failed);
    if (failed) return false;
    const fs::path b = fs::weakly_canonical(output, failed);
    return !failed && a == b;
}

} // namespace zam1
