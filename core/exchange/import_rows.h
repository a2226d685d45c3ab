#pragma once
// A table as an import reads it, whatever the file: rows of cells, each with
// what the file held and whether the file called it a number. The CSV and the
// .xlsx reader fill it; one element reader takes it from there.

#include <string>
#include <vector>

namespace zam1 {

struct ImportProblem {
    int row = 0;          // as the spreadsheet numbers it: the heading row is 1; 0 for the whole file
    int column = 0;       // 1-based; 0 when the whole row or file is meant
    std::string cell;     // UTF-8, what the cell held (for the whole file: the part of it meant)
    std::string reason;   // UTF-8
};

struct ImportCell {
    // Text: a CSV field or a text cell. Number: a number or boolean cell, `text`
    // as the file wrote it ("1E-3", booleans "1"/"0"). Error: a formula's error
    // value ("#DIV/0!"), which no column accepts.
    enum class Kind { Text, Number, Error };
    Kind kind = Kind::Text;
    std::string text;  // UTF-8

    // Nothing but blanks: a row of such cells ends the table.
    bool blank() const { return kind != Kind::Error && text.find_first_not_of(" \t") == std::string::npos; }
};

// A column as spreadsheets name it: 1 "A", 26 "Z", 27 "AA".
inline std::string columnLetters(int column) {
    std::string letters;
    for (int c = column; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), char('A' + (c - 1) % 26));
    return letters;
}

// Row 1 first. Every row holds its cells from column A on; cells a file left
// out are empty texts, and a row may be shorter than others or empty.
using ImportRows = std::vector<std::vector<ImportCell>>;

} // namespace zam1
