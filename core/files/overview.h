#pragma once
// The overview of a folder of projects: one row per project file with its
// drawing name and number, its counts and the first closing dimension's values,
// so that a user finds a chain by its key results. Each file is read into a
// project of its own; the open project is never touched.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/text/number_format.h"

namespace zam1 {

class Desktop;

inline constexpr int kOverviewColumns = 12;

// "File", "Date  y/m/d", "Name", "No", "n elem", "n crit", "el.->", "el.", "nom", "min", "max", "ave".
const std::array<std::string_view, kOverviewColumns>& overviewHeadings();

// Columns 4 to 11 hold numbers and sort by value; the others sort as text.
bool overviewColumnIsNumeric(int column);

struct OverviewRow {
    std::array<std::string, kOverviewColumns> cells; // stored code page, as every text of a project
    std::string path;                                // the file, file-system text
    bool readable = false;                           // false: only name and date are filled in
};

struct OverviewScan {
    std::vector<OverviewRow> rows;
    bool cancelled = false;  // the user stopped the scan; the rows read so far are kept
};

// Reads every "*.zm1" file (any case) of `folder` in name order. An unreadable
// file gives a row with its name and date and blanks; a first closing dimension
// that cannot be resolved leaves its six cells blank; neither ends the scan.
// Lengths print with `numbers` (configured decimals and separator). Progress goes
// to the desktop after every file; the user may stop there.
OverviewScan scanOverview(const std::string& folder, const NumberFormat& numbers, Desktop& desktop);

// Sorts whole rows by one column, ascending; numbers by value (blanks last),
// texts by their characters. Rows that compare equal keep their order.
void sortOverview(std::vector<OverviewRow>& rows, int column);

// "ZAM1" + two blanks + the folder.
std::string overviewCaption(const std::string& folder);

} // namespace zam1
