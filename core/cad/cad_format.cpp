#include "core/cad/cad_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr std::array<long double, 19> kPow10 = {
    1e0L, 1e1L, 1e2L, 1e3L, 1e4L, 1e5L, 1e6L, 1e7L, 1e8L, 1e9L,
    1e10L, 1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L,
};

// Scaled values below this still have a rounding error far under 1e-6 of a unit
// in the last place, so the nearest integer is the correctly rounded decimal.
constexpr long double kFastLimit = 1e12L;

// The digits of the scaled integer with the separator put in, in one append.
void appendDigits(std::string& out, unsigned long long digits, int decimals, bool negative, char separator) {
    char buffer[48];
    char* p = buffer + sizeof buffer;
    int written = 0;
    do {
        if (written == decimals && decimals > 0) *--p = separator;
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
        ++written;
    } while (digits != 0 || written <= decimals);
    if (negative) *--p = '-';
    out.append(p, static_cast<std::size_t>(buffer + sizeof buffer - p));
}

void appendSlow(std::string& out, long double value, int decimals, char separator) {
    if (!std::isfinite(value)) {
        out += fixedText(value, 0, 0, false);
        return;
    }
    char buffer[5200];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos) text.remove_prefix(1);
    const std::size_t start = out.size();
    out += text;
    if (separator != '.') std::replace(out.begin() + static_cast<long>(start), out.end(), '.', separator);
}

} // namespace

void appendFixed(std::string& out, long double value, int decimals, char separator) {
    decimals = std::clamp(decimals, 0, 32);
    if (std::isfinite(value) && std::fabs(value) < 1e-8L) value = 0;
    if (decimals < static_cast<int>(kPow10.size())) {
        const long double scaled = std::fabs(value) * kPow10[static_cast<std::size_t>(decimals)];
        if (scaled < kFastLimit) {
            // The nearest integer is the right one unless the value lies on a tie.
            const long long nearest = std::llrint(scaled);
            if (std::fabs(std::fabs(scaled - static_cast<long double>(nearest)) - 0.5L) > 1e-6L) {
                const auto digits = static_cast<unsigned long long>(nearest);
                appendDigits(out, digits, decimals, value < 0 && digits != 0, separator);
                return;
            }
        }
    }
    appendSlow(out, value, decimals, separator);
}

std::string fixedPlain(long double value, int decimals, char separator) {
    std::string out;
    appendFixed(out, value, decimals, separator);
    return out;
}

std::string germanTwoLetter(std::string_view oem) {
    std::string out;
    out.reserve(oem.size() + 4);
    for (char c : oem) {
        switch (static_cast<unsigned char>(c)) {
        case 0x81: out += "ue"; break;
        case 0x84: out += "ae"; break;
        case 0x94: out += "oe"; break;
        case 0x9A: out += "Ue"; break;
        case 0x8E: out += "Ae"; break;
        case 0x99: out += "Oe"; break;
        case 0xE1: out += "ss"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string cadText(std::string_view oem, CadTextMode mode) {
    std::string out = mode == CadTextMode::Windows     ? oemToAnsi(oem)
                      : mode == CadTextMode::TwoLetter ? germanTwoLetter(oem)
                      : mode == CadTextMode::Unicode   ? dxfUnicodeEscapes(oem)
                                                       : std::string(oem);
    cleanControlCharacters(out);
    return out;
}

void cleanControlCharacters(std::string& text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7F) text[i] = ' ';
    }
}

std::string cadPlain(std::string_view text) {
    std::string out(text);
    cleanControlCharacters(out);
    return out;
}

std::string_view cadTextCodePage(CadTextMode mode) {
    return mode == CadTextMode::Windows || mode == CadTextMode::Unicode ? "ANSI_1252" : "DOS850";
}

CadTextMode withoutDxfEscapes(CadTextMode mode) { return mode == CadTextMode::Unicode ? CadTextMode::Windows : mode; }

} // namespace zam1
