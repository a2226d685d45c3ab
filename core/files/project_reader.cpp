#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "core/session/file_names.h"
#include "core/session/program_state.h"
#include "core/platform/file_messages.h"
#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/model/input_limits.h"
#include "core/model/resolution.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/records/documentation.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// A project is a few hundred kilobytes at most; anything far beyond is no project.
constexpr std::size_t kMaxProjectBytes = 64u << 20;
constexpr int kVersionMajor = 11;
constexpr int kVersionMinor = 1;

// Hands out the lines of the file; CR LF and LF both end a line.
class LineCursor {
public:
    explicit LineCursor(std::string_view data) : m_data(data) {}

    bool atEnd() const { return m_pos >= m_data.size(); }
    int lineNumber() const { return m_line; }

    bool next(std::string_view& line) {
        if (atEnd()) return false;
        const std::size_t end = m_data.find('\n', m_pos);
        const std::size_t stop = end == std::string_view::npos ? m_data.size() : end;
        line = m_data.substr(m_pos, stop - m_pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        m_pos = end == std::string_view::npos ? m_data.size() : end + 1;
        ++m_line;
        return true;
    }

private:
    std::string_view m_data;
    std::size_t m_pos = 0;
    int m_line = 0;
};

bool isSeparator(std::string_view line) {
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    if (line.empty()) return false;
    for (char c : line) {
        if (c != '-') return false;
    }
    return true;
}

std::string_view withoutBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

// An unreadable integer reads as 0; a readable one beyond the 32-bit range stays
// beyond every table (the nearest 32-bit value), so that a predecessor or an end
// of 99999999999 is a broken structure and never quietly element 0.
std::int32_t integerOrZero(std::string_view line) {
    constexpr long long kLow = std::numeric_limits<std::int32_t>::min();
    constexpr long long kHigh = std::numeric_limits<std::int32_t>::max();
    long long value = 0;
    if (!parseInteger(line, value)) {
        std::string_view digits = withoutBlanks(line);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return 0;
        return static_cast<std::int32_t>(negative ? kLow : kHigh);
    }
    return static_cast<std::int32_t>(std::clamp(value, kLow, kHigh));
}

long double realOrZero(std::string_view line) {
    const long double value = numberOrZero(line);
    return std::isfinite(value) ? value : 0.0L;
}

// An element's length: a text that is no number reads as 0, but a number beyond
// the length limit (or beyond any float) is no length of ours and refuses the
// element, rather than coming back as 0.
bool lengthOrZero(std::string_view line, long double& value) {
    long double read = 0;
    switch (readNumber(line, read)) {
    case NumberReading::Read:
        value = read;
        return lengthWithinLimit(read);
    case NumberReading::OutOfRange: return false;
    case NumberReading::NotANumber: break;
    }
    value = 0;
    return true;
}

bool countInRange(std::string_view line, int maximum, int& count) {
    long long value = 0;
    if (!parseInteger(line, value) || value < 0 || value > maximum) return false;
    count = static_cast<int>(value);
    return true;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t bar = line.find('|');
        if (bar == std::string_view::npos) {
            if (!line.empty()) fields.push_back(line);
            return fields;
        }
        fields.push_back(line.substr(0, bar));
        line.remove_prefix(bar + 1);
    }
}

std::string_view fieldAt(const std::vector<std::string_view>& fields, std::size_t i) {
    return i < fields.size() ? fields[i] : std::string_view{};
}

// "Version 11.1    notice": the version and whether it is older or newer than ours.
void readVersion(std::string_view line, ProjectReadResult& result, bool& older) {
    line.remove_prefix(std::min<std::size_t>(line.size(), 8));
    const std::size_t blank = line.find(' ');
    result.fileVersion = std::string(line.substr(0, blank));
    const std::string_view version = result.fileVersion;
    const std::size_t dot = version.find('.');
    long long major = 0;
    long long minor = 0;
    const bool readable = parseInteger(version.substr(0, dot), major) &&
                          (dot == std::string_view::npos || parseInteger(version.substr(dot + 1), minor));
    if (!readable) {
        older = true; // an unknown version is read leniently
        return;
    }
    older = major < kVersionMajor || (major == kVersionMajor && minor < kVersionMinor);
    result.newerVersion = major > kVersionMajor || (major == kVersionMajor && minor > kVersionMinor);
}

class ProjectParser {
public:
    ProjectParser(std::string_view bytes, Chain& chain, ProjectTexts& texts, Documentation& docs)
        : m_in(bytes), m_bytes(bytes), m_chain(chain), m_texts(texts), m_docs(docs) {}

