#pragma once
// Office Open XML workbooks (.xlsx) through libxlsxwriter: one worksheet per
// table, the heading row bold and frozen, numbers as numbers shown with the
// table's decimals, texts as shared strings. Read back in the tests by openpyxl,
// cell by cell with the cell types.

#include <string>
#include <vector>

#include "core/exchange/sheet.h"

namespace zam1 {

// Writes the workbook to `path` through writeFileSafely (a link is written
// through, a file without write permission refused), so a failed export keeps the
// file that was there. Returns an I/O result number (kIoOk on success; see
// lastIoError for the system's reason).
int writeXlsx(const std::string& path, const std::vector<Worksheet>& sheets);

} // namespace zam1
