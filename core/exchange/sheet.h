#pragma once
// The tables the spreadsheet exchange writes: a heading row and rows of typed
// cells, independent of the file format. Texts here are UTF-8; the stored code
// page of the project is converted on the way in. Numbers stay numbers so that a
// spreadsheet can calculate with them.

#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

class Chain;
struct ClosingSolution;
struct ExchangeTexts;
struct LanguageTexts;
struct OverviewRow;

struct WorksheetCell {
    enum class Kind { Empty, Integer, Number, Text };
    Kind kind = Kind::Empty;
    long double number = 0;
    std::string text;  // UTF-8

    static WorksheetCell integer(long long value) { return {Kind::Integer, static_cast<long double>(value), {}}; }
    static WorksheetCell value(long double value) { return {Kind::Number, value, {}}; }
    static WorksheetCell textCell(std::string utf8) { return {Kind::Text, 0, std::move(utf8)}; }
};

struct Worksheet {
    std::string name;                   // UTF-8; the tab of the workbook
    std::vector<std::string> headings;  // UTF-8
    std::vector<std::vector<WorksheetCell>> rows;
    int decimals = 3;                   // how many decimals a spreadsheet shows of a Number
};

// The columns of the element table, in the order of the element editor.
enum ElementColumn : int {
    kColNumber, kColPredecessor, kColDirection, kColDistance, kColUpper, kColLower, kColIso, kColText,
    kColRemark, kElementColumns
};

// The headings of the element table in the program's language.
std::vector<std::string> elementHeadings(const LanguageTexts& texts);

// Elements 1..elementCount: number, predecessor, "+"/"-", distance, upper and
// lower deviation, ISO code ("H 7", empty without one), text, remark.
Worksheet elementSheet(const Chain& chain, const LanguageTexts& texts, const ExchangeTexts& words);

// One row per closing dimension with its calculated values; `solutions` as
// solveAllClosings gives them. A closing dimension that could not be resolved
// keeps its numbers empty and names its structure error instead.
Worksheet closingSheet(const Chain& chain, const std::vector<ClosingSolution>& solutions, const LanguageTexts& texts,
                   const ExchangeTexts& words);

// The project overview as its window shows it; cells that read as numbers are numbers.
Worksheet overviewSheet(const std::vector<OverviewRow>& rows, const ExchangeTexts& words);

// The ISO code of an element cell: letters, one blank, grade ("H 7"); empty without one.
std::string isoCodeText(std::string_view letters, int grade);

} // namespace zam1
