#pragma once
// The example project examples/getriebewelle.zm1 in a program state of its own,
// with a fixed clock and a batch prompter whose messages are kept.

#include <memory>
#include <sstream>
#include <string>

#include "core/session/program_state.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"

namespace zam1::test {

inline const std::string kExampleProject = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";
// How the drawings name the project file: fixed, so golden files do not depend on the checkout.
inline constexpr const char* kExampleFileName = "examples/getriebewelle.zm1";

struct ExampleState {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    std::ostringstream messages;
    BatchPrompter prompter{messages};
    HeadlessDesktop desktop;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};

    ExampleState() {
        state->prompter = &prompter;
        state->desktop = &desktop;
        state->clock = &clock;
    }
    // False (with the reader's message in `messages`) when the file cannot be read.
    bool load(const std::string& path = kExampleProject);
};

} // namespace zam1::test
