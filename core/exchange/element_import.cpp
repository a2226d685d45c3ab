#include "core/exchange/element_import.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "core/exchange/csv.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/exchange/xlsx_reader.h"
#include "core/model/chain.h"
#include "core/model/input_limits.h"
#include "core/model/resolution.h"
#include "core/standards/element_iso.h"
#include "core/standards/iso286.h"
#include "core/text/ascii_case.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

// A file that is not valid UTF-8 comes from an older spreadsheet program that
// saved in the Windows code page; read it as such instead of losing its umlauts.
bool isUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t start = pos;
        if (decodeUtf8(bytes, pos) == U'\uFFFD' && bytes.substr(start, 3) != "\xEF\xBF\xBD") return false;
    }
    return true;
}

std::string trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

// A whole number, also as a spreadsheet may write one ("12.0", "12,0").
std::optional<long long> wholeNumber(std::string_view text) {
    long long value = 0;
    if (parseInteger(text, value)) return value;
    long double number = 0;
    if (!parseNumber(text, number) || !std::isfinite(number) || number != std::trunc(number) ||
        std::fabs(number) > 1e15L) {
        return std::nullopt;
    }
    return static_cast<long long>(number);
}

// A project file holds one text per line: line breaks and tabs of a cell become blanks.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    }
    return text;
}

bool blankRow(const std::vector<ImportCell>& row) {
    return std::all_of(row.begin(), row.end(), [](const ImportCell& cell) { return cell.blank(); });
}

// A number cell in a text column: a spreadsheet took the typed text ("4711", "7")
// for a number. Its shortest decimal text gives it back; never an exponent.
std::string numberAsText(const std::string& number) {
    double value = 0;
    const char* last = number.data() + number.size();
    if (std::from_chars(number.data(), last, value).ptr != last || !std::isfinite(value)) return number;
    std::array<char, 400> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    return written.ec == std::errc() ? std::string(buffer.data(), written.ptr) : number;
}

class RowReader {
public:
    RowReader(const std::vector<ImportCell>& cells, int row, const ExchangeTexts& words)
        : m_cells(cells), m_row(row), m_words(words) {}

    // What the cell held, blanks around it dropped: numbers as the file wrote them.
    std::string cell(int column) const {
        const auto c = static_cast<std::size_t>(column);
        return c < m_cells.size() ? trimmed(m_cells[c].text) : std::string();
    }
    // The cell as a text column reads it.
    std::string text(int column) const {
        const std::string held = cell(column);
        const auto c = static_cast<std::size_t>(column);
        return c < m_cells.size() && m_cells[c].kind == ImportCell::Kind::Number ? numberAsText(held) : held;
    }
    bool isError(int column) const {
        const auto c = static_cast<std::size_t>(column);
        return c < m_cells.size() && m_cells[c].kind == ImportCell::Kind::Error;
    }
    const std::optional<ImportProblem>& problem() const { return m_problem; }

    long long integer(int column, long long lower, long long upper) {
        const std::string text = cell(column);
        if (text.empty()) return 0;
        const std::optional<long long> value = wholeNumber(text);
        if (!value || *value < lower || *value > upper) {
            fail(column, m_words.notAnInteger);
            return 0;
        }
        return *value;
    }
    long double number(int column) {
        const std::string text = cell(column);
        long double value = 0;
        if (text.empty()) return 0;
        switch (readLength(text, value)) {
        case LengthReading::Read: break;
        case LengthReading::NotANumber: fail(column, m_words.notANumber); return 0;
        case LengthReading::OutOfRange: fail(column, m_words.beyondLimit); return 0;
        }
        return value;
    }
    bool positive(int column) {
        const std::string held = text(column);
        if (held.empty() || held == "+" || held == "1" || held == "+1") return true;
        if (held == "-" || held == "0" || held == "-1") return false;
        fail(column, m_words.badDirection);
        return true;
    }
    void fail(int column, std::string_view reason) {
        if (!m_problem) m_problem = ImportProblem{m_row, column + 1, cell(column), std::string(reason)};
    }

private:
    const std::vector<ImportCell>& m_cells;
    int m_row;
    const ExchangeTexts& m_words;
    std::optional<ImportProblem> m_problem;
};

