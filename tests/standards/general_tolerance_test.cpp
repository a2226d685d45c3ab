// General tolerances: the standards' examples and range limits, what leaves an
// element alone, and the shape of every table: cell counts, and values that never
// shrink as the size grows (a dropped or mistyped value breaks one or the other).

#include <gtest/gtest.h>

#include <limits>

#include "core/model/records.h"
#include "core/standards/general_tolerance.h"
#include "core/standards/general_tolerance_tables.h"

namespace zam1 {
namespace {

namespace gt = general_tables;
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

GeneralToleranceSetting setting(std::uint16_t code, std::uint16_t option = 1, std::uint16_t rangeIndex = 1,
                                std::uint16_t group = 3) {
    GeneralToleranceSetting s;
    s.standardCode = code;
    s.option = option;
    s.rangeIndex = rangeIndex;
    s.group = group;
    return s;
}

TEST(GeneralTolerance, ExamplesAndRangeLimits) {
    const struct {
        GeneralToleranceSetting setting;
        long double nominalMm;
        long double upperMm;
        long double lowerMm;
    } cases[] = {
        {setting(kIso2768Medium), 25, 0.2L, -0.2L},
        {setting(kDin16901, 2, 1, 3), 50, 0.33L, -0.33L},   // group 140, mould-bound
        {setting(kDin6930, 2, 2), 100, 0.4L, -0.4L},        // medium, thickness range 2
        {setting(kEn12420, 2, 3, 2), 120, 1.2L, -0.75L},    // group II, not tool-bound, area 3
        {setting(kIso2768Fine), 3000, 0.8L, -0.8L},
        {setting(kIso2768Medium), 5000, 3, -3},
        {setting(kIso2768VeryCoarse), 1, 0.5L, -0.5L},
        {setting(kIso2768Coarse), 6, 0.3L, -0.3L},
        {setting(kIso2768Coarse), 6.0001L, 0.5L, -0.5L},
        {setting(kDin16901, 1, 1, 1), 1, 0.28L, -0.28L},
        {setting(kDin16901, 1, 1, 1), 1.0005L, 0.28L, -0.28L},
        {setting(kDin16901, 1, 1, 1), 1.002L, 0.3L, -0.3L},
        {setting(kDin16901, 1, 1, 1), 1e6L, 10, -10},
        {setting(kDin16901, 1, 1, 7), 300, 0.25L, -0.25L},  // precision engineering stops at range 13
        {setting(kDin6930, 1, 1), 6.002L, 0.08L, -0.08L},
        {setting(kEn12420, 1, 1, 3), 250, 1.6L, -1.6L},
        {setting(kEn12420, 2, 1, 1), 120, 0, 0},
        {setting(kDin16901, 1, 1, 1), -1.002L, 0.3L, -0.3L},  // negative sizes by magnitude
    };
    for (const auto& c : cases) {
        const auto t = generalToleranceFor(c.nominalMm, c.setting);
        const std::string what = std::to_string(c.setting.standardCode) + " at " +
                                 std::to_string(static_cast<double>(c.nominalMm));
        ASSERT_TRUE(t.has_value()) << what;
        EXPECT_NEAR(static_cast<double>(t->upperMm), static_cast<double>(c.upperMm), 1e-12) << what;
        EXPECT_NEAR(static_cast<double>(t->lowerMm), static_cast<double>(c.lowerMm), 1e-12) << what;
    }
}

TEST(ApplyGeneralTolerance, WritesTheDeviationsOrNothing) {
    Element element;
    element.distance = 25;
    EXPECT_TRUE(ApplyGeneralTolerance(element, GeneralToleranceSetting{}));  // as the program starts: class m
    EXPECT_NEAR(static_cast<double>(element.upperDev), 0.2, 1e-12);
    EXPECT_NEAR(static_cast<double>(element.lowerDev), -0.2, 1e-12);

    GeneralToleranceSetting constant = setting(kGeneralConstant);
    constant.constantUpper = 0.3L;
    constant.constantLower = 0.05L;
    element.distance = kNaN;  // the size does not matter here
    EXPECT_TRUE(ApplyGeneralTolerance(element, constant));
    EXPECT_EQ(element.upperDev, 0.3L);
    EXPECT_EQ(element.lowerDev, 0.05L);

    const GeneralToleranceSetting nothing[] = {
        setting(kGeneralNone), setting(8), setting(11),  setting(kDin16901, 1, 1, 8), setting(kDin6930, 5, 1),
        setting(kDin6930, 1, 6), setting(kEn12420, 1, 1, 4), setting(kEn12420, 3, 1, 1), setting(kEn12420, 2, 7, 1),
    };
    for (const GeneralToleranceSetting& s : nothing) {
        element.distance = 25;
        EXPECT_FALSE(ApplyGeneralTolerance(element, s)) << s.standardCode;
        EXPECT_EQ(element.upperDev, 0.3L) << s.standardCode;
        EXPECT_EQ(element.lowerDev, 0.05L) << s.standardCode;
    }
    element.distance = kNaN;
    EXPECT_FALSE(ApplyGeneralTolerance(element, setting(kIso2768Medium)));
}

// Counts the cells of rows x columns that pass `filled`, and checks that every row
// of `value` never falls as the column (the size range) grows.
template <class Value, class Filled>
int checkTable(int rows, int columns, Value value, Filled filled) {
    int count = 0;
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) {
            count += filled(r, c) ? 1 : 0;
            if (c > 1) {
                EXPECT_LE(value(r, c - 1), value(r, c)) << "row " << r << " column " << c;
            }
        }
    }
    return count;
}

