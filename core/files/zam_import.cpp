#include "core/files/zam_import.h"

#include <memory>
#include <vector>

#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/input_limits.h"
#include "core/model/resolution.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/prompter.h"
#include "core/records/documentation.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

// A report of the largest project is a few megabytes; far beyond is no report.
constexpr std::size_t kMaxReportBytes = 64u << 20;
constexpr std::size_t kMargin = 7;
constexpr std::size_t kLineWidth = 70; // separators and page frames
constexpr std::string_view kNoText = "..................";
constexpr std::string_view kNoIso = ".....";

struct Line {
    std::string_view text; // without margin and line end
    int number = 0;        // 1-based line in the file
};

bool blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

std::string_view trimRight(std::string_view s) {
    const std::size_t last = s.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
}

std::string_view column(std::string_view s, std::size_t from, std::size_t width) {
    return from >= s.size() ? std::string_view{} : s.substr(from, width);
}

// One character repeated over the width: the thin and double lines of every
// separator style (style 3 writes blanks).
bool isSeparator(std::string_view s) {
    if (s.size() != kLineWidth) return false;
    const char c = s.front();
    if (c != '\xC4' && c != '\xCD' && c != '-' && c != '=' && c != ' ') return false;
    return s.find_first_not_of(c) == std::string_view::npos;
}

// A full line of a page frame: its top, middle or bottom.
bool isFrameLine(std::string_view s) {
    if (s.size() != kLineWidth) return false;
    const std::string_view inner = s.substr(1, kLineWidth - 2);
    if (inner.find_first_not_of(inner.front()) != std::string_view::npos) return false;
    return (inner.front() == '*' && s.front() == '*' && s.back() == '*') ||
           (inner.front() == '\xCD' && std::string_view("\xC9\xCC\xC8").find(s.front()) != std::string_view::npos);
}

bool isFrameTop(std::string_view s) { return isFrameLine(s) && (s.front() == '*' || s.front() == '\xC9'); }

bool integerField(std::string_view s, long long& value) { return !blank(s) && parseInteger(s, value); }

class ReportParser {
public:
    ReportParser(std::string_view bytes, Chain& chain, ProjectTexts& texts)
        : m_bytes(bytes), m_chain(chain), m_texts(texts) {}

    ZamImportResult run() {
        if (splitLines() && head() && elements() && elementRemarks() && closings()) closingRemarks();
        return m_result;
    }

private:
    bool fail(ZamImportStatus status, int line) {
        m_result = {status, line};
        return false;
    }
    bool damaged() { return fail(ZamImportStatus::Damaged, m_at < m_lines.size() ? m_lines[m_at].number : m_lastLine + 1); }

    // The lines without margin; page headers and form feeds dropped, so that what
    // remains reads as the report of one endless page.
    bool splitLines() {
        if (m_bytes.find('\0') != std::string_view::npos) return fail(ZamImportStatus::NotReport, 1);
        std::size_t pos = 0;
        int number = 0;
        int frameLines = -1; // inside a page header: full frame lines seen after its top
        bool afterHeader = false;
        while (pos < m_bytes.size()) {
            const std::size_t end = m_bytes.find('\n', pos);
            const std::size_t stop = end == std::string_view::npos ? m_bytes.size() : end;
            std::string_view raw = m_bytes.substr(pos, stop - pos);
            pos = end == std::string_view::npos ? m_bytes.size() : end + 1;
            ++number;
            if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
            while (!raw.empty() && raw.front() == '\f') raw.remove_prefix(1);
            if (raw.empty()) continue; // the form feed of a page break stands on a line of its own
            if (raw.size() < kMargin || !blank(raw.substr(0, kMargin))) {
                return fail(m_lines.empty() ? ZamImportStatus::NotReport : ZamImportStatus::Damaged, number);
            }
            const std::string_view text = raw.substr(kMargin);
            if (frameLines >= 0) {
                if (isFrameLine(text) && ++frameLines == 2) {
                    frameLines = -1;
                    afterHeader = true;
                } else if (!isFrameLine(text) && text.size() != kLineWidth) {
                    return fail(ZamImportStatus::Damaged, number);
                }
                continue;
            }
            if (isFrameTop(text)) {
                frameLines = 0;
                continue;
            }
            // The channel follows each page header with one empty line.
            const bool dropped = afterHeader && text.empty();
            afterHeader = false;
            if (!dropped) m_lines.push_back({text, number});
        }
        m_lastLine = number;
        if (frameLines >= 0) return fail(ZamImportStatus::Damaged, number);
        return true;
    }

    bool more() const { return m_at < m_lines.size(); }
    std::string_view current() const { return m_lines[m_at].text; }

    // Moves to the next line with content, past blank and separator lines.
    bool nextContent() {
        while (more() && (blank(current()) || isSeparator(current()))) ++m_at;
        return more() || damaged();
    }

