#pragma once
// Reads the reference CSV files under tests/data: a header row, then rows of
// plain comma-separated cells (no quoting in these files).

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/text/number_format.h"

namespace zam1::test {

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    std::size_t column(const std::string& name) const {
        for (std::size_t i = 0; i < header.size(); ++i) {
            if (header[i] == name) return i;
        }
        ADD_FAILURE() << "no column " << name;
        return 0;
    }

    // The number in a cell, or nothing for an empty cell.
    std::optional<long double> number(std::size_t row, const std::string& name) const {
        const std::string& cell = rows.at(row).at(column(name));
        if (cell.empty()) return std::nullopt;
        long double value = 0;
        if (!parseNumber(cell, value)) ADD_FAILURE() << "not a number: " << cell;
        return value;
    }
};

inline std::vector<std::string> splitCsvLine(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, ',')) cells.push_back(cell);
    if (!line.empty() && line.back() == ',') cells.emplace_back();
    return cells;
}

inline CsvTable readCsv(const std::string& relativePath) {
    CsvTable table;
    std::ifstream in(std::string(ZAM1_TEST_DATA_DIR) + "/" + relativePath);
    if (!in) {
        ADD_FAILURE() << "cannot read " << relativePath;
        return table;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        auto cells = splitCsvLine(line);
        if (table.header.empty()) {
            table.header = std::move(cells);
        } else {
            cells.resize(table.header.size());
            table.rows.push_back(std::move(cells));
        }
    }
    return table;
}

} // namespace zam1::test