    ProjectReadResult run() {
        if (!header() || !remarks() || !elements() || !closingDimensions() || !sigma()) return m_result;
        // The trailing blocks came with later versions: an older file may end
        // before any of them, and the rest keeps what a new project has.
        using Block = bool (ProjectParser::*)();
        for (Block block : {&ProjectParser::changeRecords, &ProjectParser::drawingInfo, &ProjectParser::documents,
                            &ProjectParser::drawingNames, &ProjectParser::elementRemarks, &ProjectParser::decimals}) {
            if (m_in.atEnd() && m_older) break;
            if (!(this->*block)()) return m_result;
        }
        return m_result;
    }

private:
    bool fail(ProjectReadStatus status) {
        m_result.status = status;
        m_result.line = m_in.lineNumber() + (m_in.atEnd() ? 1 : 0);
        return false;
    }
    bool line(std::string_view& out) { return m_in.next(out) || fail(ProjectReadStatus::InvalidFormat); }
    bool separator() {
        std::string_view l;
        return line(l) && (isSeparator(l) || fail(ProjectReadStatus::InvalidFormat));
    }
    bool count(int maximum, int& value) {
        std::string_view l;
        return line(l) && (countInRange(l, maximum, value) || fail(ProjectReadStatus::InvalidFormat));
    }

    bool header() {
        if (m_bytes.find('\0') != std::string_view::npos) return fail(ProjectReadStatus::NotProjectFormat);
        std::string_view lines[5];
        for (auto& l : lines) {
            if (!m_in.next(l)) return fail(ProjectReadStatus::NotProjectFormat);
        }
        if (!isSeparator(lines[0]) || !isSeparator(lines[4]) || !lines[2].starts_with("Version")) {
            return fail(ProjectReadStatus::NotProjectFormat);
        }
        readVersion(lines[2], m_result, m_older);
        return true;
    }

    bool remarks() {
        for (auto& remark : m_texts.remarkLines) {
            std::string_view l;
            if (!line(l)) return false;
            remark = l;
        }
        return true;
    }

    bool elements() {
        int n = 0;
        std::string_view l;
        if (!count(kMaxElements, n) || !line(l) || !separator()) return false;
        m_chain.setElementCount(n);
        for (int i = 1; i <= n; ++i) {
            if (!element(m_chain.element(i))) {
                m_result.element = i;
                m_result.status = ProjectReadStatus::ElementError;
                return false;
            }
        }
        return true;
    }

    bool element(Element& e) {
        std::string_view l[9];
        for (auto& x : l) {
            if (!line(x)) return false;
        }
        if (!isSeparator(l[8])) return fail(ProjectReadStatus::InvalidFormat);
        e.predecessor = integerOrZero(l[0]);
        const std::string_view direction = withoutBlanks(l[1]);
        e.positive = (direction == "+" || direction == "1" || direction == "+1") ? 1 : 0;
        if (!lengthOrZero(l[2], e.distance) || !lengthOrZero(l[3], e.upperDev) || !lengthOrZero(l[4], e.lowerDev)) {
            return false;
        }
        e.isoLetters = l[5];
        const std::int32_t grade = integerOrZero(l[6]);
        e.isoGrade = grade >= 0 && grade <= 255 ? static_cast<std::uint8_t>(grade) : 0;
        e.text = l[7];
        return true;
    }

    bool closingDimensions() {
        std::string_view l;
        int m = 0;
        if (!line(l) || !count(kMaxClosing, m) || !separator()) return false;
        m_chain.setClosingCount(m);
        for (int k = 1; k <= m; ++k) {
            std::string_view from, to, text, remark;
            if (!line(from) || !line(to) || !line(text) || !line(remark) || !separator()) return false;
            ClosingDimension& c = m_chain.closing(k);
            c.fromElement = integerOrZero(from);
            c.toElement = integerOrZero(to);
            c.text = text;
            c.remark = remark;
        }
        return true;
    }

    bool sigma() {
        std::string_view l;
        if (!line(l)) return false;
        m_chain.productionSigma = realOrZero(l);
        return true;
    }

    bool changeRecords() {
        std::string_view l;
        int c = 0;
        if (!line(l) || !count(kMaxChanges, c) || !separator()) return false;
        for (int i = 0; i < c; ++i) {
            std::string_view id, date, editor, description;
            if (!line(id) || !line(date) || !line(editor) || !line(description) || !separator()) return false;
            ChangeRecord& r = m_docs.changes[static_cast<std::size_t>(i)];
            r.changeId = id;
            r.changeDate = date;
            r.changeEditor = editor;
            std::string restored(description);
            for (char& ch : restored) {
                if (ch == '|') ch = '\r';
            }
            r.changeDescription = restored;
        }
        m_docs.changeCount = c;
        return true;
    }