    bool head() {
        while (more() && (blank(current()) || isSeparator(current()))) ++m_at;
        if (!more() || !current().starts_with(kProgramTitle)) {
            return fail(ZamImportStatus::NotReport, more() ? m_lines[m_at].number : 1);
        }
        ++m_at; // title and version
        if (!more()) return damaged();
        ++m_at; // file name and time
        if (more() && isSeparator(current())) ++m_at;
        for (auto& remark : m_texts.remarkLines) {
            if (!more()) return damaged();
            remark = current();
            ++m_at;
        }
        return true;
    }

    // A length beyond the program's limit is no report of ours: it would not save and read back.
    bool number(std::string_view field, long double& value) {
        return (!blank(field) && parseNumber(field, value) && lengthWithinLimit(value)) || damaged();
    }

    bool elements() {
        if (!nextContent()) return false;
        ++m_at; // captions
        int n = 0;
        for (;;) {
            if (!nextContent()) return false;
            const std::string_view row = current();
            if (column(row, 0, 3) == "999" && blank(column(row, 3, std::string_view::npos))) break;
            if (n == kMaxElements) return damaged();
            ++n;
            if (column(row, 0, 3) != textLeft(intRight(n, 3), 3)) return damaged();
            m_chain.setElementCount(n);
            if (!element(row, m_chain.element(n), n == 1)) return false;
            ++m_at;
        }
        ++m_at;
        return true;
    }

    bool element(std::string_view row, Element& e, bool first) {
        long long predecessor = 0;
        if (!integerField(column(row, 3, 6), predecessor) || predecessor < INT32_MIN || predecessor > INT32_MAX) {
            return damaged();
        }
        e.predecessor = static_cast<std::int32_t>(predecessor);
        const std::string_view sign = column(row, 9, 4);
        if (sign != "   +" && sign != "   -") return damaged();
        e.positive = sign.back() == '+' ? 1 : 0;
        const std::string_view distance = column(row, 13, 10);
        if (!number(distance, e.distance) || !number(column(row, 23, 9), e.upperDev) ||
            !number(column(row, 32, 9), e.lowerDev)) {
            return false;
        }
        if (first) m_chain.decimals = decimalsOf(distance);
        const std::string_view isoCell = column(row, 41, 8);
        if (!isoCell.starts_with("   ")) return damaged();
        const std::string_view iso = trimRight(isoCell.substr(3));
        if (iso != kNoIso) {
            const std::size_t digits = iso.find_first_of("0123456789");
            long long grade = 0;
            if (digits == 0 || digits == std::string_view::npos || digits > 2 ||
                !parseInteger(iso.substr(digits), grade) || grade < 1 || grade > 255) {
                return damaged();
            }
            e.isoLetters = iso.substr(0, digits);
            e.isoGrade = static_cast<std::uint8_t>(grade);
        }
        const std::string_view textCell = column(row, 49, 21);
        if (!textCell.starts_with("   ")) return damaged();
        const std::string_view text = trimRight(textCell.substr(3));
        e.text = text == kNoText ? std::string_view{} : text;
        return true;
    }

    static int decimalsOf(std::string_view field) {
        const std::size_t point = field.find_first_of(".,");
        return point == std::string_view::npos ? 0 : static_cast<int>(trimRight(field).size() - point - 1);
    }

    // The Info table follows the element list when its second line is the row of
    // element 1; the closing table's second line is its captions.
    bool elementRemarks() {
        const int count = m_chain.elementCount();
        if (count < 1) return true;
        if (!nextContent()) return false;
        const std::size_t start = m_at;
        ++m_at;
        long long first = 0;
        if (!nextContent() || !integerField(column(current(), 0, 6), first) || first != 1) {
            m_at = start;
            return true;
        }
        for (int n = 1; n <= count; ++n) {
            if (!nextContent()) return false;
            long long k = 0;
            if (!integerField(column(current(), 0, 6), k) || k != n) return damaged();
            m_chain.element(n).remark = trimRight(column(current(), 6, std::string_view::npos));
            ++m_at;
        }
        return true;
    }

    struct ClosingRow {
        long long from = 0;
        long long to = 0;
        bool resolved = false;
    };

    // A row of a closing table, or false (without failing) when the line starts
    // with something other than two integers.
    bool closingRow(std::string_view row, ClosingRow& r, bool& bad) {
        bad = false;
        if (!integerField(column(row, 0, 3), r.from) || !integerField(column(row, 3, 4), r.to)) return false;
        const std::string_view nominal = column(row, 7, 10);
        long double value = 0;
        if (!blank(nominal) && parseNumber(nominal, value)) {
            r.resolved = true;
            for (auto [from, width] : {std::pair{17, 8}, {25, 8}, {33, 10}, {43, 10}}) {
                if (!parseNumber(column(row, static_cast<std::size_t>(from), static_cast<std::size_t>(width)), value)) {
                    bad = true;
                }
            }
            bad = bad || column(row, 53, 1) != " ";
            return true;
        }
        // A closing dimension that cannot be resolved names its structure error,
        // which starts with a letter, in place of the numbers.
        const std::string_view note = column(row, 7, std::string_view::npos);
        bad = !note.starts_with("   ") || note.size() < 4 || note[3] == ' ' ||
              std::string_view("0123456789+-.,").find(note[3]) != std::string_view::npos;
        return true;
    }

