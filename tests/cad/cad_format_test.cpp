#include <gtest/gtest.h>

#include <string>

#include "core/cad/cad_format.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

TEST(CadFormat, FixedNumbersAreCorrectlyRoundedWithoutNegativeZero) {
    struct Case { long double value; int decimals; char separator; const char* text; };
    const Case cases[] = {
        {160, 6, '.', "160.000000"},
        {-0.5L, 6, '.', "-0.500000"},
        {0.125L, 2, '.', "0.12"},            // an exact tie goes to even
        {0.375L, 2, '.', "0.38"},
        {-0.0001L, 3, '.', "0.000"},         // rounds to zero: no sign
        {-1e-9L, 6, '.', "0.000000"},
        {123456.789L, 0, '.', "123457"},
        {1e15L, 3, '.', "1000000000000000.000"},  // past the fast path
        {0.1L, 20, '.', "0.10000000000000000000"},
        {3.25L, 2, ',', "3,25"},
        {-7, 1, ',', "-7,0"},
    };
    for (const Case& c : cases) EXPECT_EQ(fixedPlain(c.value, c.decimals, c.separator), c.text) << c.text;
}

TEST(CadFormat, TheFastPathAgreesWithTheExactFormatter) {
    // Values near ties at every decimal count the writers use.
    unsigned long long state = 12345;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const int decimals = static_cast<int>(state >> 60) % 8;
        const long double base = static_cast<long double>(state >> 24) / 1000.0L;
        const long double value = (i % 2 ? -base : base) + (i % 3 ? 0.0005L : 0.0L);
        EXPECT_EQ(fixedPlain(value, decimals), fixedText(value, 0, decimals, false)) << static_cast<double>(value);
    }
}

TEST(CadFormat, CadTextModes) {
    const std::string oem = "\x81\x84\x94\x9A\x8E\x99\xE1 \xF8";  // üäöÜÄÖß °
    EXPECT_EQ(cadText(oem, CadTextMode::Oem), oem);
    EXPECT_EQ(cadText(oem, CadTextMode::Windows), "\xFC\xE4\xF6\xDC\xC4\xD6\xDF \xB0");
    EXPECT_EQ(cadText(oem, CadTextMode::TwoLetter), "ueaeoeUeAeOess \xF8");
    EXPECT_EQ(cadText(oem, cadTextModeOf(0)), oem);
    EXPECT_EQ(cadText("a\rb\nc\td\x7F", CadTextMode::Oem), "a b c d ");
}

// Mode 4 writes nothing but ASCII, and every stored character comes back from
// it: the screen reads its own block files back through storedFromCadText.
TEST(CadFormat, UnicodeModeIsAsciiAndReadsBackEveryCharacter) {
    std::string every;
    for (int c = 0x20; c < 0x100; ++c) {
        if (c != 0x7F) every += static_cast<char>(c);
    }
    every += "\\U+0041 \\U+ \\u+00e4\\";
    const std::string written = cadText(every, CadTextMode::Unicode);
    EXPECT_EQ(written.find_first_not_of(std::string_view(" !\"#$%&'()*+,-./0123456789:;<=>?@"
                                                         "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~")),
              std::string::npos);
    EXPECT_EQ(storedFromCadText(written, CadTextMode::Unicode), every);
    EXPECT_EQ(cadTextCodePage(CadTextMode::Unicode), "ANSI_1252");
    // IGES and the TXT CAD code know no escapes: there mode 4 is the Windows code page.
    EXPECT_EQ(cadText("\x81", withoutDxfEscapes(CadTextMode::Unicode)), "\xFC");
}

} // namespace
} // namespace zam1
