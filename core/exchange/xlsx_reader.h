#pragma once
// The first worksheet of an Office Open XML workbook (.xlsx) as rows of cells:
// the export's own workbooks (shared strings, every cell with its reference) and
// the same layout saved by other spreadsheet programs (inline strings, cells and
// rows without a reference, rows left out). Checked against libxlsxwriter's
// output, LibreOffice-style inline strings and openpyxl.
//
// Built for files from anywhere: each part is unpacked with its size counted
// while reading (the zip's own size fields are not trusted), a document type
// declaration ends the parse, and the number of parts, the kept area, the number
// of shared strings, the text handed out in cells and the cell references are bounded. Every fault comes back as an
// ImportProblem in the program's words, never as an exception.

#include <cstddef>
#include <optional>
#include <string_view>

#include "core/exchange/import_rows.h"

namespace zam1 {

struct ExchangeTexts;

struct XlsxLimits {
    std::size_t partBytes = std::size_t{64} << 20;  // unpacked, per part
    std::size_t sharedStrings = 1000000;
    std::size_t parts = 10000;                      // files in the zip container
    // The texts handed out in cells, together: a shared string is counted for every
    // cell that refers to it, so one long text referred to by many cells is refused
    // instead of copied into each of them.
    std::size_t textBytes = std::size_t{16} << 20;
    // The area kept, from A1 on; cells below or right of it are read and passed over.
    int rows = 4096;
    int columns = 64;
};

struct XlsxSheet {
    ImportRows rows;
    std::optional<ImportProblem> problem;  // set: the workbook was refused and `rows` is empty
};

// Reads the workbook's first worksheet (the first sheet of xl/workbook.xml,
// else xl/worksheets/sheet1.xml). A cell's type decides its kind: numbers and
// booleans are Number cells with the text of the file, shared, inline and
// formula strings are Text, error values are Error.
XlsxSheet readFirstWorksheet(std::string_view bytes, const ExchangeTexts& words, const XlsxLimits& limits = {});

// True when `bytes` start like a zip container, as every .xlsx does.
bool looksLikeZip(std::string_view bytes);

} // namespace zam1
