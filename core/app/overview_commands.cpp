#include "core/app/overview_commands.h"

#include "core/app/file_commands.h"
#include "core/session/program_state.h"

namespace zam1 {

OverviewScan scanDataDirectory(ProgramState& state) {
    return scanOverview(state.file.dataDirectory, state.config.numberFormat(), *state.desktop);
}

bool openOverviewRow(ProgramState& state, const std::string& path) {
    state.error.clear();
    if (path.empty() || !closeQuery(state)) return false;
    return openProjectFile(state, path);
}

} // namespace zam1
