#pragma once
// Reading an element table from a CSV file or an .xlsx workbook: the layout the
// export writes (heading row, then one row per element; a project export's
// closing dimensions, after the first empty line of a CSV or on the workbook's
// second sheet, are not read) or the same columns saved by a spreadsheet
// program. A CSV may have ";", "," or tab between cells and "." or "," as
// decimal point; a workbook's first worksheet is read.
//
// Nothing here touches the project: the file is read into element records, the
// differences to the chain are listed for the user to see, and only
// applyElementImport() writes them into the chain.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/import_rows.h"
#include "core/model/records.h"

namespace zam1 {

class Chain;
struct ExchangeTexts;

struct ElementImport {
    std::vector<Element> elements;        // elements 1..n, index 0 is element 1
    std::optional<ImportProblem> problem; // set: the file is refused and `elements` is empty
};

// Reads every element row up to the first empty row. Row r must carry element
// number r - 1 (or nothing in that column); numbers, the direction and the ISO
// code must be readable. Texts are converted to the stored code page and cut to
// their fields; a number cell in a text column reads as its shortest decimal
// text. The first unreadable cell refuses the whole file.
ElementImport readElementRows(const ImportRows& rows, const ExchangeTexts& words);

// A CSV file's bytes as UTF-8: as they are when they are UTF-8, else read in the Windows code page.
std::string importTextAsUtf8(std::string_view bytes);

// The rows of a CSV file (UTF-8, else the Windows code page), read as above.
ElementImport readElementCsv(std::string_view bytes, const ExchangeTexts& words);

// The first worksheet of an .xlsx workbook, read as above. A workbook that
// cannot be read is refused as a whole (row 0), naming the part at fault.
ElementImport readElementXlsx(std::string_view bytes, const ExchangeTexts& words);

// A workbook when the bytes are a zip container or the name ends in ".xlsx",
// else CSV. `fileName` only for its extension.
ElementImport readElementTable(std::string_view bytes, std::string_view fileName, const ExchangeTexts& words);

// "Zeile 4, Spalte D (Nennmaß): \"abc\" ist keine Zahl", UTF-8. `headings` names the column.
// A problem of the whole file (row 0): its reason, then the part meant, if any.
std::string importProblemText(const ImportProblem& problem, const std::vector<std::string>& headings,
                              const ExchangeTexts& words);

struct ElementChange {
    enum class Kind { Added, Changed, Removed };
    int element = 0;
    Kind kind = Kind::Changed;
    std::vector<int> columns;  // ElementColumn values that differ (all of them for Added and Removed)
    std::string before;        // the row as the table shows it, UTF-8; empty for Added
    std::string after;         // empty for Removed
};

struct ElementTableChanges {
    int elementsBefore = 0;
    int elementsAfter = 0;
    std::vector<ElementChange> changes;  // by element number
    bool empty() const { return changes.empty(); }
};

// What applying `imported` would change in `chain`.
ElementTableChanges compareElements(const Chain& chain, const std::vector<Element>& imported);

// Replaces the element table of `chain` with `imported` and recomputes the
// working values. Closing dimensions stay as they are.
void applyElementImport(Chain& chain, const std::vector<Element>& imported);

} // namespace zam1