    bool drawingInfo() {
        std::string_view l;
        if (!line(l)) return false;
        const auto fields = splitFields(l);
        DrawingInfo& info = m_docs.drawing;
        ShortString<10>* entries[] = {&info.checkedDate,  &info.checkedName,  &info.standardsDate,
                                      &info.standardsName, &info.approvalDate, &info.approvalName};
        for (std::size_t i = 0; i < std::size(entries); ++i) *entries[i] = fieldAt(fields, i);
        int rows = 0;
        if (!countInRange(fieldAt(fields, 6), kMaxTextRows, rows)) return fail(ProjectReadStatus::InvalidFormat);
        std::string_view drawnDate, replaces, replacedBy, drawnName;
        if (!line(drawnDate) || !line(replaces) || !line(replacedBy) || !line(drawnName)) return false;
        info.drawnDate = drawnDate;
        info.replaces = replaces;
        info.replacedBy = replacedBy;
        info.drawnName = drawnName;
        for (int i = 0; i < rows; ++i) {
            if (!line(l)) return false;
            const auto row = splitFields(l);
            DrawingTextRow& r = info.textRows[static_cast<std::size_t>(i)];
            r.x = realOrZero(fieldAt(row, 0));
            r.y = realOrZero(fieldAt(row, 1));
            r.h = realOrZero(fieldAt(row, 2));
            r.phi = realOrZero(fieldAt(row, 3));
            r.text = fieldAt(row, 4);
        }
        info.textRowCount = rows;
        return true;
    }

    bool documents() {
        std::string_view l;
        int slots = 0;
        if (!line(l) || !count(kDocumentSlots, slots) || !separator()) return false;
        for (int i = 0; i < slots; ++i) {
            std::string_view program, document;
            if (!line(program) || !line(document) || !separator()) return false;
            m_docs.documents[static_cast<std::size_t>(i)].programPath = program;
            m_docs.documents[static_cast<std::size_t>(i)].documentPath = document;
        }
        return true;
    }

    bool drawingNames() {
        std::string_view name, number, name2;
        if (!line(name) || !line(number) || !line(name2)) return false;
        m_texts.drawingName = name;
        m_texts.drawingNumber = number;
        m_texts.drawingName2 = name2;
        return true;
    }

    bool elementRemarks() {
        for (int n = 1; n <= m_chain.elementCount(); ++n) {
            std::string_view l;
            if (!line(l)) return false;
            m_chain.element(n).remark = l;
        }
        return true;
    }

    bool decimals() {
        std::string_view l;
        if (!line(l)) return false;
        const std::int32_t d = integerOrZero(l);
        m_chain.decimals = d >= 2 && d <= 6 ? d : 3; // the element table offers 2 to 6
        return true;
    }

    LineCursor m_in;
    std::string_view m_bytes;
    Chain& m_chain;
    ProjectTexts& m_texts;
    Documentation& m_docs;
    ProjectReadResult m_result;
    bool m_older = false;
};

std::string failureMessage(const ProjectReadResult& r, const std::string& path) {
    const LanguageTexts& t = texts();
    const std::string name = utf8ToOem(path);
    switch (r.status) {
    case ProjectReadStatus::NotProjectFormat: return name + " " + t.main.notZamFormat + " !";
    case ProjectReadStatus::ElementError: return name + ": " + t.main.errorAtElement + " " + intText(r.element);
    default: return name + ": " + t.messages.invalidFile + " (" + t.main.lineWord + " " + intText(r.line) + ")";
    }
}

} // namespace

ProjectReadResult parseProjectFile(std::string_view bytes, Chain& chain, ProjectTexts& texts, Documentation& docs) {
    return ProjectParser(bytes, chain, texts, docs).run();
}

bool readProjectFile(const std::string& path, Chain& chain, ProjectTexts& texts, Documentation& docs,
                     std::string_view today, Prompter& prompter, ErrorFlag& error) {
    std::string bytes;
    const int io = readWholeFile(path, bytes, kMaxProjectBytes);
    if (io != kIoOk) {
        const std::string message = io == kIoReadError ? writeErrorText(io) + "  " + utf8ToOem(path)
                                                        : openForReadingText(utf8ToOem(path));
        prompter.showError(withSystemReason(message, lastIoError()));
        error.set();
        return false;
    }
    auto freshChain = std::make_unique<Chain>();
    ProjectTexts freshTexts;
    auto freshDocs = std::make_unique<Documentation>(docs);
    resetDocumentation(*freshDocs, today);
    const ProjectReadResult result = parseProjectFile(bytes, *freshChain, freshTexts, *freshDocs);
    if (result.status != ProjectReadStatus::Ok) {
        prompter.showError(failureMessage(result, path));
        error.set();
        return false;
    }
    deriveElementValues(*freshChain);
    chain = std::move(*freshChain);
    texts = freshTexts;
    docs = *freshDocs;
    const MessageTexts& m = zam1::texts().messages;
    prompter.showStatus(utf8ToOem(path) + " " + m.loaded);
    if (result.newerVersion) prompter.showNote(utf8ToOem(path) + ": " + m.newerData + " " + result.fileVersion);
    return true;
}

} // namespace zam1

namespace zam1 {

bool readProjectFile(ProgramState& state, const std::string& path) {
    const std::string today = todayText(state);
    const FileStamp stamp = fileStamp(path);  // before reading: a change while reading counts as a change
    if (!readProjectFile(path, state.chain, state.projectTexts, state.documentation, today, *state.prompter,
                         state.error)) {
        return false;
    }
    state.file.filesOfThisRun.insert(normalPath(path));
    state.file.stampsOfThisRun[normalPath(path)] = stamp;
    return true;
}

} // namespace zam1
