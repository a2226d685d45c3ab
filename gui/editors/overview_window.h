#pragma once
// The overview window (`TForm_preview`): the projects of the data directory in a
// table, one row each with its key results. A click on a heading sorts by that
// column; a click on a row opens that project and the table comes back.

#include <functional>

class QWidget;

namespace zam1 {

struct ProgramState;

// Scans the data directory (with progress and a way to stop), then shows the
// table until it is closed without a choice. A chosen row goes through the close
// query and is read; after each project read `afterOpen` runs (the window shows
// the result), and the table opens again with the same rows.
void showOverview(ProgramState& state, QWidget* parent, const std::function<void()>& afterOpen);

} // namespace zam1