    bool closings() {
        if (!nextContent()) return false;
        m_at += 1; // title of the constant distribution
        if (!nextContent()) return false;
        m_at += 1; // captions
        std::vector<ClosingRow> rows;
        for (;;) {
            if (!nextContent()) return false;
            ClosingRow r;
            bool bad = false;
            if (!closingRow(current(), r, bad)) break;
            if (bad || rows.size() == static_cast<std::size_t>(kMaxClosing)) return damaged();
            if (r.resolved && rows.empty() && m_chain.elementCount() == 0) {
                m_chain.decimals = decimalsOf(column(current(), 7, 10));
            }
            rows.push_back(r);
            m_closingTexts.emplace_back(r.resolved ? trimRight(column(current(), 54, 17)) : std::string_view{});
            ++m_at;
        }
        m_at += 1; // title of the Gaussian distribution
        if (!nextContent()) return false;
        m_at += 1; // captions
        for (const ClosingRow& expected : rows) {
            if (!nextContent()) return false;
            ClosingRow r;
            bool bad = false;
            if (!closingRow(current(), r, bad) || bad || r.from != expected.from || r.to != expected.to ||
                r.resolved != expected.resolved) {
                return damaged();
            }
            ++m_at;
        }
        m_chain.setClosingCount(static_cast<int>(rows.size()));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            ClosingDimension& c = m_chain.closing(static_cast<int>(i) + 1);
            c.fromElement = static_cast<std::int32_t>(rows[i].from);
            c.toElement = static_cast<std::int32_t>(rows[i].to);
            c.text = m_closingTexts[i];
        }
        m_resolved = std::move(rows);
        return true;
    }

    // The remark table of the closing dimensions: a caption in the first column,
    // the second one blank; then one row per closing dimension.
    bool closingRemarks() {
        const int count = m_chain.closingCount();
        while (more() && (blank(current()) || isSeparator(current()))) ++m_at;
        if (count < 1 || !more()) return true;
        const std::string_view caption = current();
        if (caption.size() <= 18 || !blank(caption.substr(18)) || blank(caption.substr(0, 18))) return true;
        ++m_at;
        while (more() && isSeparator(current())) ++m_at;
        // The rows follow one another without separators, and a row may be blank.
        for (int k = 1; k <= count; ++k) {
            if (!more()) return damaged();
            const std::string_view text = trimRight(column(current(), 0, 18));
            ClosingDimension& c = m_chain.closing(k);
            if (m_resolved[static_cast<std::size_t>(k - 1)].resolved && text != c.text.view()) return damaged();
            c.text = text;
            c.remark = trimRight(column(current(), 18, std::string_view::npos));
            ++m_at;
        }
        return true;
    }

    std::string_view m_bytes;
    Chain& m_chain;
    ProjectTexts& m_texts;
    ZamImportResult m_result;
    std::vector<Line> m_lines;
    std::size_t m_at = 0;
    int m_lastLine = 0;
    std::vector<std::string> m_closingTexts;
    std::vector<ClosingRow> m_resolved;
};

std::string failureMessage(const LanguageTexts& t, const ZamImportResult& r, const std::string& path) {
    const std::string name = utf8ToOem(path);
    if (r.status == ZamImportStatus::NotReport) return name + " " + t.main.notZamFormat + " !";
    return name + ": " + t.messages.invalidFile + " (" + t.main.lineWord + " " + intText(r.line) + ")";
}

} // namespace

ZamImportResult parseZamReport(std::string_view bytes, Chain& chain, ProjectTexts& texts) {
    return ReportParser(bytes, chain, texts).run();
}

bool importZamFile(ProgramState& state, const std::string& path) {
    std::string bytes;
    const int io = readWholeFile(path, bytes, kMaxReportBytes);
    if (io != kIoOk) {
        const std::string message = io == kIoReadError ? writeErrorText(io) + "  " + utf8ToOem(path)
                                                        : openForReadingText(utf8ToOem(path));
        state.prompter->showError(withSystemReason(message, lastIoError()));
        state.error.set();
        return false;
    }
    auto fresh = std::make_unique<Chain>();
    ProjectTexts freshTexts;
    const ZamImportResult result = parseZamReport(bytes, *fresh, freshTexts);
    if (result.status != ZamImportStatus::Ok) {
        state.prompter->showError(failureMessage(state.texts, result, path));
        state.error.set();
        return false;
    }
    deriveElementValues(*fresh);
    state.chain = std::move(*fresh);
    state.projectTexts.remarkLines = freshTexts.remarkLines;
    state.file.modified = true;
    return true;
}

} // namespace zam1
