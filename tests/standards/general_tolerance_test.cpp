// General tolerances: the standards' examples and range limits, what leaves an
// element alone, and the shape of every table (cell counts and orderings that a
// dropped or mistyped value breaks).

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "core/model/records.h"
#include "core/standards/general_tolerance.h"
#include "core/standards/general_tolerance_tables.h"

namespace zam1 {
namespace {

namespace gt = general_tables;

GeneralToleranceSetting setting(std::uint16_t code, std::uint16_t option = 1, std::uint16_t rangeIndex = 1,
                                std::uint16_t group = 3) {
    GeneralToleranceSetting s;
    s.standardCode = code;
    s.option = option;
    s.rangeIndex = rangeIndex;
    s.group = group;
    return s;
}

struct ToleranceCase {
    const char* what;
    GeneralToleranceSetting setting;
    long double nominalMm;
    long double upperMm;
    long double lowerMm;
};

TEST(GeneralTolerance, ExamplesAndRangeLimits) {
    const ToleranceCase cases[] = {
        {"2768 m", setting(kIso2768Medium), 25, 0.2L, -0.2L},
        {"16901 group 140 mould-bound", setting(kDin16901, 2, 1, 3), 50, 0.33L, -0.33L},
        {"6930 medium, thickness 2", setting(kDin6930, 2, 2), 100, 0.4L, -0.4L},
        {"12420 II not tool-bound, area 3", setting(kEn12420, 2, 3, 2), 120, 1.2L, -0.75L},
        {"2768 f far out", setting(kIso2768Fine), 3000, 0.8L, -0.8L},
        {"2768 m above 4000", setting(kIso2768Medium), 5000, 3, -3},
        {"2768 v small", setting(kIso2768VeryCoarse), 1, 0.5L, -0.5L},
        {"2768 v below 0.5", setting(kIso2768VeryCoarse), 0.2L, 0.5L, -0.5L},
        {"2768 c on 6", setting(kIso2768Coarse), 6, 0.3L, -0.3L},
        {"2768 c just above 6", setting(kIso2768Coarse), 6.0001L, 0.5L, -0.5L},
        {"16901 on 1", setting(kDin16901, 1, 1, 1), 1, 0.28L, -0.28L},
        {"16901 within 0.001 above 1", setting(kDin16901, 1, 1, 1), 1.0005L, 0.28L, -0.28L},
        {"16901 above 1", setting(kDin16901, 1, 1, 1), 1.002L, 0.3L, -0.3L},
        {"16901 above 800", setting(kDin16901, 1, 1, 1), 1e6L, 10, -10},
        {"16901 group 110 mould-bound", setting(kDin16901, 2, 1, 6), 0.5L, 0.04L, -0.04L},
        {"16901 precision at 300", setting(kDin16901, 1, 1, 7), 300, 0.25L, -0.25L},
        {"16901 precision mould-bound", setting(kDin16901, 2, 1, 7), 12, 0.05L, -0.05L},
        {"6930 fine, thickness 1, on 6", setting(kDin6930, 1, 1), 6, 0.05L, -0.05L},
        {"6930 fine, thickness 1, above 6", setting(kDin6930, 1, 1), 6.002L, 0.08L, -0.08L},
        {"6930 very coarse, thickness 5, far out", setting(kDin6930, 4, 5), 2000, 4, -4},
        {"12420 I tool-bound", setting(kEn12420, 1, 1, 1), 20, 0.2L, -0.2L},
        {"12420 III tool-bound above 200", setting(kEn12420, 1, 1, 3), 250, 1.6L, -1.6L},
        {"12420 area 1 above 100", setting(kEn12420, 2, 1, 1), 120, 0, 0},
        {"12420 III area 6", setting(kEn12420, 2, 6, 3), 10, 3.2L, -1.4L},
        {"negative size by magnitude", setting(kDin16901, 1, 1, 1), -1.002L, 0.3L, -0.3L},
        {"negative size, 2768", setting(kIso2768Medium), -25, 0.2L, -0.2L},
    };
    for (const ToleranceCase& c : cases) {
        const auto t = generalToleranceFor(c.nominalMm, c.setting);
        ASSERT_TRUE(t.has_value()) << c.what;
        EXPECT_NEAR(static_cast<double>(t->upperMm), static_cast<double>(c.upperMm), 1e-12) << c.what;
        EXPECT_NEAR(static_cast<double>(t->lowerMm), static_cast<double>(c.lowerMm), 1e-12) << c.what;
    }
}

TEST(ApplyGeneralTolerance, WritesOnlyTheDeviations) {
    Element element;
    element.distance = 25;
    element.predecessor = 4;
    element.isoLetters = "H";
    element.isoGrade = 7;
    EXPECT_TRUE(ApplyGeneralTolerance(element, GeneralToleranceSetting{}));  // as the program starts: class m
    EXPECT_NEAR(static_cast<double>(element.upperDev), 0.2, 1e-12);
    EXPECT_NEAR(static_cast<double>(element.lowerDev), -0.2, 1e-12);
    EXPECT_EQ(element.distance, 25);
    EXPECT_EQ(element.predecessor, 4);
}

TEST(ApplyGeneralTolerance, ConstantPairIsCopiedUnchanged) {
    GeneralToleranceSetting s = setting(kGeneralConstant);
    s.constantUpper = 0.3L;
    s.constantLower = 0.05L;
    Element element;
    element.distance = std::numeric_limits<long double>::quiet_NaN();  // the size plays no part
    EXPECT_TRUE(ApplyGeneralTolerance(element, s));
    EXPECT_EQ(element.upperDev, 0.3L);
    EXPECT_EQ(element.lowerDev, 0.05L);
}

TEST(ApplyGeneralTolerance, SelectionsWithoutValuesLeaveTheElementAlone) {
    const struct {
        const char* what;
        GeneralToleranceSetting setting;
        long double nominalMm;
    } cases[] = {
        {"none", setting(kGeneralNone), 25},
        {"unused code 8", setting(8), 25},
        {"code 0", setting(0), 25},
        {"code 11", setting(11), 25},
        {"16901 group 0", setting(kDin16901, 1, 1, 0), 25},
        {"16901 group 8", setting(kDin16901, 1, 1, 8), 25},
        {"6930 class 5", setting(kDin6930, 5, 1), 25},
        {"6930 thickness 0", setting(kDin6930, 1, 0), 25},
        {"6930 thickness 6", setting(kDin6930, 1, 6), 25},
        {"12420 group 4", setting(kEn12420, 1, 1, 4), 25},
        {"12420 option 3", setting(kEn12420, 3, 1, 1), 25},
        {"12420 area 7", setting(kEn12420, 2, 7, 1), 25},
        {"size not a number", setting(kIso2768Medium), std::numeric_limits<long double>::quiet_NaN()},
        {"infinite size", setting(kDin16901), std::numeric_limits<long double>::infinity()},
    };
    for (const auto& c : cases) {
        Element element;
        element.distance = c.nominalMm;
        element.upperDev = 0.7L;
        element.lowerDev = -0.4L;
        EXPECT_FALSE(ApplyGeneralTolerance(element, c.setting)) << c.what;
        EXPECT_EQ(element.upperDev, 0.7L) << c.what;
        EXPECT_EQ(element.lowerDev, -0.4L) << c.what;
    }
}

// Visits every cell of a table given as f(row, column) over rows x columns.
void forEachCell(int rows, int columns, const std::function<void(int, int)>& visit) {
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= columns; ++c) visit(r, c);
    }
}

