#include "core/session/program_settings.h"

#include "core/config/config_file.h"
#include "core/session/program_state.h"

namespace zam1 {

bool readConfiguration(ProgramState& state, const std::string& startDirectory, const ScreenInfo& screen) {
    state.configDirectory = configurationFolder(startDirectory, fallbackConfigurationFolder());
    return readConfiguration(state.configDirectory, state.config, screen, startDirectory);
}

bool writeConfiguration(ProgramState& state) {
    return writeConfiguration(state.configDirectory, state.config, state.texts.main, *state.prompter, state.error);
}

void readRecentFiles(ProgramState& state) { readRecentFiles(state.configDirectory, state.file.recentFiles); }

bool writeRecentFiles(ProgramState& state) {
    return writeRecentFiles(state.configDirectory, state.file.dataDirectory, state.file.recentFiles, state.texts.main,
                            *state.prompter, state.error);
}

void checkDirectories(ProgramState& state, const std::string& startDirectory, const std::string& environmentTemp) {
    checkDirectories(state.config, startDirectory, environmentTemp, state.texts.main, *state.prompter);
}

} // namespace zam1
