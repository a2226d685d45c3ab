#include "core/text/codepage.h"

#include <array>

namespace zam1 {
namespace {

// Upper halves (0x80..0xFF); the lower half of both code pages is ASCII.
constexpr std::array<char16_t, 128> kCp850High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, // 80
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, // 88
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, // 90
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, // 98
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, // A0
    0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, // A8
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, // B0
    0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, // B8
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, // C0
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, // C8
    0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, // D0
    0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, // D8
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, // E0
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, // E8
    0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8, // F0
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0, // F8
};

// Windows-1252 0x80..0x9F; the five unassigned bytes map to the C1 control of the
// same number, as Windows does. 0xA0..0xFF equal Latin-1.
constexpr std::array<char16_t, 32> kCp1252C1 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
};

// A stand-in for characters a code page lacks.
unsigned char fallback(char32_t cp) {
    switch (cp) {
    case 0x2500: case 0x2013: case 0x2014: case 0x2012: case 0x2212: return '-';
    case 0x2550: return '=';
    case 0x2502: case 0x2551: return '|';
    case 0x2018: case 0x2019: case 0x201A: case 0x2039: case 0x203A: return '\'';
    case 0x201C: case 0x201D: case 0x201E: return '"';
    case 0x2026: return '.';
    case 0x2022: return '*';
    case 0x2017: return '_';
    case 0x0131: return 'i';
    case 0x02C6: return '^';
    case 0x02DC: return '~';
    case 0x20AC: return 'E';
    default: break;
    }
    if (cp >= 0x2500 && cp <= 0x257F) return '+';           // corners, tees, crosses
    if (cp >= 0x2580 && cp <= 0x25A0) return '#';           // blocks and shades
    return '?';
}

struct ReverseTable {
    // Code points 0..0x25FF are enough for both code pages; the rest is fallback.
    std::array<unsigned char, 0x2600> oem{};
    std::array<unsigned char, 0x2600> ansi{};
    std::array<bool, 0x2600> oemHas{};
    std::array<bool, 0x2600> ansiHas{};
    ReverseTable() {
        for (int b = 0; b < 256; ++b) {
            const char32_t o = oemToUnicode(static_cast<unsigned char>(b));
            const char32_t a = ansiToUnicode(static_cast<unsigned char>(b));
            oem[o] = static_cast<unsigned char>(b);
            oemHas[o] = true;
            ansi[a] = static_cast<unsigned char>(b);
            ansiHas[a] = true;
        }
    }
};

const ReverseTable& reverse() {
    static const ReverseTable table;
    return table;
}

template <typename Map>
std::string mapBytes(std::string_view in, Map map) {
    std::string out;
    out.resize(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        out[i] = static_cast<char>(map(static_cast<unsigned char>(in[i])));
    }
    return out;
}

} // namespace

char32_t oemToUnicode(unsigned char c) {
    return c < 0x80 ? char32_t{c} : char32_t{kCp850High[c - 0x80]};
}

char32_t ansiToUnicode(unsigned char c) {
    if (c >= 0x80 && c < 0xA0) return kCp1252C1[c - 0x80];
    return char32_t{c};
}

unsigned char unicodeToOem(char32_t cp) {
    const ReverseTable& r = reverse();
    if (cp < r.oem.size() && r.oemHas[cp]) return r.oem[cp];
    return fallback(cp);
}

unsigned char unicodeToAnsi(char32_t cp) {
    const ReverseTable& r = reverse();
    if (cp < r.ansi.size() && r.ansiHas[cp]) return r.ansi[cp];
    return fallback(cp);
}

char32_t decodeUtf8(std::string_view s, std::size_t& pos) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = byte(pos);
    if (c < 0x80) {
        ++pos;
        return c;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((c & 0xE0) == 0xC0) { extra = 1; cp = c & 0x1F; minimum = 0x80; }
    else if ((c & 0xF0) == 0xE0) { extra = 2; cp = c & 0x0F; minimum = 0x800; }
    else if ((c & 0xF8) == 0xF0) { extra = 3; cp = c & 0x07; minimum = 0x10000; }
    else { ++pos; return 0xFFFD; }
    if (pos + static_cast<std::size_t>(extra) >= s.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (int k = 1; k <= extra; ++k) {
        const unsigned char cc = byte(pos + static_cast<std::size_t>(k));
        if ((cc & 0xC0) != 0x80) { ++pos; return 0xFFFD; }
        cp = (cp << 6) | (cc & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) { ++pos; return 0xFFFD; }
    pos += static_cast<std::size_t>(extra) + 1;
    return cp;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string oemToUtf8(std::string_view oem) {
    std::string out;
    out.reserve(oem.size() + oem.size() / 2);
    for (char c : oem) appendUtf8(out, oemToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string ansiToUtf8(std::string_view ansi) {
    std::string out;
    out.reserve(ansi.size() + ansi.size() / 2);
    for (char c : ansi) appendUtf8(out, ansiToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToOem(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        out += static_cast<char>(unicodeToOem(decodeUtf8(utf8, pos)));
    }
    return out;
}

std::string utf8ToAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        out += static_cast<char>(unicodeToAnsi(decodeUtf8(utf8, pos)));
    }
    return out;
}

std::string oemToAnsi(std::string_view oem) {
    return mapBytes(oem, [](unsigned char c) { return unicodeToAnsi(oemToUnicode(c)); });
}

std::string ansiToOem(std::string_view ansi) {
    return mapBytes(ansi, [](unsigned char c) { return unicodeToOem(ansiToUnicode(c)); });
}

std::string storedText(std::string_view utf8, std::size_t capacity) {
    std::string out;
    out.reserve(capacity);
    for (std::size_t pos = 0; pos < utf8.size() && out.size() < capacity;) {
        out += static_cast<char>(unicodeToOem(decodeUtf8(utf8, pos)));
    }
    return out;
}

} // namespace zam1
