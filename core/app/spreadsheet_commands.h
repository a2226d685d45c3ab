#pragma once
// The spreadsheet menu and the element table's spreadsheet buttons: the project
// goes out as .xlsx or CSV and an element table comes back from either. Everything
// asks and tells through the state's prompter and desktop; the one thing a
// window adds is the preview of an import (ImportPreview). Each command clears
// the error flag first and leaves it set when it stopped or failed.

#include <string>
#include <vector>

namespace zam1 {

struct ElementTableChanges;
struct ProgramState;
struct OverviewRow;

// Shows what an import would change and asks whether to go on.
class ImportPreview {
public:
    virtual ~ImportPreview() = default;
    // `file` is the file's name (UTF-8). True: replace the element table.
    virtual bool confirmImport(const std::string& file, const ElementTableChanges& changes) = 0;
};

// mi_oleStartExcel: the project (elements and closing dimensions with their
// results) into "<project>.xlsx" in the temporary folder, opened in the desktop's
// spreadsheet program. A workbook of that name already there is the user's and
// stays as it is: the project then goes to "<project>-2.xlsx" (-3, ...). True
// when the file was written.
bool startSpreadsheet(ProgramState& state);

// mi_oleExportExcel: the project into a file chosen in the save dialog; its
// extension picks the format (".csv", else .xlsx). CSV holds one table a file:
// the elements go to the chosen file, the closing dimensions with their results
// beside it (resultsCsvPath). True when written.
bool exportSpreadsheet(ProgramState& state);

// Where a project's CSV export puts the closing dimensions: "p.csv" -> "p-ergebnisse.csv"
// ("p-results.csv" in English), in the same folder.
std::string resultsCsvPath(const std::string& elementsPath, int language);

// mi_oleexportelement / Button_exportexcel: the element table only, as in exportSpreadsheet.
bool exportElementTableSpreadsheet(ProgramState& state);

// mi_oleImportExcel / Button_importExcel: an element table from an .xlsx workbook
// or a CSV file chosen in the open dialog (told apart by the file's first bytes,
// else by its extension). An unreadable cell is named with its row and column and
// nothing changes; otherwise the preview shows the changes and, when confirmed,
// the element table is replaced and the project flagged modified. True when the
// project changed.
bool importSpreadsheet(ProgramState& state, ImportPreview& preview);

// mi_olePrintoutExcel: the project into a fresh workbook in the temporary folder as in
// startSpreadsheet, then handed to "libreoffice -p", which prints it on the
// default printer. True when the file was written and the program started.
bool printSpreadsheet(ProgramState& state);

// The overview table's "Export Excel": its rows, heading row included, as .xlsx in
// the temporary folder under a fresh name as in startSpreadsheet, opened in the
// spreadsheet program. True when written.
bool startOverviewSpreadsheet(ProgramState& state, const std::vector<OverviewRow>& rows);

} // namespace zam1
