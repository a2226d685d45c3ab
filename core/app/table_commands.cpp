#include "core/app/table_commands.h"

#include <filesystem>

#include "core/app/file_commands.h"
#include "core/app/spreadsheet_commands.h"
#include "core/files/overview.h"
#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/files/working_copy.h"
#include "core/session/file_names.h"
#include "core/session/program_state.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

std::string overviewFolder(const ProgramState& state) {
    if (!state.file.dataDirectory.empty()) return state.file.dataDirectory;
    if (!state.config.dataDirectory.empty()) return state.config.dataDirectory;
    return ".";
}

// The name changes only when the read succeeded: a name over a project that is
// not the file's would let the next Save overwrite that file with other data.
bool openFromTable(ProgramState& state, const OverviewRow& row) {
    if (!readProjectFile(state, row.path)) return false;
    const fs::path p(row.path);
    state.file.dataDirectory = p.parent_path().string();
    state.file.currentFile = p.stem().string();
    enterRecentFile(state.file.recentFiles, currentProjectPath(state));
    state.file.modified = false;
    dropWorkingCopy(state);
    return true;
}

} // namespace

bool openTable(ProgramState& state, OverviewWindow& window) {
    state.error.clear();
    if (!closeQuery(state)) return false;
    state.file.currentFile.clear();
    const std::string folder = overviewFolder(state);
    const NumberFormat numbers{state.config.decimals, state.config.decimalSeparator == 2};
    std::vector<OverviewRow> rows = scanOverview(folder, numbers, *state.desktop).rows;
    const std::string caption = overviewCaption(folder);
    bool opened = false;
    int row = -1;
    for (;;) {
        state.error.clear();
        const OverviewWindow::Action action = window.show(caption, rows, row);
        if (action == OverviewWindow::Action::Close) break;
        if (action == OverviewWindow::Action::ExportSpreadsheet) {
            startOverviewSpreadsheet(state, rows);
            continue;
        }
        if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) continue;
        if (openFromTable(state, rows[static_cast<std::size_t>(row)])) {
            opened = true;
            window.projectOpened();
        }
    }
    state.error.set();
    return opened;
}

} // namespace zam1