TEST(GeneralToleranceTables, EveryCellIsFilled) {
    int count = 0;
    forEachCell(4, gt::kIso2768Columns, [&](int r, int c) { count += gt::iso2768(r - 1, c) > 0; });
    EXPECT_EQ(count, 4 * 9);
    count = 0;
    forEachCell(6, gt::kDin16901Ranges, [&](int r, int c) { count += gt::din16901Width(r, c) > gt::din16901Reduction(r); });
    EXPECT_EQ(count, 6 * 21);
    count = 0;
    forEachCell(2, gt::kDin16901PrecisionRanges, [&](int r, int c) { count += gt::din16901PrecisionWidth(r, c) > 0; });
    EXPECT_EQ(count, 2 * 13);
    count = 0;
    forEachCell(4 * 5, gt::kDin6930Ranges,
                [&](int r, int c) { count += gt::din6930Um((r - 1) / 5 + 1, (r - 1) % 5 + 1, c) > 0; });
    EXPECT_EQ(count, 4 * 5 * 8);
    count = 0;
    forEachCell(3, gt::kEn12420Ranges, [&](int r, int c) { count += gt::en12420ToolBound(r, c) > 0; });
    EXPECT_EQ(count, 3 * 6);
    // Not tool-bound: only the smallest area has no value above 100 mm (0 / 0).
    int filled = 0;
    int empty = 0;
    forEachCell(3 * 6, gt::kEn12420Ranges, [&](int r, int c) {
        const auto [upper, lower] = gt::en12420NotToolBound((r - 1) / 6 + 1, (r - 1) % 6 + 1, c);
        filled += upper > 0 && lower < 0;
        empty += upper == 0 && lower == 0 && (r - 1) % 6 == 0 && c >= 4;
    });
    EXPECT_EQ(filled, 3 * 6 * 6 - 9);
    EXPECT_EQ(empty, 9);
}

