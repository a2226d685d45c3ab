#pragma once
// The tables of the general-tolerance standards, in millimetres unless named
// otherwise. The values live in general_tolerance_tables.cpp.

#include <array>
#include <span>
#include <utility>

namespace zam1::general_tables {

// DIN ISO 2768-1 compares the size itself: column n takes d <= limit[n-1]; the
// ninth column takes everything above 4000 mm.
inline constexpr std::array<int, 8> kIso2768Limits{3, 6, 30, 120, 400, 1000, 2000, 4000};
inline constexpr int kIso2768Columns = 9;

// The other standards classify s = trunc(d - 0.001): range n takes s below
// limit[n-1]; the range after the last limit takes everything above it.
inline constexpr std::array<int, 20> kDin16901Limits{1,  3,  6,  10,  15,  22,  30,  40,  53,  70,
                                                     90, 120, 160, 200, 250, 315, 400, 500, 630, 800};
inline constexpr int kDin16901Ranges = 21;
inline constexpr int kDin16901PrecisionRanges = 13;
inline constexpr std::array<int, 7> kDin6930Limits{6, 10, 25, 63, 160, 400, 1000};
inline constexpr int kDin6930Ranges = 8;
inline constexpr std::array<int, 5> kEn12420Limits{20, 50, 100, 150, 200};
inline constexpr int kEn12420Ranges = 6;

// ±t of DIN ISO 2768-1 class 0..3 (f, m, c, v) in column 1..9.
long double iso2768(int classIndex, int column);

// Total width of DIN 16901 group 1..6 in range 1..21, not mould-bound, and the
// reduction of the width for mould-bound dimensions.
long double din16901Width(int group, int range);
long double din16901Reduction(int group);

// Total width of DIN 16901 group 7 (precision engineering), option 1..2, range 1..13.
long double din16901PrecisionWidth(int option, int range);

// ±t of DIN 6930 in micrometres: class 1..4, thickness range 1..5, size range 1..8.
int din6930Um(int classIndex, int thickness, int range);

// ±t of EN 12420 tool-bound dimensions: material group 1..3, range 1..6.
long double en12420ToolBound(int group, int range);

// Upper and lower deviation of EN 12420 dimensions not tool-bound: material group
// 1..3, area range 1..6, size range 1..6. A cell of 0 / 0 has no value.
std::pair<long double, long double> en12420NotToolBound(int group, int area, int range);

// The range (1-based) of a size in one of the classified tables above; a size that
// is not a number counts as above the last limit. Negative sizes go by magnitude.
int classifiedRange(long double nominalMm, std::span<const int> limits);

} // namespace zam1::general_tables