TEST(GeneralToleranceTables, EveryCellFilledAndGrowingWithTheSize) {
    const auto positive = [](auto value) { return [=](int r, int c) { return value(r, c) > 0; }; };
    const auto iso2768 = [](int r, int c) { return gt::iso2768(r - 1, c); };
    EXPECT_EQ(checkTable(4, gt::kIso2768Columns, iso2768, positive(iso2768)), 4 * 9);
    const auto din16901 = [](int r, int c) { return gt::din16901Width(r, c) - gt::din16901Reduction(r); };
    EXPECT_EQ(checkTable(6, gt::kDin16901Ranges, din16901, positive(din16901)), 6 * 21);
    const auto precision = [](int r, int c) { return gt::din16901PrecisionWidth(r, c); };
    EXPECT_EQ(checkTable(2, gt::kDin16901PrecisionRanges, precision, positive(precision)), 2 * 13);
    const auto din6930 = [](int r, int c) { return gt::din6930Um((r - 1) / 5 + 1, (r - 1) % 5 + 1, c); };
    EXPECT_EQ(checkTable(4 * 5, gt::kDin6930Ranges, din6930, positive(din6930)), 4 * 5 * 8);
    const auto toolBound = [](int r, int c) { return gt::en12420ToolBound(r, c); };
    EXPECT_EQ(checkTable(3, gt::kEn12420Ranges, toolBound, positive(toolBound)), 3 * 6);
    // Not tool-bound, areas 2..6 of each group: both deviations everywhere. Area 1
    // has values up to 100 mm and 0 / 0 above.
    const auto notToolBound = [](int r, int c) { return gt::en12420NotToolBound((r - 1) / 5 + 1, (r - 1) % 5 + 2, c); };
    const auto width = [&](int r, int c) { return notToolBound(r, c).first - notToolBound(r, c).second; };
    const auto both = [&](int r, int c) { return notToolBound(r, c).first > 0 && notToolBound(r, c).second < 0; };
    EXPECT_EQ(checkTable(3 * 5, gt::kEn12420Ranges, width, both), 3 * 5 * 6);
    for (int group = 1; group <= 3; ++group) {
        for (int range = 1; range <= gt::kEn12420Ranges; ++range) {
            const auto [upper, lower] = gt::en12420NotToolBound(group, 1, range);
            EXPECT_EQ(upper > 0 && lower < 0, range <= 3) << group << "/" << range;
            EXPECT_EQ(upper == 0 && lower == 0, range > 3) << group << "/" << range;
        }
    }
}

} // namespace
} // namespace zam1
