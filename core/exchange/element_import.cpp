#include "core/exchange/element_import.h"

#include <algorithm>
#include <cmath>

#include "core/exchange/csv.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/standards/iso286.h"
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

bool blankRecord(const std::vector<std::string>& record) {
    for (const std::string& cell : record) {
        if (!trimmed(cell).empty()) return false;
    }
    return true;
}

class RowReader {
public:
    RowReader(const std::vector<std::string>& record, int row, const ExchangeTexts& words)
        : m_record(record), m_row(row), m_words(words) {}

    std::string cell(int column) const {
        const auto c = static_cast<std::size_t>(column);
        return c < m_record.size() ? trimmed(m_record[c]) : std::string();
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
        if (!parseNumber(text, value) || !std::isfinite(value)) fail(column, m_words.notANumber);
        return value;
    }
    bool positive(int column) {
        const std::string text = cell(column);
        if (text.empty() || text == "+" || text == "1" || text == "+1") return true;
        if (text == "-" || text == "0" || text == "-1") return false;
        fail(column, m_words.badDirection);
        return true;
    }
    void fail(int column, std::string_view reason) {
        if (!m_problem) m_problem = ImportProblem{m_row, column + 1, cell(column), std::string(reason)};
    }

private:
    const std::vector<std::string>& m_record;
    int m_row;
    const ExchangeTexts& m_words;
    std::optional<ImportProblem> m_problem;
};

std::optional<ImportProblem> readElement(RowReader& in, int number, Element& e) {
    if (!in.cell(kColNumber).empty() && wholeNumber(in.cell(kColNumber)) != std::optional<long long>(number)) {
        in.fail(kColNumber, "");
        return in.problem();
    }
    e.predecessor = static_cast<std::int32_t>(in.integer(kColPredecessor, 0, kMaxElements));
    e.positive = in.positive(kColDirection) ? 1 : 0;
    e.distance = in.number(kColDistance);
    e.upperDev = in.number(kColUpper);
    e.lowerDev = in.number(kColLower);
    const std::string iso = utf8ToOem(in.cell(kColIso));
    if (!iso.empty()) {
        const IsoCodeParts parts = SplitIsoCode(iso);
        if (parts.grade == 0) in.fail(kColIso, "");
        e.isoLetters = parts.letters.substr(0, 2);
        e.isoGrade = static_cast<std::uint8_t>(parts.grade);
    }
    e.text = storedText(oneLine(in.cell(kColText)), decltype(e.text)::capacity);
    e.remark = storedText(oneLine(in.cell(kColRemark)), decltype(e.remark)::capacity);
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

ElementImport readElementCsv(std::string_view bytes, const ExchangeTexts& words) {
    const std::string text = isUtf8(bytes) ? std::string(bytes) : ansiToUtf8(bytes);
    const auto records = readCsvRecords(text);
    ElementImport result;
    const auto refuse = [&](ImportProblem problem) {
        result.elements.clear();
        result.problem = std::move(problem);
        return result;
    };
    long long firstNumber = 0;
    if (records.empty() || blankRecord(records.front())) return refuse({1, 0, {}, std::string(words.emptyFile)});
    if (parseInteger(records.front().front(), firstNumber)) {
        return refuse({1, 0, {}, std::string(words.noHeading)});
    }
    for (std::size_t r = 1; r < records.size() && !blankRecord(records[r]); ++r) {
        const int row = static_cast<int>(r) + 1;
        const int number = static_cast<int>(r);
        if (number > kMaxElements) return refuse({row, 0, {}, std::string(words.tooManyElements)});
        Element e = Chain::clearedElement();
        RowReader in(records[r], row, words);
        if (auto problem = readElement(in, number, e)) {
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

std::string importProblemText(const ImportProblem& problem, const std::vector<std::string>& headings,
                              const ExchangeTexts& words) {
    std::string text = std::string(words.row) + " " + intText(problem.row);
    if (problem.column > 0) {
        // Spreadsheet column letters: A..Z, then AA.., as the user sees them.
        std::string letters;
        for (int c = problem.column; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), char('A' + (c - 1) % 26));
        text += ", " + std::string(words.column) + " " + letters;
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
