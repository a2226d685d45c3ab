// The spreadsheet menu: the project and its element table as .xlsx or CSV files
// that every spreadsheet program opens, the import of an element table from such
// a file, and the printout through the spreadsheet program.
#include "core/app/menu_rows.h"
#include "core/app/spreadsheet_commands.h"
#include "core/app/workbench.h"

namespace zam1 {

MenuSection spreadsheetMenu() {
    using T = CommonMenuTexts;
    return {"mi_ole", commonCaption<&T::spreadsheetMenu>, {
        {.objectName = "mi_oleStartExcel", .caption = commonCaption<&T::startSpreadsheet>,
         .run = [](MenuContext& c) { return startSpreadsheet(c.state); }},
        {.objectName = "mi_oleExportExcel", .caption = commonCaption<&T::exportSpreadsheet>,
         .run = [](MenuContext& c) { return exportSpreadsheet(c.state); }},
        {.objectName = "mi_oleImportExcel", .caption = commonCaption<&T::importSpreadsheet>,
         .run = [](MenuContext& c) {
             if (!importSpreadsheet(c.state, c.bench.importPreview())) return false;
             showResult(c);  // the picture shows the imported elements
             return true;
         },
         .effect = MenuEffect::ChangesProject},
        {.objectName = "mi_olePrintoutExcel", .caption = commonCaption<&T::printSpreadsheet>,
         .run = [](MenuContext& c) { return printSpreadsheet(c.state); }},
        separator(),
        {.objectName = "mi_oleexportelement", .caption = commonCaption<&T::exportElementTable>,
         .run = [](MenuContext& c) { return exportElementTableSpreadsheet(c.state); }},
    }};
}

} // namespace zam1
