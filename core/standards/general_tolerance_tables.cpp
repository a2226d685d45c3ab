#include "core/standards/general_tolerance_tables.h"

#include <cmath>
#include <stdexcept>

namespace zam1::general_tables {
namespace {

struct EnDeviations {
    long double upper[6];
    long double lower[6];
};

// DIN ISO 2768-1, ±t in mm; columns up to 3, 6, 30, 120, 400, 1000, 2000, 4000 mm and above.
constexpr long double kIso2768[4][9] = {
    {0.05L, 0.05L,  0.1L, 0.15L,  0.2L,  0.3L,  0.5L,  0.8L,  0.8L},  // f
    { 0.1L,  0.1L,  0.2L,  0.3L,  0.5L,  0.8L,  1.2L,     2,     3},  // m
    { 0.2L,  0.3L,  0.5L,  0.8L,  1.2L,     2,     3,     4,     5},  // c
    { 0.5L,  0.5L,     1,  1.5L,  2.5L,     4,     6,     8,     8},  // v
};

// DIN 16901 groups 1..6 (160 .. 110): total width in mm, dimensions not mould-bound.
constexpr long double kDin16901[6][21] = {
    {0.56L, 0.6L, 0.66L, 0.74L, 0.84L, 0.98L, 1.14L, 1.32L, 1.56L, 1.88L, 2.3L, 2.8L, 3.6L, 4.4L, 5.4L, 6.6L, 8.2L, 10.2L, 12.5L, 15.8L, 20},  // 1 (160)
    {0.46L, 0.5L, 0.54L, 0.6L, 0.68L, 0.76L, 0.86L, 0.98L, 1.14L, 1.36L, 1.62L, 1.94L, 2.4L, 3, 3.6L, 4.4L, 5.6L, 6.8L, 8.6L, 10.6L, 13.2L},  // 2 (150)
    {0.4L, 0.42L, 0.44L, 0.48L, 0.54L, 0.6L, 0.68L, 0.76L, 0.86L, 1, 1.2L, 1.4L, 1.7L, 2.1L, 2.5L, 3.1L, 3.8L, 4.6L, 5.8L, 7.2L, 9},  // 3 (140)
    {0.36L, 0.38L, 0.4L, 0.42L, 0.46L, 0.5L, 0.54L, 0.6L, 0.68L, 0.76L, 0.88L, 1.02L, 1.2L, 1.5L, 1.8L, 2.2L, 2.6L, 3.2L, 3.9L, 4.9L, 6},  // 4 (130)
    {0.32L, 0.34L, 0.36L, 0.38L, 0.4L, 0.42L, 0.46L, 0.5L, 0.54L, 0.6L, 0.68L, 0.78L, 0.9L, 1.06L, 1.24L, 1.5L, 1.8L, 2.2L, 2.6L, 3.2L, 4},  // 5 (120)
    {0.18L, 0.2L, 0.22L, 0.24L, 0.26L, 0.28L, 0.3L, 0.32L, 0.36L, 0.4L, 0.44L, 0.5L, 0.58L, 0.68L, 0.8L, 0.96L, 1.16L, 1.4L, 1.7L, 2.1L, 2.6L},  // 6 (110)
};

// DIN 16901 group 7 (precision engineering): total width in mm by option, ranges 1..13.
constexpr long double kDin16901Precision[2][13] = {
    {0.1L, 0.12L, 0.14L, 0.16L, 0.2L, 0.22L, 0.24L, 0.26L, 0.28L, 0.31L, 0.35L, 0.4L, 0.5L},  // 1 (not mould-bound)
    {0.05L, 0.06L, 0.07L, 0.08L, 0.1L, 0.12L, 0.14L, 0.16L, 0.18L, 0.21L, 0.25L, 0.3L, 0.4L},  // 2 (mould-bound)
};

// DIN 6930: ±t in µm by class (fine .. very coarse) and thickness range 1..5, size ranges 1..8.
constexpr int kDin6930[4][5][8] = {
    {
        {  50,   80,  100,  100,  150,  200,  400,  800},  // 1 fine, thickness 1
        {  80,  100,  100,  150,  150,  300,  400,  800},  // 1 fine, thickness 2
        { 100,  150,  150,  200,  200,  300,  500,  800},  // 1 fine, thickness 3
        { 200,  200,  200,  300,  300,  400,  500, 1000},  // 1 fine, thickness 4
        { 400,  400,  400,  400,  400,  500,  800, 1000},  // 1 fine, thickness 5
    },
    {
        { 100,  150,  200,  250,  300,  500,  800, 1200},  // 2 medium, thickness 1
        { 150,  200,  250,  300,  400,  600,  800, 1500},  // 2 medium, thickness 2
        { 200,  250,  300,  400,  500,  600, 1000, 1500},  // 2 medium, thickness 3
        { 300,  400,  400,  500,  600,  800, 1000, 2000},  // 2 medium, thickness 4
        { 400,  400,  600,  800,  800, 1000, 1500, 2000},  // 2 medium, thickness 5
    },
    {
        { 200,  300,  400,  500,  600, 1000, 1500, 2500},  // 3 coarse, thickness 1
        { 300,  400,  500,  600,  800, 1200, 1600, 2500},  // 3 coarse, thickness 2
        { 400,  500,  600,  800, 1000, 1200, 2000, 3000},  // 3 coarse, thickness 3
        { 600,  800,  800, 1000, 1200, 1600, 2000, 4000},  // 3 coarse, thickness 4
        { 800,  800, 1000, 1200, 1600, 2000, 3000, 4000},  // 3 coarse, thickness 5
    },
    {
        { 500,  800, 1000, 1000, 1500, 1500, 2500, 4000},  // 4 very coarse, thickness 1
        { 600, 1000, 1000, 1000, 1500, 2000, 2500, 4000},  // 4 very coarse, thickness 2
        { 800, 1000, 1500, 1500, 2000, 2500, 3000, 4000},  // 4 very coarse, thickness 3
        {1200, 1500, 1500, 2000, 3000, 3000, 4000, 4000},  // 4 very coarse, thickness 4
        {1500, 1500, 2000, 3000, 3000, 3000, 4000, 4000},  // 4 very coarse, thickness 5
    },
};

// EN 12420 tool-bound dimensions: ±t in mm by material group I..III, ranges 1..6.
constexpr long double kEn12420ToolBound[3][6] = {
    {0.2L, 0.3L, 0.4L, 0.5L, 0.6L, 0.8L},  // I
    {0.3L, 0.5L, 0.6L, 0.8L, 0.9L, 1.2L},  // II
    {0.4L, 0.6L, 0.8L, 1, 1.2L, 1.6L},  // III
};

// EN 12420 dimensions not tool-bound: upper and lower deviation in mm by material
// group I..III and area range 1..6, size ranges 1..6.
constexpr EnDeviations kEn12420NotToolBound[3][6] = {
    {
        {{0.3L, 0.3L, 0.4L, 0, 0, 0}, {-0.3L, -0.3L, -0.4L, 0, 0, 0}},  // I, 1
        {{0.5L, 0.5L, 0.6L, 0.7L, 0.9L, 1.2L}, {-0.3L, -0.3L, -0.4L, -0.4L, -0.5L, -0.5L}},  // I, 2
        {{0.5L, 0.6L, 0.6L, 0.8L, 1, 1.3L}, {-0.3L, -0.3L, -0.4L, -0.5L, -0.5L, -0.6L}},  // I, 3
        {{0.7L, 0.7L, 0.7L, 0.9L, 1.1L, 1.4L}, {-0.4L, -0.4L, -0.4L, -0.5L, -0.5L, -0.6L}},  // I, 4
        {{1, 1, 1, 1, 1.2L, 1.4L}, {-0.5L, -0.5L, -0.5L, -0.5L, -0.6L, -0.7L}},  // I, 5
        {{1.6L, 1.6L, 1.6L, 1.6L, 1.6L, 1.6L}, {-0.7L, -0.7L, -0.7L, -0.7L, -0.7L, -0.7L}},  // I, 6
    },
    {
        {{0.55L, 0.55L, 0.6L, 0, 0, 0}, {-0.55L, -0.55L, -0.6L, 0, 0, 0}},  // II, 1
        {{0.75L, 0.75L, 0.9L, 1.05L, 1.35L, 1.8L}, {-0.45L, -0.45L, -0.6L, -0.6L, -0.75L, -0.75L}},  // II, 2
        {{0.75L, 0.75L, 0.9L, 1.2L, 1.5L, 1.95L}, {-0.45L, -0.45L, -0.6L, -0.75L, -0.75L, -0.9L}},  // II, 3
        {{1.05L, 1.05L, 1.05L, 1.35L, 1.65L, 2.1L}, {-0.6L, -0.6L, -0.6L, -0.75L, -0.75L, -0.9L}},  // II, 4
        {{1.5L, 1.5L, 1.5L, 1.5L, 1.8L, 2.1L}, {-0.75L, -0.75L, -0.75L, -0.75L, -0.75L, -1.05L}},  // II, 5
        {{2.4L, 2.4L, 2.4L, 2.4L, 2.4L, 2.4L}, {-1.05L, -1.05L, -1.05L, -1.05L, -1.05L, -1.05L}},  // II, 6
    },
    {
        {{0.6L, 0.6L, 0.8L, 0, 0, 0}, {-0.6L, -0.6L, -0.8L, 0, 0, 0}},  // III, 1
        {{1, 1, 1.2L, 1.4L, 1.8L, 2.4L}, {-0.6L, -0.6L, -0.8L, -0.8L, -1, -1}},  // III, 2
        {{1, 1, 1.2L, 1.6L, 2, 2.6L}, {-0.6L, -0.6L, -0.8L, -1, -1, -1.2L}},  // III, 3
        {{1.4L, 1.4L, 1.4L, 1.8L, 2.2L, 2.8L}, {-0.8L, -0.8L, -0.8L, -1, -1, -1.2L}},  // III, 4
        {{2, 2, 2, 2, 2.4L, 2.8L}, {-1, -1, -1, -1, -1, -1.4L}},  // III, 5
        {{3.2L, 3.2L, 3.2L, 3.2L, 3.2L, 3.2L}, {-1.4L, -1.4L, -1.4L, -1.4L, -1.4L, -1.4L}},  // III, 6
    },
};

// Mould-bound dimensions of DIN 16901 groups 1..6 get a narrower width.
constexpr long double kDin16901Reduction[6] = {0.2L, 0.2L, 0.2L, 0.2L, 0.2L, 0.1L};

// A wrong index is a programming error; stop rather than read beside a table.
void require(bool inside, const char* what) {
    if (!inside) throw std::out_of_range(what);
}

bool in(int value, int first, int last) { return value >= first && value <= last; }

} // namespace

long double iso2768(int classIndex, int column) {
    require(in(classIndex, 0, 3) && in(column, 1, kIso2768Columns), "DIN ISO 2768-1 cell");
    return kIso2768[classIndex][column - 1];
}

long double din16901Width(int group, int range) {
    require(in(group, 1, 6) && in(range, 1, kDin16901Ranges), "DIN 16901 cell");
    return kDin16901[group - 1][range - 1];
}

long double din16901Reduction(int group) {
    require(in(group, 1, 6), "DIN 16901 reduction");
    return kDin16901Reduction[group - 1];
}

long double din16901PrecisionWidth(int option, int range) {
    require(in(option, 1, 2) && in(range, 1, kDin16901PrecisionRanges), "DIN 16901 precision cell");
    return kDin16901Precision[option - 1][range - 1];
}

int din6930Um(int classIndex, int thickness, int range) {
    require(in(classIndex, 1, 4) && in(thickness, 1, 5) && in(range, 1, kDin6930Ranges), "DIN 6930 cell");
    return kDin6930[classIndex - 1][thickness - 1][range - 1];
}

long double en12420ToolBound(int group, int range) {
    require(in(group, 1, 3) && in(range, 1, kEn12420Ranges), "EN 12420 tool-bound cell");
    return kEn12420ToolBound[group - 1][range - 1];
}

std::pair<long double, long double> en12420NotToolBound(int group, int area, int range) {
    require(in(group, 1, 3) && in(area, 1, 6) && in(range, 1, kEn12420Ranges), "EN 12420 cell");
    const EnDeviations& row = kEn12420NotToolBound[group - 1][area - 1];
    return {row.upper[range - 1], row.lower[range - 1]};
}

int classifiedRange(long double nominalMm, std::span<const int> limits) {
    // On a limit, or up to 0.001 mm above it, a size stays in the lower range.
    const long double s = std::trunc(std::fabs(nominalMm) - 0.001L);
    int range = 1;
    for (const int limit : limits) {
        if (s < limit) return range;
        ++range;
    }
    return range;
}

} // namespace zam1::general_tables