std::optional<ImportProblem> readElement(RowReader& in, int number, Element& e, const ExchangeTexts& words) {
    for (int column = 0; column < kElementColumns; ++column) {
        if (in.isError(column)) in.fail(column, words.errorValue);
    }
    if (in.problem()) return in.problem();
    if (!in.cell(kColNumber).empty() && wholeNumber(in.cell(kColNumber)) != std::optional<long long>(number)) {
        in.fail(kColNumber, "");
        return in.problem();
    }
    e.predecessor = static_cast<std::int32_t>(in.integer(kColPredecessor, 0, kMaxElements));
    e.positive = in.positive(kColDirection) ? 1 : 0;
    e.distance = in.number(kColDistance);
    e.upperDev = in.number(kColUpper);
    e.lowerDev = in.number(kColLower);
    const std::string iso = utf8ToOem(in.text(kColIso));
    if (!iso.empty()) {
        const IsoCodeParts parts = SplitIsoCode(iso);
        if (parts.grade == 0) in.fail(kColIso, "");
        e.isoLetters = parts.letters.substr(0, 2);
        e.isoGrade = static_cast<std::uint8_t>(parts.grade);
        // A code the table could not evaluate would stand beside deviations nobody checked.
        if (const std::string error = elementIsoError(e); !error.empty() && parts.grade != 0) {
            in.fail(kColIso, oemToUtf8(error));
        }
    }
    e.text = storedText(oneLine(in.text(kColText)), decltype(e.text)::capacity);
    e.remark = storedText(oneLine(in.text(kColRemark)), decltype(e.remark)::capacity);
    return in.problem();
}

std::string rowText(const Element& e, int n) {
    std::string row = intText(n) + "; " + intText(e.predecessor) + "; " + (e.positive != 0 ? "+" : "-");
    for (long double v : {e.distance, e.upperDev, e.lowerDev}) row += "; " + csvNumber(v);
    row += "; " + isoCodeText(e.isoLetters.view(), e.isoGrade) + "; " + oemToUtf8(e.text.view()) + "; " +
           oemToUtf8(e.remark.view());
    return row;
}

std::vector<int> differingColumns(const Element& a, const Element& b) {
    std::vector<int> columns;
    const auto check = [&](bool differs, int column) {
        if (differs) columns.push_back(column);
    };
    check(a.predecessor != b.predecessor, kColPredecessor);
    check((a.positive != 0) != (b.positive != 0), kColDirection);
    check(a.distance != b.distance, kColDistance);
    check(a.upperDev != b.upperDev, kColUpper);
    check(a.lowerDev != b.lowerDev, kColLower);
    check(isoCodeText(a.isoLetters.view(), a.isoGrade) != isoCodeText(b.isoLetters.view(), b.isoGrade), kColIso);
    check(a.text.view() != b.text.view(), kColText);
    check(a.remark.view() != b.remark.view(), kColRemark);
    return columns;
}

std::vector<int> allColumns() {
    std::vector<int> columns;
    for (int c = kColPredecessor; c < kElementColumns; ++c) columns.push_back(c);
    return columns;
}

} // namespace

ElementImport readElementRows(const ImportRows& rows, const ExchangeTexts& words) {
    ElementImport result;
    const auto refuse = [&](ImportProblem problem) {
        result.elements.clear();
        result.problem = std::move(problem);
        return result;
    };
    if (rows.empty() || blankRow(rows.front())) return refuse({1, 0, {}, std::string(words.emptyFile)});
    const ImportCell& first = rows.front().front();
    long long firstNumber = 0;
    if (first.kind == ImportCell::Kind::Number || parseInteger(first.text, firstNumber)) {
        return refuse({1, 0, {}, std::string(words.noHeading)});
    }
    for (std::size_t r = 1; r < rows.size() && !blankRow(rows[r]); ++r) {
        const int row = static_cast<int>(r) + 1;
        const int number = static_cast<int>(r);
        if (number > kMaxElements) return refuse({row, 0, {}, std::string(words.tooManyElements)});
        Element e = Chain::clearedElement();
        RowReader in(rows[r], row, words);
        if (auto problem = readElement(in, number, e, words)) {
            if (problem->reason.empty()) {
                problem->reason = std::string(problem->column == kColNumber + 1 ? words.badNumber : words.badIsoCode);
            }
            return refuse(*problem);
        }
        result.elements.push_back(e);
    }
    if (result.elements.empty()) return refuse({2, 0, {}, std::string(words.emptyFile)});
    return result;
}

