#pragma once
// The File menu's table (mi_fileopentable): every project of the data folder in
// one table with its first closing dimension's results; picking a row opens that
// project. The scan and the opening run here; the window that shows the table
// is a port (OverviewWindow) so the whole command runs in tests.

#include <string>
#include <vector>

namespace zam1 {

struct OverviewRow;
struct ProgramState;

class OverviewWindow {
public:
    enum class Action {
        Choose,             // a row other than the one chosen last was picked: `row` says which
        Close,              // closed, Exit, OK or Cancel: no choice
        ExportSpreadsheet,  // "Export Excel": the rows go to the spreadsheet program, then the table shows again
    };
    virtual ~OverviewWindow() = default;
    // Shows `rows` modally under `caption` (UTF-8). The window may sort the rows
    // in place; `row` is the index chosen last (-1 for none) on the way in and
    // the chosen index on the way out.
    virtual Action show(const std::string& caption, std::vector<OverviewRow>& rows, int& row) = 0;
    // A project from the table is now the current one: show its result and caption.
    virtual void projectOpened() = 0;
};

// mi_fileopentable. Runs the close query (cancel: nothing happens), clears the
// current file name, scans the data folder and shows the table until it is closed
// without a choice, which leaves the error flag set. A chosen project that cannot
// be read shows the reader's message and leaves the project and its name as
// they were. True when a project from the table was opened.
bool openTable(ProgramState& state, OverviewWindow& window);

} // namespace zam1
