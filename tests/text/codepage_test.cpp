#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "core/text/codepage.h"
#include "core/text/short_string.h"

namespace zam1 {
namespace {

TEST(CodePage, EveryOemByteRoundTripsThroughUnicode) {
    std::set<char32_t> seen;
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        const char32_t cp = oemToUnicode(c);
        EXPECT_TRUE(seen.insert(cp).second) << "two OEM bytes share U+" << std::hex << static_cast<std::uint32_t>(cp);
        EXPECT_EQ(unicodeToOem(cp), c) << "byte " << b;
        const std::string one(1, static_cast<char>(c));
        EXPECT_EQ(utf8ToOem(oemToUtf8(one)), one) << "byte " << b;
    }
}

TEST(CodePage, EveryAnsiByteRoundTripsThroughUnicode) {
    for (int b = 0; b < 256; ++b) {
        const auto c = static_cast<unsigned char>(b);
        EXPECT_EQ(unicodeToAnsi(ansiToUnicode(c)), c) << "byte " << b;
    }
}

struct Known {
    unsigned char oem;
    const char* utf8;
    int ansi;  // -1: not in Windows-1252
};

TEST(CodePage, GermanLettersBoxDrawingAndPlusMinus) {
    const Known known[] = {
        {0x8E, "Ä", 0xC4}, {0x99, "Ö", 0xD6}, {0x9A, "Ü", 0xDC}, {0x84, "ä", 0xE4}, {0x94, "ö", 0xF6},
        {0x81, "ü", 0xFC}, {0xE1, "ß", 0xDF}, {0xF1, "±", 0xB1}, {0xF8, "°", 0xB0}, {0xE6, "µ", 0xB5},
        {196, "─", -1},    {205, "═", -1},    {201, "╔", -1},    {187, "╗", -1},    {200, "╚", -1},
        {188, "╝", -1},    {204, "╠", -1},    {185, "╣", -1},    {186, "║", -1},
    };
    for (const Known& k : known) {
        const std::string oem(1, static_cast<char>(k.oem));
        EXPECT_EQ(oemToUtf8(oem), k.utf8);
        EXPECT_EQ(utf8ToOem(k.utf8), oem) << k.utf8;
        if (k.ansi >= 0) {
            const std::string ansi(1, static_cast<char>(k.ansi));
            EXPECT_EQ(oemToAnsi(oem), ansi) << k.utf8;
            EXPECT_EQ(ansiToOem(ansi), oem) << k.utf8;
        }
    }
}

TEST(CodePage, MissingCharactersGetStandIns) {
    // Box drawing has no place in Windows-1252; the copies for Windows programs
    // still show a frame.
    EXPECT_EQ(oemToAnsi("\xC9\xCD\xBB\xBA\xC4"), "+=+|-");
    EXPECT_EQ(utf8ToOem("€ „x“"), "E \"x\"");
    EXPECT_EQ(utf8ToOem("漢"), "?");
}

TEST(CodePage, MalformedUtf8NeverReadsPastTheEnd) {
    const std::string cases[] = {"\xC3", "a\xE2\x82", "\xF0\x9F\x98", "\x80\x80", "\xC0\xAF", "\xED\xA0\x80"};
    for (const std::string& s : cases) {
        const std::string oem = utf8ToOem(s);
        EXPECT_LE(oem.size(), s.size());
        EXPECT_NE(oem.find('?'), std::string::npos) << "no stand-in for a malformed sequence";
    }
}

TEST(StoredText, LongInputIsCutToTheFieldNotEmptied) {
    const std::string typed(300, 'x');
    EXPECT_EQ(storedText(typed, 18), std::string(18, 'x'));
    EXPECT_EQ(storedText("Lagerdeckel äußerst lang", 13), "Lagerdeckel \x84");
    EXPECT_EQ(storedText("", 18), "");
}

TEST(ShortString, KeepsTheFirstCharactersUpToItsCapacity) {
    ShortString<18> text = "Welle mit Absatz und Nut";
    EXPECT_EQ(text.view(), "Welle mit Absatz u");
    EXPECT_EQ(text.size(), 18u);
    text = "kurz";
    EXPECT_EQ(text.view(), "kurz");
    text = std::string(255, 'y');
    EXPECT_EQ(text.size(), 18u);
    ShortString<2> letters = "js";
    EXPECT_EQ(letters, "js");
    letters.clear();
    EXPECT_TRUE(letters.empty());
}

} // namespace
} // namespace zam1
