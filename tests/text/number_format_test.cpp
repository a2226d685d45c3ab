#include <gtest/gtest.h>

#include <clocale>
#include <locale>

#include "core/text/number_format.h"

namespace zam1 {
namespace {

struct FixedCase {
    long double value;
    int integerPlaces;
    int decimals;
    NumberFormat format;
    const char* expected;
};

TEST(FixedNumber, FollowsTheReportRule) {
    const FixedCase cases[] = {
        {1.5L, 5, 3, {3, false}, "    1.500"},
        {1.5L, 5, 3, {5, false}, "    1.50000"},     // decimals setting 5 adds two places
        {1.5L, 5, 3, {1, false}, "    1.5"},         // setting 1 takes two away
        {7.25L, 2, 1, {0, false}, " 7"},             // d below 0 is 0: padded to n only
        {1.0L / 3, 2, 5, {12, false}, " 0.3333333333"}, // d limited to 10
        {1e-9L, 5, 3, {3, false}, "    0.000"},
        {-1e-9L, 5, 3, {3, false}, "    0.000"},     // no "-0.000" for a vanishing value
        {123456.789L, 2, 3, {3, false}, "123456.789"}, // too long: never cut
        {-12.5L, 5, 3, {3, true}, "  -12,500"},
        {99.99997L, 2, 5, {3, false}, "99.99997"},
        {0.00003L, 2, 5, {3, false}, " 0.00003"},
    };
    for (const FixedCase& c : cases) {
        EXPECT_EQ(fixedNumber(c.value, c.integerPlaces, c.decimals, c.format), c.expected)
            << "value " << static_cast<double>(c.value) << " decimals setting " << c.format.decimals;
    }
}

TEST(LengthField, KeepsItsWidthWhateverTheDecimals) {
    EXPECT_EQ(lengthField(12.5L, 4, {3, false}), "  12.500");
    EXPECT_EQ(lengthField(12.5L, 4, {5, false}), "12.50000");
    EXPECT_EQ(lengthField(12.5L, 4, {1, false}), "    12.5");
    EXPECT_EQ(lengthField(-0.1L, 2, {3, true}), "-0,100");
    EXPECT_EQ(lengthField(12.6L, 4, {0, false}), "     13");  // no decimals: no point either
}

TEST(AutoNumber, ThreeSignificantDigitsWithoutTrailingZeros) {
    const std::pair<long double, const char*> cases[] = {
        {0, "0"},        {0.000001L, "0"}, {-0.000009L, "0"}, {25.4L, "25.4"},   {0.1L, "0.1"},
        {100, "100"},    {1234.6L, "1235"}, {0.012345L, "0.0123"}, {-0.05L, "-0.05"}, {2.5L, "2.5"},
        {0.00001L, "0.00001"}, {3, "3"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(autoNumber(value), expected) << static_cast<double>(value);
    }
    EXPECT_EQ(autoNumber(12.3456L, {3, false}, 6), "12.3456");
    EXPECT_EQ(autoNumber(-0.25L, {3, true}), "-0,25");
    EXPECT_EQ(signedAutoNumber(0.05L), "+0.05");
    EXPECT_EQ(signedAutoNumber(-0.05L), "-0.05");
    EXPECT_EQ(signedAutoNumber(0), "0");
}

TEST(TolerancePair, AsTheReportsShowDeviations) {
    const std::string pm = plusMinusSign(false);
    EXPECT_EQ(pm, "+/-");
    EXPECT_EQ(plusMinusSign(true), " \xF1 ");
    EXPECT_EQ(tolerancePair(-0.1L, 0.1L, pm), "+/-0.1");
    EXPECT_EQ(tolerancePair(0, 0, pm), "");
    EXPECT_EQ(tolerancePair(0, 0.2L, pm), "+0.2");
    EXPECT_EQ(tolerancePair(-0.1L, 0, pm), "-0.1");
    EXPECT_EQ(tolerancePair(-0.2L, 0.1L, pm), "+0.1/-0.2");
    EXPECT_EQ(tolerancePair(0.1L, 0.3L, pm), "+0.3/+0.1");
    EXPECT_EQ(tolerancePair(-0.05004L, 0.05L, plusMinusSign(true)), " \xF1 0.05");  // sum below 1e-4
}

TEST(TextHelpers, PadAndCut) {
    EXPECT_EQ(intText(-42), "-42");
    EXPECT_EQ(intRight(42, 5), "   42");
    EXPECT_EQ(intRight(123456, 3), "123456");
    EXPECT_EQ(intZero(7, 3), "007");
    EXPECT_EQ(textLeft("abc", 5), "abc  ");
    EXPECT_EQ(textLeft("abcdef", 3), "abc");
    EXPECT_EQ(textRight("  ab  ", 4), "  ab");
    EXPECT_EQ(textRight("abcdef", 3), "abc");
    EXPECT_EQ(unitLabel(true), "in");
    EXPECT_EQ(unitLabel(false), "mm");
}

TEST(ParseNumber, AcceptsCommaAndRejectsRubbish) {
    const std::pair<const char*, long double> good[] = {
        {"1,5", 1.5L}, {" -2.25 ", -2.25L}, {"+3", 3}, {"1e2", 100}, {"0", 0}, {".5", 0.5L}, {"5.", 5}};
    for (const auto& [text, expected] : good) {
        long double v = -999;
        EXPECT_TRUE(parseNumber(text, v)) << text;
        EXPECT_EQ(v, expected) << text;
    }
    for (const char* bad : {"", "   ", "abc", "1.2.3", "1,2,3", "--1", "+-1", "12mm", "-"}) {
        long double v = 7;
        EXPECT_FALSE(parseNumber(bad, v)) << bad;
        EXPECT_EQ(v, 7) << bad;
    }
    EXPECT_EQ(numberOrZero("kaputt"), 0);
    long long i = 0;
    EXPECT_TRUE(parseInteger(" -12 ", i));
    EXPECT_EQ(i, -12);
    EXPECT_FALSE(parseInteger("12.5", i));
    EXPECT_FALSE(parseInteger("99999999999999999999", i));
}

// A reader must tell a typo from a number it cannot hold: the first may read as
// 0 where the format says so, the second must be refused, never become 0.
TEST(NumberFormat, ReadNumberTellsATypoFromANumberTooLarge) {
    struct Row {
        std::string text;
        NumberReading reading;
    };
    const Row rows[] = {
        {"1O.5", NumberReading::NotANumber}, {"inf", NumberReading::NotANumber}, {"-nan", NumberReading::NotANumber},
        {"Infinity", NumberReading::NotANumber}, {"1e5000", NumberReading::OutOfRange},
        {"-1e5000", NumberReading::OutOfRange}, {"1" + std::string(409, '0'), NumberReading::OutOfRange},
        {std::string(401, 'x'), NumberReading::NotANumber}, {"1e400", NumberReading::Read},
        {" 12,5 ", NumberReading::Read},
    };
    for (const Row& row : rows) {
        long double v = 7;
        EXPECT_EQ(readNumber(row.text, v), row.reading) << row.text.substr(0, 20);
        if (row.reading != NumberReading::Read) {
            EXPECT_EQ(v, 7) << row.text.substr(0, 20);
        }
    }
}

// A German numeric locale must change nothing: the comma comes from the setting only.
TEST(NumberFormatLocale, GermanLocaleChangesNothing) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 missing: run scripts/bootstrap";
    const std::locale before = std::locale::global(std::locale("de_DE.UTF-8"));

    EXPECT_EQ(fixedNumber(1234.5L, 5, 3, {}), " 1234.500");
    EXPECT_EQ(autoNumber(0.25L), "0.25");
    EXPECT_EQ(tolerancePair(-0.2L, 0.1L, "+/-"), "+0.1/-0.2");
    long double v = 0;
    EXPECT_TRUE(parseNumber("1.5", v));
    EXPECT_EQ(v, 1.5L);
    EXPECT_TRUE(parseNumber("1,5", v));
    EXPECT_EQ(v, 1.5L);

    std::locale::global(before);
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace zam1
