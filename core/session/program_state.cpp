#include "core/session/program_state.h"

#include <iostream>

#include "core/platform/batch_prompter.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"

namespace zam1 {

ProgramState& program() {
    static BatchPrompter batchPrompter(std::cerr);
    static HeadlessDesktop headlessDesktop;
    static SystemClock systemClock;
    static ProgramState* state = [] {
        auto* s = new ProgramState;  // lives for the whole run
        s->prompter = &batchPrompter;
        s->desktop = &headlessDesktop;
        s->clock = &systemClock;
        startDocumentation(s->documentation, dateText(systemClock.now(), s->config.dateCode));
        return s;
    }();
    return *state;
}

const std::string& temporaryFolder(const ProgramState& state) {
    return state.privateFolder.empty() ? state.config.tempDirectory : state.privateFolder;
}

const Clock& clockOf(const ProgramState& state) {
    static const SystemClock systemClock;
    return state.clock != nullptr ? *state.clock : systemClock;
}

std::string todayText(const ProgramState& state) { return dateText(clockOf(state).now(), state.config.dateCode); }

const LanguageTexts& texts() { return program().texts; }

} // namespace zam1
