#pragma once
// Reads the reference CSV files under tests/data: a header row, then rows of plain
// comma-separated cells (no quoting). Empty cells stay empty strings.

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/text/number_format.h"

namespace zam1::test {

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    // The number in a cell, or nothing for an empty cell.
    std::optional<long double> number(std::size_t row, const std::string& name) const {
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] != name) continue;
            const std::string& cell = rows.at(row).at(i);
            long double value = 0;
            if (cell.empty()) return std::nullopt;
            if (!parseNumber(cell, value)) ADD_FAILURE() << "not a number: " << cell;
            return value;
        }
        ADD_FAILURE() << "no column " << name;
        return std::nullopt;
    }
};

inline CsvTable readCsv(const std::string& relativePath) {
    CsvTable table;
    std::ifstream in(std::string(ZAM1_TEST_DATA_DIR) + "/" + relativePath);
    if (!in) ADD_FAILURE() << "cannot read " << relativePath;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> cells(1);
        for (const char c : line) {
            if (c == ',') cells.emplace_back();
            else cells.back() += c;
        }
        if (table.header.empty()) table.header = std::move(cells);
        else if (!line.empty()) table.rows.push_back(std::move(cells));
    }
    return table;
}

} // namespace zam1::test
