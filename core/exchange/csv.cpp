#include "core/exchange/csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <ostream>

#include "core/exchange/exchange_texts.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool formulaStart(char c) { return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r'; }

// Whether a spreadsheet program could take `text` for a formula: its first
// character after any apostrophes starts one (the apostrophes count, so that the
// reader can tell a guard from a text that began with one). "+" and "-" alone compute nothing.
bool needsGuard(std::string_view text) {
    const std::size_t first = text.find_first_not_of('\'');
    if (first == std::string_view::npos || !formulaStart(text[first])) return false;
    return first > 0 || text.size() > 1 || (text != "+" && text != "-");
}

// `guarded`: a cell's text, which may come from anywhere; the headings are the program's own.
void writeField(std::ostream& out, std::string_view text, bool guarded, char separator) {
    const std::string_view guard = guarded && needsGuard(text) ? "'" : "";
    if (text.find_first_of("\"\r\n") == std::string_view::npos && text.find(separator) == std::string_view::npos) {
        out << guard << text;
        return;
    }
    out << '"' << guard;
    for (char c : text) {
        if (c == '"') out << '"';
        out << c;
    }
    out << '"';
}

void writeCell(std::ostream& out, const WorksheetCell& cell, const CsvFormat& format) {
    switch (cell.kind) {
    case WorksheetCell::Kind::Empty: break;
    case WorksheetCell::Kind::Integer: out << intText(static_cast<long long>(cell.number)); break;
    case WorksheetCell::Kind::Number: out << csvNumber(cell.number, format.decimalMark); break;
    case WorksheetCell::Kind::Text: writeField(out, cell.text, true, format.separator); break;
    }
}

char guessSeparator(std::string_view bytes) {
    std::array<int, 3> counts{};
    constexpr std::array<char, 3> candidates{';', ',', '\t'};
    bool quoted = false;
    bool fieldStart = true;
    for (char c : bytes) {
        if (quoted) {
            if (c == '"') quoted = false;  // a doubled quote opens again at once
            continue;
        }
        if (c == '"' && fieldStart) {
            quoted = true;
            continue;
        }
        if (c == '\n' || c == '\r') break;
        fieldStart = false;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (c == candidates[i]) {
                ++counts[i];
                fieldStart = true;
            }
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < counts.size(); ++i) {
        if (counts[i] > counts[best]) best = i;
    }
    return candidates[best];
}

// Takes the records apart field by field, keeping at most the limits.
class CsvScanner {
public:
    CsvScanner(std::string_view bytes, char separator, const CsvLimits& limits)
        : m_bytes(bytes), m_separator(separator), m_limits(limits) {}

    // False: a quoted field is not closed properly; problemRow names the row where it began.
    bool scan() {
        while (m_at < m_bytes.size() && m_records.size() < m_limits.records) {
            const char c = m_bytes[m_at];
            if (c == '"' && !m_inField) {
                if (!quotedField()) return false;
            } else if (c == m_separator) {
                endField();
                m_fieldStarted = true;
                ++m_at;
            } else if (c == '\r' || c == '\n') {
                m_at += c == '\r' && m_at + 1 < m_bytes.size() && m_bytes[m_at + 1] == '\n' ? 2 : 1;
                endRecord();
            } else {
                append(c);
                m_fieldStarted = m_inField = true;
                ++m_at;
            }
        }
        if (m_records.size() < m_limits.records && (m_fieldStarted || !m_record.empty())) endRecord();
        return true;
    }

    std::vector<std::vector<std::string>> take() { return std::move(m_records); }
    int problemRow() const { return m_problemRow; }

private:
    // From the opening quote to the character after the closing one, which must end the field.
    bool quotedField() {
        m_problemRow = static_cast<int>(m_records.size()) + 1;
        m_fieldStarted = m_inField = true;
        for (++m_at; m_at < m_bytes.size(); ++m_at) {
            const char c = m_bytes[m_at];
            if (c != '"') {
                append(c);
            } else if (m_at + 1 < m_bytes.size() && m_bytes[m_at + 1] == '"') {
                append('"');
                ++m_at;
            } else {
                ++m_at;
                if (m_at == m_bytes.size()) return true;
                const char next = m_bytes[m_at];
                return next == m_separator || next == '\r' || next == '\n';
            }
        }
        return false;
    }

    void append(char c) {
        if (m_record.size() < m_limits.fields) m_field += c;
    }
    void endField() {
        if (m_record.size() < m_limits.fields) m_record.push_back(std::move(m_field));
        m_field.clear();
        m_inField = false;
    }
    void endRecord() {
        if (m_fieldStarted || !m_record.empty()) endField();
        m_records.push_back(std::move(m_record));
        m_record.clear();
        m_fieldStarted = m_inField = false;
    }

    std::string_view m_bytes;
    char m_separator;
    const CsvLimits& m_limits;
    std::size_t m_at = 0;
    std::vector<std::vector<std::string>> m_records;
    std::vector<std::string> m_record;
    std::string m_field;
    bool m_fieldStarted = false;  // distinguishes an empty line from a line of one empty field
    bool m_inField = false;       // the current field has begun: a quote now is a character of it
    int m_problemRow = 0;
};

// The export's guard taken off again (see needsGuard).
void unguard(std::string& field) {
    if (field.starts_with('\'') && needsGuard(std::string_view(field).substr(1))) field.erase(0, 1);
}

} // namespace

CsvFormat csvFormat(int decimalSeparatorSetting) {
    return {';', decimalSeparatorSetting == 2 ? ',' : '.'};
}

std::string csvNumber(long double value, char decimalMark) {
    const auto number = static_cast<double>(value);
    if (number == 0) return "0";  // never "-0"
    // Fixed notation without a precision is the shortest that reads back; the largest double has 309 digits.
    std::array<char, 400> buffer{};
    const auto [end, failed] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), number,
                                             std::chars_format::fixed);
    if (failed != std::errc()) return fixedText(value, 0, 10, decimalMark == ',');
    std::string text(buffer.data(), end);
    if (decimalMark != '.') std::replace(text.begin(), text.end(), '.', decimalMark);
    return text;
}

void writeCsv(std::ostream& out, const Worksheet& sheet, const CsvFormat& format) {
    out << kByteOrderMark;
    for (std::size_t c = 0; c < sheet.headings.size(); ++c) {
        if (c > 0) out << format.separator;
        writeField(out, sheet.headings[c], false, format.separator);
    }
    out << "\r\n";
    for (const auto& row : sheet.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out << format.separator;
            writeCell(out, row[c], format);
        }
        out << "\r\n";
    }
}

CsvRecords readCsvRecords(std::string_view bytes, const ExchangeTexts& words, const CsvLimits& limits,
                          char separator) {
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    CsvScanner scanner(bytes, separator != 0 ? separator : guessSeparator(bytes), limits);
    if (!scanner.scan()) {
        return {{}, ImportProblem{scanner.problemRow(), 0, {}, std::string(words.unclosedQuote)}};
    }
    CsvRecords result{scanner.take(), std::nullopt};
    for (auto& record : result.records) {
        for (std::string& field : record) unguard(field);
    }
    return result;
}

} // namespace zam1
