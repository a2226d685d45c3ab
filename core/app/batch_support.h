#pragma once
// What the batch modes of the command line share: the batch ports put into the
// program's state for the length of a run, and the calculation warnings written
// to standard error.

#include <iosfwd>
#include <string>

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

// "... is the project file itself": a batch run refuses to write over its input.
std::string refusedOverProjectText(const std::string& outputFile);

// The calculation's warnings, which a window would show after the run.
void writeCalculationWarnings(const ProgramState& state, std::ostream& err);

} // namespace zam1