std::string importTextAsUtf8(std::string_view bytes) {
    return isUtf8(bytes) ? std::string(bytes) : ansiToUtf8(bytes);
}

ElementImport readElementCsv(std::string_view bytes, const ExchangeTexts& words) {
    const std::string text = importTextAsUtf8(bytes);
    // One row beyond the largest table, so that a longer one is named as such.
    CsvLimits limits;
    limits.records = kMaxElements + 2;
    limits.fields = kElementColumns;
    CsvRecords records = readCsvRecords(text, words, limits);
    if (records.problem) return {{}, std::move(records.problem)};
    ImportRows rows;
    for (auto& record : records.records) {
        std::vector<ImportCell>& cells = rows.emplace_back(record.size());
        for (std::size_t c = 0; c < record.size(); ++c) cells[c].text = std::move(record[c]);
    }
    return readElementRows(rows, words);
}

ElementImport readElementXlsx(std::string_view bytes, const ExchangeTexts& words) {
    // One row beyond the largest table, so that a longer one is named as such.
    XlsxLimits limits;
    limits.rows = kMaxElements + 2;
    limits.columns = kElementColumns;
    XlsxSheet sheet = readFirstWorksheet(bytes, words, limits);
    if (sheet.problem) return {{}, std::move(sheet.problem)};
    return readElementRows(sheet.rows, words);
}

ElementImport readElementTable(std::string_view bytes, std::string_view fileName, const ExchangeTexts& words) {
    const bool workbook = looksLikeZip(bytes) || asciiLower(fileName).ends_with(".xlsx");
    return workbook ? readElementXlsx(bytes, words) : readElementCsv(bytes, words);
}

std::string importProblemText(const ImportProblem& problem, const std::vector<std::string>& headings,
                              const ExchangeTexts& words) {
    if (problem.row == 0) return problem.cell.empty() ? problem.reason : problem.reason + ": " + problem.cell;
    std::string text = std::string(words.row) + " " + intText(problem.row);
    if (problem.column > 0) {
        text += ", " + std::string(words.column) + " " + columnLetters(problem.column);
        const auto index = static_cast<std::size_t>(problem.column - 1);
        if (index < headings.size()) text += " (" + headings[index] + ")";
        return text + ": \"" + problem.cell + "\" " + problem.reason;
    }
    return text + ": " + problem.reason;
}

ElementTableChanges compareElements(const Chain& chain, const std::vector<Element>& imported) {
    ElementTableChanges result;
    result.elementsBefore = chain.elementCount();
    result.elementsAfter = static_cast<int>(imported.size());
    const int last = std::max(result.elementsBefore, result.elementsAfter);
    for (int n = 1; n <= last; ++n) {
        ElementChange change;
        change.element = n;
        if (n > result.elementsBefore) {
            change.kind = ElementChange::Kind::Added;
            change.columns = allColumns();
        } else if (n > result.elementsAfter) {
            change.kind = ElementChange::Kind::Removed;
            change.columns = allColumns();
        } else {
            change.columns = differingColumns(chain.element(n), imported[static_cast<std::size_t>(n - 1)]);
            if (change.columns.empty()) continue;
        }
        if (n <= result.elementsBefore) change.before = rowText(chain.element(n), n);
        if (n <= result.elementsAfter) change.after = rowText(imported[static_cast<std::size_t>(n - 1)], n);
        result.changes.push_back(std::move(change));
    }
    return result;
}

void applyElementImport(Chain& chain, const std::vector<Element>& imported) {
    if (!chain.setElementCount(static_cast<int>(imported.size()))) return;
    for (std::size_t i = 0; i < imported.size(); ++i) chain.element(static_cast<int>(i) + 1) = imported[i];
    deriveElementValues(chain);
}

} // namespace zam1
