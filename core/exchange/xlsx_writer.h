#pragma once
// Office Open XML workbooks (.xlsx) through libxlsxwriter: one worksheet per
// table, the heading row bold and frozen, numbers as numbers shown with the
// table's decimals, texts as shared strings. Read back in the tests by openpyxl,
// cell by cell with the cell types.

#include <string>
#include <vector>

#include "core/exchange/sheet.h"

namespace zam1 {

// Writes the workbook to `path`. It is built beside the target and renamed over
// it only when complete, so a failed export keeps the file that was there.
// Returns an I/O result number (kIoOk on success).
int writeXlsx(const std::string& path, const std::vector<Worksheet>& sheets);

} // namespace zam1
