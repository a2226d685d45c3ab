#include "core/graphics/cad_text_mode.h"

#include <charconv>

#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr std::string_view kEscape = "\\U+";
constexpr std::size_t kEscapeLength = 7;  // "\U+" and four hex digits

// The code point of an escape at `at`, or -1 when none begins there.
long escapeAt(std::string_view text, std::size_t at) {
    if (text.size() - at < kEscapeLength || text.substr(at, kEscape.size()) != kEscape) return -1;
    unsigned value = 0;
    const char* first = text.data() + at + kEscape.size();
    const auto r = std::from_chars(first, first + 4, value, 16);
    return r.ptr == first + 4 ? static_cast<long>(value) : -1;
}

void appendEscape(std::string& out, char32_t cp) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += kEscape;
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(cp >> shift) & 0xF];
}

} // namespace

std::string dxfUnicodeEscapes(std::string_view oem) {
    std::string out;
    out.reserve(oem.size() + 8);
    for (std::size_t i = 0; i < oem.size(); ++i) {
        const auto c = static_cast<unsigned char>(oem[i]);
        if (c >= 0x80) {
            appendEscape(out, oemToUnicode(c));
        } else if (c == '\\' && oem.substr(i + 1, 2) == "U+") {
            appendEscape(out, U'\\');
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string storedFromCadText(std::string_view text, CadTextMode mode) {
    if (mode == CadTextMode::Windows) return ansiToOem(text);
    if (mode != CadTextMode::Unicode) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const long cp = escapeAt(text, i);
        if (cp < 0) {
            out += text[i++];
            continue;
        }
        out += static_cast<char>(unicodeToOem(static_cast<char32_t>(cp)));
        i += kEscapeLength;
    }
    return out;
}

} // namespace zam1
