#include "core/text/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace zam1 {
namespace {

constexpr long double kPrintsAsZero = 1e-8L;
constexpr long double kAutoZero = 1e-5L;

std::string padLeft(std::string text, int width, char pad = ' ') {
    if (width > 0 && text.size() < static_cast<std::size_t>(width)) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), pad);
    }
    return text;
}

std::string plainFixed(long double value, int decimals) {
    char buffer[6000];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return "?";
    return std::string(buffer, r.ptr);
}

void applyComma(std::string& text, bool decimalComma) {
    if (decimalComma) std::replace(text.begin(), text.end(), '.', ',');
}

std::string_view trimBlanks(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

} // namespace

std::string intText(long long value) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string intRight(long long value, int width) { return padLeft(intText(value), width); }

std::string intZero(long long value, int width) {
    if (value < 0) return "-" + padLeft(intText(-value), width - 1, '0');
    return padLeft(intText(value), width, '0');
}

std::string textLeft(std::string_view text, int width) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    std::string out(text.substr(0, w));
    out.resize(w, ' ');
    return out;
}

std::string textRight(std::string_view text, int width) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    text = trimBlanks(text);
    return padLeft(std::string(text.substr(0, w)), width);
}

std::string fixedText(long double value, int width, int decimals, bool decimalComma) {
    decimals = std::clamp(decimals, 0, 18);
    if (std::fabs(value) < kPrintsAsZero || !std::isfinite(value)) {
        value = std::isfinite(value) ? 0.0L : value;
    }
    std::string text = std::isfinite(value) ? plainFixed(value, decimals) : (std::isnan(value) ? "NAN" : (value > 0 ? "+INF" : "-INF"));
    applyComma(text, decimalComma);
    return padLeft(std::move(text), width);
}

std::string fixedNumber(long double value, int integerPlaces, int decimals, const NumberFormat& format) {
    if (format.decimals != 3) decimals = std::clamp(decimals + format.decimals - 3, 0, 10);
    const int width = decimals == 0 ? integerPlaces : integerPlaces + decimals + 1;
    return fixedText(value, width, decimals, format.decimalComma);
}

std::string lengthField(long double value, int width, const NumberFormat& format) {
    const int decimals = std::clamp(format.decimals, 0, 10);
    const int integerPlaces = std::max(1, width - decimals + 3);
    const int total = decimals == 0 ? integerPlaces : integerPlaces + decimals + 1;
    return fixedText(value, total, decimals, format.decimalComma);
}

std::string autoNumber(long double value, const NumberFormat& format, int significant) {
    if (!(std::fabs(value) >= kAutoZero)) return std::isnan(value) ? "NAN" : "0";
    if (!std::isfinite(value)) return value > 0 ? "+INF" : "-INF";
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::clamp(significant - 1 - exponent, 0, 18);
    std::string text = plainFixed(value, decimals);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    applyComma(text, format.decimalComma);
    return text;
}

std::string signedAutoNumber(long double value, const NumberFormat& format, int significant) {
    std::string text = autoNumber(value, format, significant);
    if (value > 0 && text != "0") text.insert(0, 1, '+');
    return text;
}

std::string plusMinusSign(bool useSignCharacter) {
    return useSignCharacter ? std::string(" \xF1 ") : std::string("+/-");
}

std::string tolerancePair(long double lower, long double upper, std::string_view plusMinus,
                          const NumberFormat& format) {
    const bool lowerZero = !(std::fabs(lower) >= kAutoZero);
    const bool upperZero = !(std::fabs(upper) >= kAutoZero);
    if (lowerZero && upperZero) return {};
    if (std::fabs(lower + upper) < 1e-4L) return std::string(plusMinus) + autoNumber(upper, format);
    if (lowerZero) return signedAutoNumber(upper, format);
    if (upperZero) return signedAutoNumber(lower, format);
    return signedAutoNumber(upper, format) + "/" + signedAutoNumber(lower, format);
}

std::string_view unitLabel(bool inches) { return inches ? "in" : "mm"; }

NumberReading readNumber(std::string_view text, long double& out) {
    text = trimBlanks(text);
    if (text.empty()) return NumberReading::NotANumber;
    if (text.size() > 400) {
        const bool numeric = text.find_first_not_of("0123456789+-.,eE") == std::string_view::npos;
        return numeric ? NumberReading::OutOfRange : NumberReading::NotANumber;
    }
    std::string buffer(text);
    std::replace(buffer.begin(), buffer.end(), ',', '.');
    const char* first = buffer.data();
    const char* last = first + buffer.size();
    bool negative = false;
    if (*first == '+' || *first == '-') {
        negative = *first == '-';
        ++first;
    }
    // Only digits and a point start a number: from_chars would also take "inf" and "nan".
    if (first == last || !((*first >= '0' && *first <= '9') || *first == '.')) return NumberReading::NotANumber;
    long double value = 0;
    const auto r = std::from_chars(first, last, value, std::chars_format::general);
    if (r.ptr != last) return NumberReading::NotANumber;
    if (r.ec == std::errc::result_out_of_range) return NumberReading::OutOfRange;
    if (r.ec != std::errc() || !std::isfinite(value)) return NumberReading::NotANumber;
    out = negative ? -value : value;
    return NumberReading::Read;
}

bool parseNumber(std::string_view text, long double& out) { return readNumber(text, out) == NumberReading::Read; }

long double numberOrZero(std::string_view text) {
    long double value = 0;
    return parseNumber(text, value) ? value : 0.0L;
}

bool parseInteger(std::string_view text, long long& out) {
    text = trimBlanks(text);
    if (text.empty()) return false;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return false;
    unsigned long long magnitude = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    if (magnitude > static_cast<unsigned long long>(INT64_MAX)) return false;
    out = negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return true;
}

} // namespace zam1
