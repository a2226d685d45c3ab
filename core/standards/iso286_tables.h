#pragma once
// The ISO 286-1 tables the tolerance codes are evaluated from: standard tolerances
// IT1..IT18, the magnitudes of the fundamental deviations of every letter, Δ for
// holes, and the upper deviations of j and J. All values in micrometres. The
// tables themselves live in iso286_tables.cpp; a test compares every cell with the
// reference CSV files under tests/data/iso286.

#include <array>
#include <optional>

namespace zam1::iso286 {

// The three sets of nominal-size ranges, each given by the upper limits of its
// ranges in mm. Range n (1-based) takes the classified sizes s with
// limit[n-1] <= s < limit[n]; the first range starts at 0.
enum class RangeSet { Main, IntermediateI, IntermediateII };

inline constexpr std::array<int, 21> kMainLimits{
    3, 6, 10, 18, 30, 50, 80, 120, 180, 250, 315, 400, 500, 630, 800, 1000, 1250, 1600, 2000, 2500, 3150};
inline constexpr std::array<int, 39> kIntermediateILimits{
    3,   6,   10,  18,  30,  40,  50,  65,  80,   100,  120,  140,  160,  180,  200,  225,  250,  280,  315,  355,
    400, 450, 500, 560, 630, 710, 800, 900, 1000, 1120, 1250, 1400, 1600, 1800, 2000, 2240, 2500, 2800, 3150};
inline constexpr std::array<int, 41> kIntermediateIILimits{
    3,   6,   10,  14,  18,  24,  30,  40,  50,   65,   80,   100,  120,  140,  160,  180,  200,  225,  250,  280, 315,
    355, 400, 450, 500, 560, 630, 710, 800, 900, 1000, 1120, 1250, 1400, 1600, 1800, 2000, 2240, 2500, 2800, 3150};

// Number of ranges of each set that end at or below 500 mm.
inline constexpr int kMainRangesTo500 = 13;
inline constexpr int kIntermediateIRangesTo500 = 23;
inline constexpr int kIntermediateIIRangesTo500 = 25;

// The classified sizes s of every table stay below this.
inline constexpr int kLastLimit = 3150;

// 1-based range of the classified size s (0 <= s < 3150) in a range set.
int rangeOf(RangeSet set, int classifiedSize);

// Upper limit of range n of a set, in mm.
int rangeLimit(RangeSet set, int range);
int rangeCount(RangeSet set);

// Columns of the fundamental-deviation tables: the shaft letters that have a value.
// h, j and js have none; hole letters use the shaft letter of the same name.
enum class Letter { a, b, c, cd, d, e, ef, f, fg, g, k, m, n, p, r, s, t, u, v, x, y, z, za, zb, zc };
inline constexpr int kLetterCount = 25;

// The range set the letter's table is indexed by.
RangeSet rangeSetOf(Letter letter);

// Standard tolerance IT of grade 1..18 in main range 1..21.
long double standardTolerance(int grade, int mainRange);

// Δ of holes K..ZC for grade 3..8 in main range 1..13.
long double delta(int grade, int mainRange);

// Magnitude of the fundamental deviation of a letter in a range of its set, or
// nothing where the table has no row for that range (a, b, c above 500 mm, cd, ef
// and fg above 10 mm, v..zc above 500 mm). Where ISO defines no value below a
// limit, t, v and y hold 0. k is the value for grades 4 to 7.
std::optional<int> fundamental(Letter letter, int range);

// Upper deviation of shaft j for grades 5..8, and of hole J for grades 6..8, in
// main range 1..13.
int shaftJUpper(int grade, int mainRange);
int holeJUpper(int grade, int mainRange);

// Upper deviation of hole N for grades 9 to 11 (main range 1..13), as a magnitude.
int holeNAbove8(int mainRange);

} // namespace zam1::iso286
