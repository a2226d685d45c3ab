#include "core/exchange/csv.h"

#include <array>
#include <charconv>
#include <ostream>

#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kSeparator = ';';

void writeField(std::ostream& out, std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos) {
        out << text;
        return;
    }
    out << '"';
    for (char c : text) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

void writeCell(std::ostream& out, const WorksheetCell& cell) {
    switch (cell.kind) {
    case WorksheetCell::Kind::Empty: break;
    case WorksheetCell::Kind::Integer: out << intText(static_cast<long long>(cell.number)); break;
    case WorksheetCell::Kind::Number: out << csvNumber(cell.number); break;
    case WorksheetCell::Kind::Text: writeField(out, cell.text); break;
    }
}

char guessSeparator(std::string_view bytes) {
    std::array<int, 3> counts{};
    constexpr std::array<char, 3> candidates{';', ',', '\t'};
    bool quoted = false;
    for (char c : bytes) {
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == '\n' || c == '\r')) break;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (!quoted && c == candidates[i]) ++counts[i];
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < counts.size(); ++i) {
        if (counts[i] > counts[best]) best = i;
    }
    return candidates[best];
}

} // namespace

std::string csvNumber(long double value) {
    if (value == 0) return "0";  // never "-0"
    std::array<char, 64> buffer{};
    const auto [end, failed] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                             std::chars_format::fixed);
    if (failed != std::errc()) return fixedText(value, 0, 10, false);
    return std::string(buffer.data(), end);
}

void writeCsv(std::ostream& out, const std::vector<Worksheet>& sheets) {
    out << kByteOrderMark;
    bool first = true;
    for (const Worksheet& sheet : sheets) {
        if (!first) out << "\r\n";
        first = false;
        for (std::size_t c = 0; c < sheet.headings.size(); ++c) {
            if (c > 0) out << kSeparator;
            writeField(out, sheet.headings[c]);
        }
        out << "\r\n";
        for (const auto& row : sheet.rows) {
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (c > 0) out << kSeparator;
                writeCell(out, row[c]);
            }
            out << "\r\n";
        }
    }
}

std::vector<std::vector<std::string>> readCsvRecords(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    const char separator = guessSeparator(bytes);
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> record;
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;  // distinguishes an empty line from a line of one empty field
    const auto endRecord = [&] {
        if (fieldStarted || !record.empty()) record.push_back(std::move(field));
        records.push_back(std::move(record));
        record.clear();
        field.clear();
        fieldStarted = false;
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            quoted = true;
            fieldStarted = true;
        } else if (c == separator) {
            record.push_back(std::move(field));
            field.clear();
            fieldStarted = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            endRecord();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !record.empty()) endRecord();
    return records;
}

} // namespace zam1
