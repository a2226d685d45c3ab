#pragma once
// CSV as the spreadsheet exchange writes and reads it: one table per file, its
// heading row first; UTF-8 with a byte-order mark (from which spreadsheet
// programs tell the encoding); ";" between cells and "." as the decimal mark, or
// "," with the decimal-comma setting, so that a spreadsheet program set to a
// German locale takes the numbers for numbers; CR LF line ends; fields holding
// ";", '"' or a line break in double quotes. Read back in the tests by pandas,
// Python's csv reader and LibreOffice.

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/import_rows.h"
#include "core/exchange/sheet.h"

namespace zam1 {

struct ExchangeTexts;

// Cell texts that a spreadsheet program would take for a formula (beginning with
// "=", "+", "-", "@", tab or CR, also behind apostrophes) go out behind an
// apostrophe, so opening the file computes nothing; a lone "+" or "-" (the
// direction column) computes nothing and stays as it is, and so do the program's
// own headings. Numbers are written as numbers.
struct CsvFormat {
    char separator = ';';
    char decimalMark = '.';
};

// The format for the "Dot=1 Komma=2" setting: ";" between cells in both, the decimal mark as set.
CsvFormat csvFormat(int decimalSeparatorSetting);

void writeCsv(std::ostream& out, const Worksheet& sheet, const CsvFormat& format = {});

// A number as the CSV holds it: the shortest text that reads back to the same
// double (a spreadsheet program's number), never with an exponent.
std::string csvNumber(long double value, char decimalMark = '.');

struct CsvLimits {
    std::size_t records = 4096;  // reading stops after these (the rest of the file is not looked at)
    std::size_t fields = 64;     // fields of a record beyond these are passed over
};

struct CsvRecords {
    std::vector<std::vector<std::string>> records;
    std::optional<ImportProblem> problem;  // set: the file was refused and `records` is empty
};

// The records of a CSV file, a blank line as an empty record (files of older
// versions held the closing dimensions behind one, after the elements). The separator is
// the one of ";", "," and tab that the first line uses most (outside quotes); a
// byte-order mark is skipped; CR LF and LF both end a record. A double quote
// opens a quoted field only at the start of a field; a quoted field that is not
// closed, or is followed by anything but a separator or a line end, refuses the
// file naming the row where it began, never merging the rows after it. A field
// the export guarded with an apostrophe reads back as the text that was exported.
// `separator` other than 0 is taken instead of the guess.
CsvRecords readCsvRecords(std::string_view bytes, const ExchangeTexts& words, const CsvLimits& limits = {},
                          char separator = 0);

} // namespace zam1
