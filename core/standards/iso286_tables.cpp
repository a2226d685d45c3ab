#include "core/standards/iso286_tables.h"

#include <algorithm>
#include <span>
#include <stdexcept>

// ISO 286-1 values in micrometres. Rows are ranges (over..up to, mm), columns as
// named in the comment above each table. Fine grades carry their decimal values.

namespace zam1::iso286 {
namespace {

// Standard tolerances, main ranges 1..21, grades 1..18.
constexpr long double kIt[21][18] = {
    //  IT1   IT2   IT3   IT4   IT5   IT6   IT7   IT8   IT9  IT10  IT11  IT12  IT13  IT14  IT15  IT16  IT17  IT18
    {0.8L, 1.2L,    2,    3,    4,    6,   10,   14,   25,   40,   60,  100,  140,  250,  400,  600, 1000, 1400},  // 0..3
    {   1, 1.5L, 2.5L,    4,    5,    8,   12,   18,   30,   48,   75,  120,  180,  300,  480,  750, 1200, 1800},  // 3..6
    {   1, 1.5L, 2.5L,    4,    6,    9,   15,   22,   36,   58,   90,  150,  220,  360,  580,  900, 1500, 2200},  // 6..10
    {1.2L,    2,    3,    5,    8,   11,   18,   27,   43,   70,  110,  180,  270,  430,  700, 1100, 1800, 2700},  // 10..18
    {1.5L, 2.5L,    4,    6,    9,   13,   21,   33,   52,   84,  130,  210,  330,  520,  840, 1300, 2100, 3300},  // 18..30
    {1.5L, 2.5L,    4,    7,   11,   16,   25,   39,   62,  100,  160,  250,  390,  620, 1000, 1600, 2500, 3900},  // 30..50
    {   2,    3,    5,    8,   13,   19,   30,   46,   74,  120,  190,  300,  460,  740, 1200, 1900, 3000, 4600},  // 50..80
    {2.5L,    4,    6,   10,   15,   22,   35,   54,   87,  140,  220,  350,  540,  870, 1400, 2200, 3500, 5400},  // 80..120
    {3.5L,    5,    8,   12,   18,   25,   40,   63,  100,  160,  250,  400,  630, 1000, 1600, 2500, 4000, 6300},  // 120..180
    {4.5L,    7,   10,   14,   20,   29,   46,   72,  115,  185,  290,  460,  720, 1150, 1850, 2900, 4600, 7200},  // 180..250
    {   6,    8,   12,   16,   23,   32,   52,   81,  130,  210,  320,  520,  810, 1300, 2100, 3200, 5200, 8100},  // 250..315
    {   7,    9,   13,   18,   25,   36,   57,   89,  140,  230,  360,  570,  890, 1400, 2300, 3600, 5700, 8900},  // 315..400
    {   8,   10,   15,   20,   27,   40,   63,   97,  155,  250,  400,  630,  970, 1550, 2500, 4000, 6300, 9700},  // 400..500
    {   9,   11,   16,   22,   32,   44,   70,  110,  175,  280,  440,  700, 1100, 1750, 2800, 4400, 7000, 11000},  // 500..630
    {  10,   13,   18,   25,   36,   50,   80,  125,  200,  320,  500,  800, 1250, 2000, 3200, 5000, 8000, 12500},  // 630..800
    {  11,   15,   21,   28,   40,   56,   90,  140,  230,  360,  560,  900, 1400, 2300, 3600, 5600, 9000, 14000},  // 800..1000
    {  13,   18,   24,   33,   47,   66,  105,  165,  260,  420,  660, 1050, 1650, 2600, 4200, 6600, 10500, 16500},  // 1000..1250
    {  15,   21,   29,   39,   55,   78,  125,  195,  310,  500,  780, 1250, 1950, 3100, 5000, 7800, 12500, 19500},  // 1250..1600
    {  18,   25,   35,   46,   65,   92,  150,  230,  370,  600,  920, 1500, 2300, 3700, 6000, 9200, 15000, 23000},  // 1600..2000
    {  22,   30,   41,   55,   78,  110,  175,  280,  440,  700, 1100, 1750, 2800, 4400, 7000, 11000, 17500, 28000},  // 2000..2500
    {  26,   36,   50,   68,   96,  135,  210,  330,  540,  860, 1350, 2100, 3300, 5400, 8600, 13500, 21000, 33000},  // 2500..3150
};

// Δ for holes K..ZC, main ranges 1..13, grades 3..8.
constexpr long double kDelta[13][6] = {
    // delta3  delta4  delta5  delta6  delta7  delta8
    {   0,    0,    0,    0,    0,    0},  // 0..3
    {   1, 1.5L,    1,    3,    4,    6},  // 3..6
    {   1, 1.5L,    2,    3,    6,    7},  // 6..10
    {   1,    2,    3,    3,    7,    9},  // 10..18
    {1.5L,    2,    3,    4,    8,   12},  // 18..30
    {1.5L,    3,    4,    5,    9,   14},  // 30..50
    {   2,    3,    5,    6,   11,   16},  // 50..80
    {   2,    4,    5,    7,   13,   19},  // 80..120
    {   3,    4,    6,    7,   15,   23},  // 120..180
    {   3,    4,    6,    9,   17,   26},  // 180..250
    {   4,    4,    7,    9,   20,   29},  // 250..315
    {   4,    5,    7,   11,   21,   32},  // 315..400
    {   5,    5,    7,   13,   23,   34},  // 400..500
};

// Letters on the main ranges 1..21; k is the value for grades 4 to 7.
constexpr int kMain[21][8] = {
    //    d     e     f     g  k4_7     m     n     p
    {  20,   14,    6,    2,    0,    2,    4,    6},  // 0..3
    {  30,   20,   10,    4,    1,    4,    8,   12},  // 3..6
    {  40,   25,   13,    5,    1,    6,   10,   15},  // 6..10
    {  50,   32,   16,    6,    1,    7,   12,   18},  // 10..18
    {  65,   40,   20,    7,    2,    8,   15,   22},  // 18..30
    {  80,   50,   25,    9,    2,    9,   17,   26},  // 30..50
    { 100,   60,   30,   10,    2,   11,   20,   32},  // 50..80
    { 120,   72,   36,   12,    3,   13,   23,   37},  // 80..120
    { 145,   85,   43,   14,    3,   15,   27,   43},  // 120..180
    { 170,  100,   50,   15,    4,   17,   31,   50},  // 180..250
    { 190,  110,   56,   17,    4,   20,   34,   56},  // 250..315
    { 210,  125,   62,   18,    4,   21,   37,   62},  // 315..400
    { 230,  135,   68,   20,    5,   23,   40,   68},  // 400..500
    { 260,  145,   76,   22,    0,   26,   44,   78},  // 500..630
    { 290,  160,   80,   24,    0,   30,   50,   88},  // 630..800
    { 320,  170,   86,   26,    0,   34,   56,  100},  // 800..1000
    { 350,  195,   98,   28,    0,   40,   66,  120},  // 1000..1250
    { 390,  220,  110,   30,    0,   48,   78,  140},  // 1250..1600
    { 430,  240,  120,   32,    0,   58,   92,  170},  // 1600..2000
    { 480,  260,  130,   34,    0,   68,  110,  195},  // 2000..2500
    { 520,  290,  145,   38,    0,   76,  135,  240},  // 2500..3150
};

// The in-between letters exist only up to 10 mm (main ranges 1..3).
constexpr int kCdEfFg[3][3] = {
    //   cd    ef    fg
    {  34,   10,    4},  // 0..3
    {  46,   14,    6},  // 3..6
    {  56,   18,    8},  // 6..10
};

// a, b and c end at 500 mm (intermediate ranges I 1..23).
constexpr int kAbc[23][3] = {
    //    a     b     c
    { 270,  140,   60},  // 0..3
    { 270,  140,   70},  // 3..6
    { 280,  150,   80},  // 6..10
    { 290,  150,   95},  // 10..18
    { 300,  160,  110},  // 18..30
    { 310,  170,  120},  // 30..40
    { 320,  180,  130},  // 40..50
    { 340,  190,  140},  // 50..65
    { 360,  200,  150},  // 65..80
    { 380,  220,  170},  // 80..100
    { 410,  240,  180},  // 100..120
    { 460,  260,  200},  // 120..140
    { 520,  280,  210},  // 140..160
    { 580,  310,  230},  // 160..180
    { 660,  340,  240},  // 180..200
    { 740,  380,  260},  // 200..225
    { 820,  420,  280},  // 225..250
    { 920,  480,  300},  // 250..280
    {1050,  540,  330},  // 280..315
    {1200,  600,  360},  // 315..355
    {1350,  680,  400},  // 355..400
    {1500,  760,  440},  // 400..450
    {1650,  840,  480},  // 450..500
};

// r and s on the intermediate ranges I 1..39.
constexpr int kRs[39][2] = {
    //    r     s
    {  10,   14},  // 0..3
    {  15,   19},  // 3..6
    {  19,   23},  // 6..10
    {  23,   28},  // 10..18
    {  28,   35},  // 18..30
    {  34,   43},  // 30..40
    {  34,   43},  // 40..50
    {  41,   53},  // 50..65
    {  43,   59},  // 65..80
    {  51,   71},  // 80..100
    {  54,   79},  // 100..120
    {  63,   92},  // 120..140
    {  65,  100},  // 140..160
    {  68,  108},  // 160..180
    {  77,  122},  // 180..200
    {  80,  130},  // 200..225
    {  84,  140},  // 225..250
    {  94,  158},  // 250..280
    {  98,  170},  // 280..315
    { 108,  190},  // 315..355
    { 114,  208},  // 355..400
    { 126,  232},  // 400..450
    { 132,  252},  // 450..500
    { 150,  280},  // 500..560
    { 155,  310},  // 560..630
    { 175,  340},  // 630..710
    { 185,  380},  // 710..800
    { 210,  430},  // 800..900
    { 220,  470},  // 900..1000
    { 250,  520},  // 1000..1120
    { 260,  580},  // 1120..1250
    { 300,  640},  // 1250..1400
    { 330,  720},  // 1400..1600
    { 370,  820},  // 1600..1800
    { 400,  920},  // 1800..2000
    { 440, 1000},  // 2000..2240
    { 460, 1100},  // 2240..2500
    { 550, 1250},  // 2500..2800
    { 580, 1400},  // 2800..3150
};

// t and u on the intermediate ranges II 1..41; ISO defines t only above 24 mm.
constexpr int kTu[41][2] = {
    //    t     u
    {   0,   18},  // 0..3
    {   0,   23},  // 3..6
    {   0,   28},  // 6..10
    {   0,   33},  // 10..14
    {   0,   33},  // 14..18
    {   0,   41},  // 18..24
    {  41,   48},  // 24..30
    {  48,   60},  // 30..40
    {  54,   70},  // 40..50
    {  66,   87},  // 50..65
    {  75,  102},  // 65..80
    {  91,  124},  // 80..100
    { 104,  144},  // 100..120
    { 122,  170},  // 120..140
    { 134,  190},  // 140..160
    { 146,  210},  // 160..180
    { 166,  236},  // 180..200
    { 180,  258},  // 200..225
    { 196,  284},  // 225..250
    { 218,  315},  // 250..280
    { 240,  350},  // 280..315
    { 268,  390},  // 315..355
    { 294,  435},  // 355..400
    { 330,  490},  // 400..450
    { 360,  540},  // 450..500
    { 400,  600},  // 500..560
    { 450,  660},  // 560..630
    { 500,  740},  // 630..710
    { 560,  840},  // 710..800
    { 620,  940},  // 800..900
    { 680, 1050},  // 900..1000
    { 780, 1150},  // 1000..1120
    { 840, 1300},  // 1120..1250
    { 960, 1450},  // 1250..1400
    {1050, 1600},  // 1400..1600
    {1200, 1850},  // 1600..1800
    {1350, 2000},  // 1800..2000
    {1500, 2300},  // 2000..2240
    {1650, 2500},  // 2240..2500
    {1900, 2900},  // 2500..2800
    {2100, 3200},  // 2800..3150
};

// v..zc end at 500 mm (intermediate ranges II 1..25); v starts above 14 mm, y above 18 mm.
constexpr int kVToZc[25][7] = {
    //    v     x     y     z    za    zb    zc
    {   0,   20,    0,   26,   32,   40,   60},  // 0..3
    {   0,   28,    0,   35,   42,   50,   80},  // 3..6
    {   0,   34,    0,   42,   52,   67,   97},  // 6..10
    {   0,   40,    0,   50,   64,   90,  130},  // 10..14
    {  39,   45,    0,   60,   77,  108,  150},  // 14..18
    {  47,   54,   63,   73,   98,  136,  188},  // 18..24
    {  55,   64,   75,   88,  118,  160,  218},  // 24..30
    {  68,   80,   94,  112,  148,  200,  274},  // 30..40
    {  81,   97,  114,  136,  180,  242,  325},  // 40..50
    { 102,  122,  144,  172,  226,  300,  405},  // 50..65
    { 120,  146,  174,  210,  274,  360,  480},  // 65..80
    { 146,  178,  214,  258,  335,  445,  585},  // 80..100
    { 172,  210,  254,  310,  400,  525,  690},  // 100..120
    { 202,  248,  300,  365,  470,  620,  800},  // 120..140
    { 228,  280,  340,  415,  535,  700,  900},  // 140..160
    { 252,  310,  380,  465,  600,  780, 1000},  // 160..180
    { 284,  350,  425,  520,  670,  880, 1150},  // 180..200
    { 310,  385,  470,  575,  740,  960, 1250},  // 200..225
    { 340,  425,  520,  640,  820, 1050, 1350},  // 225..250
    { 385,  475,  580,  710,  920, 1200, 1550},  // 250..280
    { 425,  525,  650,  790, 1000, 1300, 1700},  // 280..315
    { 475,  590,  730,  900, 1150, 1500, 1900},  // 315..355
    { 530,  660,  820, 1000, 1300, 1650, 2100},  // 355..400
    { 595,  740,  920, 1100, 1450, 1850, 2400},  // 400..450
    { 660,  820, 1000, 1250, 1600, 2100, 2600},  // 450..500
};

// Upper deviation of hole J, main ranges 1..13, grades 6..8.
constexpr int kJHole[13][3] = {
    // J6_ES  J7_ES  J8_ES
    {   2,    4,    6},  // 0..3
    {   5,    6,   10},  // 3..6
    {   5,    8,   12},  // 6..10
    {   6,   10,   15},  // 10..18
    {   8,   12,   20},  // 18..30
    {  10,   14,   24},  // 30..50
    {  13,   18,   28},  // 50..80
    {  16,   22,   34},  // 80..120
    {  18,   26,   41},  // 120..180
    {  22,   30,   47},  // 180..250
    {  25,   36,   55},  // 250..315
    {  29,   39,   60},  // 315..400
    {  33,   43,   66},  // 400..500
};

// Upper deviation of shaft j, main ranges 1..13, grades 5..8. ISO 286-2 prints j8
// only up to 3 mm; above that the program has always used the j7 values, and
// existing projects rely on them.
constexpr int kJShaft[13][4] = {
    //  j5    j6    j7    j8
    {    2,    4,    6,    8},  // 0..3
    {    3,    6,    8,    8},  // 3..6
    {    4,    7,   10,   10},  // 6..10
    {    5,    8,   12,   12},  // 10..18
    {    5,    9,   13,   13},  // 18..30
    {    6,   11,   15,   15},  // 30..50
    {    6,   12,   18,   18},  // 50..80
    {    6,   13,   20,   20},  // 80..120
    {    7,   14,   22,   22},  // 120..180
    {    7,   16,   25,   25},  // 180..250
    {    7,   16,   26,   26},  // 250..315
    {    7,   18,   29,   29},  // 315..400
    {    7,   20,   31,   31},  // 400..500
};

// Hole N above grade 8 sits at -4 µm up to 3 mm and at 0 above.
constexpr int kNAbove8[13] = {4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

enum class Table { Abc, CdEfFg, Main, Rs, Tu, VToZc };

struct Column {
    RangeSet set;
    Table table;
    int column;
    int rows;  // ranges the table covers
};

Column columnOf(Letter letter) {
    switch (letter) {
    case Letter::a: return {RangeSet::IntermediateI, Table::Abc, 0, 23};
    case Letter::b: return {RangeSet::IntermediateI, Table::Abc, 1, 23};
    case Letter::c: return {RangeSet::IntermediateI, Table::Abc, 2, 23};
    case Letter::cd: return {RangeSet::Main, Table::CdEfFg, 0, 3};
    case Letter::d: return {RangeSet::Main, Table::Main, 0, 21};
    case Letter::e: return {RangeSet::Main, Table::Main, 1, 21};
    case Letter::ef: return {RangeSet::Main, Table::CdEfFg, 1, 3};
    case Letter::f: return {RangeSet::Main, Table::Main, 2, 21};
    case Letter::fg: return {RangeSet::Main, Table::CdEfFg, 2, 3};
    case Letter::g: return {RangeSet::Main, Table::Main, 3, 21};
    case Letter::k: return {RangeSet::Main, Table::Main, 4, 21};
    case Letter::m: return {RangeSet::Main, Table::Main, 5, 21};
    case Letter::n: return {RangeSet::Main, Table::Main, 6, 21};
    case Letter::p: return {RangeSet::Main, Table::Main, 7, 21};
    case Letter::r: return {RangeSet::IntermediateI, Table::Rs, 0, 39};
    case Letter::s: return {RangeSet::IntermediateI, Table::Rs, 1, 39};
    case Letter::t: return {RangeSet::IntermediateII, Table::Tu, 0, 41};
    case Letter::u: return {RangeSet::IntermediateII, Table::Tu, 1, 41};
    case Letter::v: return {RangeSet::IntermediateII, Table::VToZc, 0, 25};
    case Letter::x: return {RangeSet::IntermediateII, Table::VToZc, 1, 25};
    case Letter::y: return {RangeSet::IntermediateII, Table::VToZc, 2, 25};
    case Letter::z: return {RangeSet::IntermediateII, Table::VToZc, 3, 25};
    case Letter::za: return {RangeSet::IntermediateII, Table::VToZc, 4, 25};
    case Letter::zb: return {RangeSet::IntermediateII, Table::VToZc, 5, 25};
    case Letter::zc: return {RangeSet::IntermediateII, Table::VToZc, 6, 25};
    }
    throw std::logic_error("iso286: unknown letter column");
}

int cell(const Column& c, int row) {
    switch (c.table) {
    case Table::Abc: return kAbc[row][c.column];
    case Table::CdEfFg: return kCdEfFg[row][c.column];
    case Table::Main: return kMain[row][c.column];
    case Table::Rs: return kRs[row][c.column];
    case Table::Tu: return kTu[row][c.column];
    case Table::VToZc: return kVToZc[row][c.column];
    }
    throw std::logic_error("iso286: unknown table");
}

std::span<const int> limitsOf(RangeSet set) {
    switch (set) {
    case RangeSet::Main: return kMainLimits;
    case RangeSet::IntermediateI: return kIntermediateILimits;
    case RangeSet::IntermediateII: return kIntermediateIILimits;
    }
    throw std::logic_error("iso286: unknown range set");
}

// A wrong index is a programming error; stop rather than read beside a table.
void require(bool inside, const char* what) {
    if (!inside) throw std::out_of_range(what);
}

} // namespace

int rangeCount(RangeSet set) { return static_cast<int>(limitsOf(set).size()); }

int rangeOf(RangeSet set, int classifiedSize) {
    const auto limits = limitsOf(set);
    require(classifiedSize >= 0 && classifiedSize < limits.back(), "iso286: size outside the tables");
    const auto it = std::upper_bound(limits.begin(), limits.end(), classifiedSize);
    return static_cast<int>(it - limits.begin()) + 1;
}

int rangeLimit(RangeSet set, int range) {
    const auto limits = limitsOf(set);
    require(range >= 1 && range <= static_cast<int>(limits.size()), "iso286: range outside its set");
    return limits[static_cast<std::size_t>(range - 1)];
}

RangeSet rangeSetOf(Letter letter) { return columnOf(letter).set; }

long double standardTolerance(int grade, int mainRange) {
    require(grade >= 1 && grade <= 18 && mainRange >= 1 && mainRange <= 21, "iso286: IT outside the table");
    return kIt[mainRange - 1][grade - 1];
}

long double delta(int grade, int mainRange) {
    require(grade >= 3 && grade <= 8 && mainRange >= 1 && mainRange <= kMainRangesTo500,
            "iso286: delta outside the table");
    return kDelta[mainRange - 1][grade - 3];
}

std::optional<int> fundamental(Letter letter, int range) {
    const Column column = columnOf(letter);
    require(range >= 1 && range <= rangeCount(column.set), "iso286: range outside its set");
    if (range > column.rows) return std::nullopt;
    return cell(column, range - 1);
}

int shaftJUpper(int grade, int mainRange) {
    require(grade >= 5 && grade <= 8 && mainRange >= 1 && mainRange <= kMainRangesTo500,
            "iso286: j outside the table");
    return kJShaft[mainRange - 1][grade - 5];
}

int holeJUpper(int grade, int mainRange) {
    require(grade >= 6 && grade <= 8 && mainRange >= 1 && mainRange <= kMainRangesTo500,
            "iso286: J outside the table");
    return kJHole[mainRange - 1][grade - 6];
}

int holeNAbove8(int mainRange) {
    require(mainRange >= 1 && mainRange <= kMainRangesTo500, "iso286: N outside the table");
    return kNAbove8[mainRange - 1];
}

} // namespace zam1::iso286
