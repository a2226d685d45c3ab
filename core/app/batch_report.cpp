#include "core/app/batch_report.h"

#include <ostream>

#include "core/app/program_state.h"
#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/desktop.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// Puts the batch ports into the program's state for the length of a run.
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

    BatchPrompter& prompter() { return m_prompter; }
    Desktop& desktop() { return m_desktop; }

private:
    ProgramState& m_state;
    BatchPrompter m_prompter;
    HeadlessDesktop m_desktop;
    Prompter* m_savedPrompter;
    Desktop* m_savedDesktop;
};

void reportWarnings(const ProgramState& state, std::ostream& err) {
    const MessageList& messages = state.chain.messages;
    if (messages.empty()) return;
    err << oemToUtf8(state.texts.main.calculationWarnings) << '\n';
    for (int i = 0; i < messages.count(); ++i) err << "  " << oemToUtf8(messages.at(i)) << '\n';
}

} // namespace

int runBatchReport(ProgramState& state, const std::string& projectPath, bool quiet, std::ostream& err) {
    BatchPorts ports(state, err);
    state.error.clear();
    if (!readProjectFile(state, projectPath)) return 1;
    state.file.currentFile = projectBaseName(projectPath);

    OutputSettings settings = outputSettingsFrom(state.config);
    settings.defaultDevice = kDeviceProjectText;
    settings.askDevice = false;
    OutputChannel out(settings, state.texts, {ports.prompter(), ports.desktop(), *state.clock, state.error});
    out.setProject(projectHeading(state, projectPath, true));
    if (!writeStandardReport(state.chain, out, kDeviceProjectText)) return 1;
    if (!quiet) reportWarnings(state, err);
    return 0;
}

} // namespace zam1