// Larger sizes, coarser classes, thicker sheet and larger areas never get a
// narrower tolerance; the plastics groups narrow from 160 to 110.
TEST(GeneralToleranceTables, ValuesGrowAsTheStandardsDo) {
    forEachCell(4, gt::kIso2768Columns - 1, [](int r, int c) {
        EXPECT_LE(gt::iso2768(r - 1, c), gt::iso2768(r - 1, c + 1)) << "2768 class " << r << " column " << c;
        if (r < 4) {
            EXPECT_LE(gt::iso2768(r - 1, c), gt::iso2768(r, c)) << "2768 class " << r << " column " << c;
        }
    });
    forEachCell(6, gt::kDin16901Ranges - 1, [](int r, int c) {
        EXPECT_LE(gt::din16901Width(r, c), gt::din16901Width(r, c + 1)) << "16901 group " << r << " range " << c;
        if (r < 6) {
            EXPECT_GT(gt::din16901Width(r, c), gt::din16901Width(r + 1, c)) << "16901 group " << r;
        }
    });
    forEachCell(1, gt::kDin16901PrecisionRanges - 1, [](int, int c) {
        EXPECT_LE(gt::din16901PrecisionWidth(1, c), gt::din16901PrecisionWidth(1, c + 1)) << c;
        EXPECT_LE(gt::din16901PrecisionWidth(2, c), gt::din16901PrecisionWidth(2, c + 1)) << c;
        EXPECT_GT(gt::din16901PrecisionWidth(1, c), gt::din16901PrecisionWidth(2, c)) << c;
    });
    for (int cls = 1; cls <= 4; ++cls) {
        forEachCell(5, gt::kDin6930Ranges, [&](int th, int c) {
            const int v = gt::din6930Um(cls, th, c);
            if (c < gt::kDin6930Ranges) {
                EXPECT_LE(v, gt::din6930Um(cls, th, c + 1)) << cls << "/" << th << "/" << c;
            }
            if (th < 5) {
                EXPECT_LE(v, gt::din6930Um(cls, th + 1, c)) << cls << "/" << th << "/" << c;
            }
            if (cls < 4) {
                EXPECT_LE(v, gt::din6930Um(cls + 1, th, c)) << cls << "/" << th << "/" << c;
            }
        });
    }
    forEachCell(3, gt::kEn12420Ranges - 1, [](int g, int c) {
        EXPECT_LT(gt::en12420ToolBound(g, c), gt::en12420ToolBound(g, c + 1)) << g << "/" << c;
    });
    for (int g = 1; g <= 3; ++g) {
        forEachCell(6, gt::kEn12420Ranges, [&](int area, int c) {
            const auto [upper, lower] = gt::en12420NotToolBound(g, area, c);
            EXPECT_GE(upper, -lower) << g << "/" << area << "/" << c;
            if (area == 1) return;
            if (c < gt::kEn12420Ranges) {
                const auto [nextUpper, nextLower] = gt::en12420NotToolBound(g, area, c + 1);
                EXPECT_LE(upper, nextUpper) << g << "/" << area << "/" << c;
                EXPECT_GE(lower, nextLower) << g << "/" << area << "/" << c;
            }
            if (area < 6) {
                EXPECT_LE(upper, gt::en12420NotToolBound(g, area + 1, c).first) << g << "/" << area;
            }
            if (g < 3) {
                EXPECT_LE(upper, gt::en12420NotToolBound(g + 1, area, c).first) << g << "/" << area;
            }
        });
    }
}

} // namespace
} // namespace zam1
