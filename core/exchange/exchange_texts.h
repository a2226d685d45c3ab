#pragma once
// The texts of the spreadsheet exchange and of the element import, in German and
// English (every other language takes the English ones). UTF-8; whoever hands
// one to the prompter converts it to the stored code page.

#include <string_view>

namespace zam1 {

struct ExchangeTexts {
    std::string_view elementSheet;      // tab of the element table
    std::string_view closingSheet;      // tab of the closing dimensions
    std::string_view overviewSheet;     // tab of the project overview
    std::string_view meanSize;          // column of closingMean
    std::string_view structureError;    // column naming why a closing dimension was not resolved
    std::string_view exportTitle;       // save dialog
    std::string_view importTitle;       // open dialog
    std::string_view row;               // "Zeile"
    std::string_view column;            // "Spalte"
    std::string_view notANumber;        // cell is no number
    std::string_view notAnInteger;      // cell is no whole number in range
    std::string_view badDirection;      // neither "+" nor "-"
    std::string_view badIsoCode;        // no ISO code
    std::string_view badNumber;         // element number out of sequence
    std::string_view tooManyElements;   // more rows than the chain holds
    std::string_view noHeading;         // first row is not a heading row
    std::string_view emptyFile;         // no element rows at all
    std::string_view unreadableFile;    // the file could not be read
    std::string_view nothingChanges;    // the file holds the table as it is
    std::string_view added;             // kind of change
    std::string_view changed;
    std::string_view removed;
    std::string_view change;            // headings of the import preview
    std::string_view columns;
    std::string_view before;
    std::string_view after;
    std::string_view written;           // status after an export
    std::string_view cannotStart;       // the spreadsheet program did not start
    std::string_view writeFailed;       // the export could not be written
    // Reading a workbook (.xlsx); a part of it is named after the text.
    std::string_view notAWorkbook;      // no zip, or no readable one
    std::string_view damagedPart;       // a part cannot be unpacked
    std::string_view missingPart;       // the worksheet is not there
    std::string_view badXml;            // a part is no well-formed XML
    std::string_view partTooLarge;      // a part unpacks beyond the limit
    std::string_view tooManyStrings;    // more shared strings than the limit
    std::string_view badCellReference;  // a cell or row reference beyond XFD1048576
    std::string_view badSharedString;   // cell: a shared string index out of range
    std::string_view errorValue;        // cell: a formula's error value
    std::string_view tooMuchText;       // the kept cells' texts together beyond the limit
    // Reading CSV.
    std::string_view unclosedQuote;     // row: a quoted field that does not end where a field ends
    std::string_view beyondLimit;       // cell: a length beyond the program's limit
    // A project exported as CSV: the closing dimensions' file is the chosen one's name with this added.
    std::string_view resultsFileSuffix;  // "-ergebnisse"
    // Reading measured values of an element.
    std::string_view notFinite;         // cell: "inf", "nan"
    std::string_view noValues;          // the file holds no values at all
    std::string_view tooFewValues;      // fewer than the analysis needs
    std::string_view tooManyValues;     // more than it takes
    std::string_view columnNotFound;    // the heading asked for is not in the first row
    std::string_view moreThanOneColumn; // row: a second cell where one column is expected
};

// German for German (and for no language chosen yet), English otherwise.
const ExchangeTexts& exchangeTexts(int language);

} // namespace zam1
