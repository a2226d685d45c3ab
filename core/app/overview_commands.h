#pragma once
// The overview of the data directory (`mi_fileopentable`) without a window: the
// scan of its projects and the choice of a row, which opens that project as the
// current one. The window shows the rows and sorts them (core/files/overview.h).

#include <string>

#include "core/files/overview.h"

namespace zam1 {

struct ProgramState;

// Scans the data directory with the configured decimals and separator, reporting
// progress through the state's desktop (which may stop it).
OverviewScan scanDataDirectory(ProgramState& state);

// The user chose the row of `path`: the close query first, then the read. The
// current name and folder change only when the read succeeded, so a file that
// fails to load is never overwritten by the next Save. True when the project was
// read: the window shows the result.
bool openOverviewRow(ProgramState& state, const std::string& path);

} // namespace zam1
