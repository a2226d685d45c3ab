#include <gtest/gtest.h>

#include "core/text/file_numbers.h"

namespace zam1 {
namespace {

struct NumberCase {
    long double value;
    NumberFormat format;
    const char* real;
    const char* shortForm;
};

TEST(FileNumbers, RealLineAndShortForm) {
    const NumberCase cases[] = {
        {12.5L, {3, false}, "12.5000000", "12.5"},
        {5, {3, false}, "5.0000000", "5"},
        {0.02L, {3, false}, "0.0200000", "0.02"},
        {0, {3, false}, "0", "0"},
        {-3, {3, false}, "-3", "-3"},
        {-0.05L, {3, false}, "-0.0500000", "-0.05"},
        {40, {3, false}, "40.0000000", "40"},
        {12.3456L, {3, false}, "12.3456000", "12.35"},
        {2500, {3, false}, "2500.0000000", "2500"},
        {0.3L, {3, false}, "0.3000000", "0.3"},          // 0.2999... in binary keeps no zeros
        {1e-9L, {3, false}, "0.0000000", "0"},           // not whole, but prints as zero
        {-1e-9L, {3, false}, "0.0000000", "0"},
        {0.000004L, {3, false}, "0.0000040", "0"},
        {12.5L, {3, true}, "12,5000000", "12,5"},
        {-0.05L, {3, true}, "-0,0500000", "-0,05"},
        {12.5L, {5, false}, "12.500000000", "12.500"},   // decimals 5: 9 in real lines, 2 more in short
        {-3, {5, false}, "-3.00", "-3.00"},              // whole numbers below 1 get decimals - 3
        {12.5L, {8, false}, "12.5000000000", "12.500000"}, // limited to 10
        {12.6L, {1, false}, "12.60000", "12.6"},         // decimals + 4; short keeps the digits it needs
        {0.85L, {2, false}, "0.850000", "0.85"},
        {2.5L, {2, true}, "2,500000", "2,5"},
        {12.3456L, {1, false}, "12.34560", "12.35"},      // three significant digits, as with 3
        {0.05L, {0, false}, "0.0500", "0.05"},
        {-7, {0, true}, "-7", "-7"},
    };
    for (const NumberCase& c : cases) {
        const double v = static_cast<double>(c.value);
        EXPECT_EQ(realLineText(c.value, c.format), c.real) << v << " decimals " << c.format.decimals;
        EXPECT_EQ(shortNumberText(c.value, c.format), c.shortForm) << v << " decimals " << c.format.decimals;
    }
}

} // namespace
} // namespace zam1
