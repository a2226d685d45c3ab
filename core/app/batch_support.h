#pragma once
// What the batch modes of the command line share: the batch ports put into the
// program's state for the length of a run, and the calculation warnings written
// to standard error.

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/session/program_state.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/desktop.h"

namespace zam1 {

// No question waits for an answer, messages go to standard error; the ports that
// were there come back when the run ends.
class BatchPorts {
public:
    BatchPorts(ProgramState& state, std::ostream& err)
        : m_state(state), m_prompter(err), m_savedPrompter(state.prompter), m_savedDesktop(state.desktop) {
        state.prompter = &m_prompter;
        state.desktop = &m_desktop;
    }
    ~BatchPorts() {
        m_state.prompter = m_savedPrompter;
        m_state.desktop = m_savedDesktop;
    }
    BatchPorts(const BatchPorts&) = delete;
    BatchPorts& operator=(const BatchPorts&) = delete;

private:
    ProgramState& m_state;
    BatchPrompter m_prompter;
    HeadlessDesktop m_desktop;
    Prompter* m_savedPrompter;
    Desktop* m_savedDesktop;
};

// The exit codes every batch form shares (README, "Batch mode"): 0 done; 1 the
// project or its settings file could not be read, or an output not written; 2
// refused before anything was written (unusable or extra arguments, an output that
// is an input) or written, but closing dimensions could not be calculated; 3 (the
// analysis only) a required limit is violated; 4 (the analysis only) none is shown
// violated, but the Monte Carlo sample is too small to show that every one holds.
inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitRefused = 2;
inline constexpr int kExitUnresolved = 2;
inline constexpr int kExitViolated = 3;
inline constexpr int kExitUndecided = 4;

// "... is the project file itself": a batch run refuses to write over its input.
std::string refusedOverProjectText(const std::string& outputFile);

// True, with the message on `err`, when `outputFile` is the project or its settings
// file (the same file, through links and other spellings too). The batch forms
// check every output with it before they read anything.
bool outputIsAnInput(const std::string& projectPath, const std::string& outputFile, std::ostream& err);

// "... geschrieben, aber n Schließmaß(e) nicht berechenbar" for `count` > 0;
// `what` names the output in the English part ("report", "drawing").
void writeUnresolvedNote(const std::string& outputFile, int count, std::string_view what, std::ostream& err);

// The calculation's warnings, which a window would show after the run.
void writeCalculationWarnings(const ProgramState& state, std::ostream& err);

} // namespace zam1
