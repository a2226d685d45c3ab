#pragma once
// CSV as the spreadsheet exchange writes and reads it: UTF-8 with a byte-order
// mark (from which spreadsheet programs tell the encoding), ";" between
// cells, "." as the decimal point, CR LF line ends, fields holding ";", '"' or a
// line break in double quotes. Several tables follow one another, each with its
// heading row, separated by one empty line. Read back in the tests by Python's
// csv reader.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/sheet.h"

namespace zam1 {

void writeCsv(std::ostream& out, const std::vector<Worksheet>& sheets);

// A number as the CSV holds it: the shortest text that reads back to the same value.
std::string csvNumber(long double value);

// The records of a CSV file, a blank line as an empty record. The separator is
// the one of ";", "," and tab that the first line uses most (outside quotes); a
// byte-order mark is skipped; CR LF and LF both end a record.
std::vector<std::vector<std::string>> readCsvRecords(std::string_view bytes);

} // namespace zam1
