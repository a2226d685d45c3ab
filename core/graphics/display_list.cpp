#include "core/graphics/display_list.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace zam1 {
namespace {

// The exponent as the record format writes it: "E", a "-" only when negative,
// at least two digits ("E-06", "E12").
void appendExponent(std::string& out, int exponent) {
    out += 'E';
    if (exponent < 0) out += '-';
    const int magnitude = std::abs(exponent);
    if (magnitude < 10) out += '0';
    char buffer[8];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    out.append(buffer, r.ptr);
}

void appendGeneral(std::string& out, long double value) {
    const double v = static_cast<double>(value);
    char buffer[64];
    if (!std::isfinite(v) || v == 0) {
        out += std::isfinite(v) ? "0" : (std::isnan(v) ? "NAN" : (v > 0 ? "INF" : "-INF"));
        return;
    }
    const double magnitude = std::fabs(v);
    if (magnitude >= 1e-5 && magnitude < 1e-4) {
        // Fixed notation down to 0.00001, as the general format of the records has it.
        auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 12);
        std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
        while (text.back() == '0') text.remove_suffix(1);
        out += text;
        return;
    }
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 8);
    std::string_view text(buffer, static_cast<std::size_t>(r.ptr - buffer));
    const auto e = text.find('e');
    if (e == std::string_view::npos) {
        out += text;
        return;
    }
    out += text.substr(0, e);
    int exponent = 0;
    const std::string_view digits = text.substr(e + 1);
    const char* first = digits.data() + (digits.front() == '+' ? 1 : 0);
    std::from_chars(first, digits.data() + digits.size(), exponent);
    appendExponent(out, exponent);
}

} // namespace

void appendReal(std::string& record, long double value) {
    record += ';';
    appendGeneral(record, value);
}

void appendInt(std::string& record, long long value) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    record += ';';
    record.append(buffer, r.ptr);
}

std::string realField(long double value) {
    std::string out;
    appendGeneral(out, value);
    return out;
}

RecordReader::RecordReader(std::string_view record) {
    const auto semicolon = record.find(';');
    const std::string_view code = record.substr(0, semicolon);
    const auto r = std::from_chars(code.data(), code.data() + code.size(), m_code);
    m_valid = r.ec == std::errc() && r.ptr == code.data() + code.size();
    m_rest = semicolon == std::string_view::npos ? std::string_view() : record.substr(semicolon + 1);
}

std::string_view RecordReader::nextField() {
    const auto semicolon = m_rest.find(';');
    const std::string_view field = m_rest.substr(0, semicolon);
    m_rest = semicolon == std::string_view::npos ? std::string_view() : m_rest.substr(semicolon + 1);
    return field;
}

long double RecordReader::real() {
    const std::string_view field = nextField();
    double value = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
    return r.ec == std::errc() ? value : 0.0;
}

long long RecordReader::integer() {
    const std::string_view field = nextField();
    long long value = 0;
    const auto r = std::from_chars(field.data(), field.data() + field.size(), value);
    return r.ec == std::errc() ? value : 0;
}

} // namespace zam1
