#include "core/exchange/xlsx_reader.h"

#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/exchange/exchange_texts.h"

namespace zam1 {
namespace {

constexpr int kMaxSheetRows = 1048576;
constexpr int kMaxSheetColumns = 16384;  // XFD

// The part of an XML name after its namespace: expat hands "uri\x01local".
std::string_view localName(const XML_Char* name) {
    const std::string_view full(name);
    const std::size_t separator = full.rfind('\x01');
    return separator == std::string_view::npos ? full : full.substr(separator + 1);
}

std::string_view attribute(const XML_Char** attributes, std::string_view name) {
    for (const XML_Char** a = attributes; a[0] != nullptr; a += 2) {
        if (localName(a[0]) == name) return a[1];
    }
    return {};
}

// "1".."1048576"; 0 for anything else.
int rowNumber(std::string_view text) {
    if (text.empty() || text.size() > 7 || text.front() == '0') return 0;
    int row = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return 0;
        row = row * 10 + (c - '0');
    }
    return row <= kMaxSheetRows ? row : 0;
}

// "B12": column 2, row 12. False for anything else and for cells beyond XFD1048576.
bool cellReference(std::string_view text, int& row, int& column) {
    std::size_t letters = 0;
    int c = 0;
    while (letters < text.size() && letters < 3 && text[letters] >= 'A' && text[letters] <= 'Z') {
        c = c * 26 + (text[letters] - 'A' + 1);
        ++letters;
    }
    const int r = rowNumber(text.substr(letters));
    if (letters == 0 || c > kMaxSheetColumns || r == 0) return false;
    row = r;
    column = c;
    return true;
}

std::string referenceText(int row, int column) { return columnLetters(column) + std::to_string(row); }

// One part's events. A handler that finds a fault of its own records it and
// stops the parse.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}

    void stop(ImportProblem problem) {
        if (!m_problem) m_problem = std::move(problem);
        XML_StopParser(m_parser, XML_FALSE);
    }
    void attach(XML_Parser parser) { m_parser = parser; }
    const std::optional<ImportProblem>& problem() const { return m_problem; }

private:
    XML_Parser m_parser = nullptr;
    std::optional<ImportProblem> m_problem;
};

// Expat is C: nothing may unwind through it. A handler that throws stops the parse instead.
template <typename Call>
void guarded(void* data, Call call) {
    auto* handler = static_cast<XmlHandler*>(data);
    try {
        call(*handler);
    } catch (...) {
        handler->stop({0, 0, {}, {}});
    }
}

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    guarded(data, [&](XmlHandler& h) { h.start(localName(name), attributes); });
}
void XMLCALL onEnd(void* data, const XML_Char* name) {
    guarded(data, [&](XmlHandler& h) { h.end(localName(name)); });
}
void XMLCALL onText(void* data, const XML_Char* text, int length) {
    guarded(data, [&](XmlHandler& h) { h.text(std::string_view(text, static_cast<std::size_t>(length))); });
}
// No part of a workbook declares a document type; one that does may be building entity bombs.
void XMLCALL onDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    guarded(data, [](XmlHandler& h) { h.stop({0, 0, {}, {}}); });
}

// How many parts the zip's end record announces, read before libzip builds its
// directory: a workbook has tens of parts, a file of hundreds of thousands of
// empty ones only costs memory. Nullopt when there is no end record to read.
std::optional<std::size_t> announcedParts(std::string_view bytes) {
    constexpr std::size_t kEndRecord = 22;
    constexpr std::size_t kLongestComment = 65535;
    const std::size_t from = bytes.size() > kEndRecord + kLongestComment ? bytes.size() - kEndRecord - kLongestComment : 0;
    const std::size_t at = bytes.substr(from).rfind(std::string_view("PK\x05\x06", 4));
    if (at == std::string_view::npos || from + at + kEndRecord > bytes.size()) return std::nullopt;
    const auto byte = [&](std::size_t offset) { return static_cast<std::size_t>(static_cast<unsigned char>(bytes[from + at + offset])); };
    return byte(10) | byte(11) << 8;  // entries in the whole directory; 0xFFFF announces a zip64 count
}

enum class PartStatus { Ok, Missing, Damaged, TooLarge, BadXml, Refused };

struct ParserDeleter {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
struct ZipFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

class Workbook {
public:
    // Not opened when the end record announces more than `maxParts` parts.
    Workbook(std::string_view bytes, std::size_t maxParts) {
        if (announcedParts(bytes).value_or(0) > maxParts) return;
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
        if (source != nullptr) {
            m_zip = zip_open_from_source(source, ZIP_RDONLY, &error);
            if (m_zip == nullptr) zip_source_free(source);
        }
        zip_error_fini(&error);
    }
    ~Workbook() {
        if (m_zip != nullptr) zip_discard(m_zip);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    bool opened() const { return m_zip != nullptr; }
    // What libzip found, which an end record hidden in a comment may have understated.
    std::size_t parts() const { return static_cast<std::size_t>(std::max<zip_int64_t>(zip_get_num_entries(m_zip, 0), 0)); }
    bool has(const std::string& part) const { return zip_name_locate(m_zip, part.c_str(), ZIP_FL_NOCASE) >= 0; }

    // Unpacks `part` piece by piece into the XML parser, counting what comes out.
    PartStatus parse(const std::string& part, XmlHandler& handler, std::size_t limit) const {
        const zip_int64_t index = zip_name_locate(m_zip, part.c_str(), ZIP_FL_NOCASE);
        if (index < 0) return PartStatus::Missing;
        const std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreateNS(nullptr, '\x01'));
        if (!parser) return PartStatus::Damaged;
        XML_SetUserData(parser.get(), &handler);
        XML_SetElementHandler(parser.get(), onStart, onEnd);
        XML_SetCharacterDataHandler(parser.get(), onText);
        XML_SetStartDoctypeDeclHandler(parser.get(), onDoctype);
        handler.attach(parser.get());
        const auto status = [&](XML_Status parsed) {
            if (parsed != XML_STATUS_ERROR) return PartStatus::Ok;
            return handler.problem() && !handler.problem()->reason.empty() ? PartStatus::Refused : PartStatus::BadXml;
        };
        std::unique_ptr<zip_file_t, ZipFileCloser> file(zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0));
        if (!file) return PartStatus::Damaged;
        std::array<char, 1 << 16> buffer{};
        std::size_t total = 0;
        for (;;) {
            const zip_int64_t got = zip_fread(file.get(), buffer.data(), buffer.size());
            if (got < 0) return PartStatus::Damaged;
            if (got == 0) break;
            total += static_cast<std::size_t>(got);
            if (total > limit) return PartStatus::TooLarge;
            const PartStatus fed = status(XML_Parse(parser.get(), buffer.data(), static_cast<int>(got), XML_FALSE));
            if (fed != PartStatus::Ok) return fed;
        }
        if (zip_fclose(file.release()) != 0) return PartStatus::Damaged;
        return status(XML_Parse(parser.get(), nullptr, 0, XML_TRUE));
    }

private:
    zip_t* m_zip = nullptr;
};

// xl/workbook.xml: the relationship ids of the sheets, in the order of the tabs.
class SheetList final : public XmlHandler {
public:
    std::vector<std::string> ids;
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "sheet") ids.emplace_back(attribute(attributes, "id"));
    }
    void end(std::string_view) override {}
};

// xl/_rels/workbook.xml.rels: where each related part lies and what it is.
class Relationships final : public XmlHandler {
public:
    struct Target {
        std::string type;
        std::string part;
    };
    std::map<std::string, Target, std::less<>> byId;
    void start(std::string_view name, const XML_Char** attributes) override {
        if (name != "Relationship" || attribute(attributes, "TargetMode") == "External") return;
        byId[std::string(attribute(attributes, "Id"))] = {std::string(attribute(attributes, "Type")),
                                                           partName(attribute(attributes, "Target"))};
    }
    void end(std::string_view) override {}
    // The first part of a type ending in "/worksheet" etc., in the order of `ids` when given.
    std::string find(std::string_view typeEnd, const std::vector<std::string>& ids) const {
        const auto fits = [&](const Target& t) { return t.type.ends_with(typeEnd); };
        for (const std::string& id : ids) {
            const auto it = byId.find(id);
            if (it != byId.end() && fits(it->second)) return it->second.part;
        }
        if (!ids.empty()) return {};
        for (const auto& [id, target] : byId) {
            if (fits(target)) return target.part;
        }
        return {};
    }

private:
    // Targets are relative to xl/ unless they start with "/"; "." and ".." are resolved.
    static std::string partName(std::string_view target) {
        std::vector<std::string> segments;
        if (!target.starts_with('/')) segments.emplace_back("xl");
        while (!target.empty()) {
            const std::size_t slash = target.find('/');
            const std::string_view segment = target.substr(0, slash);
            target = slash == std::string_view::npos ? std::string_view() : target.substr(slash + 1);
            if (segment == "..") {
                if (!segments.empty()) segments.pop_back();
            } else if (!segment.empty() && segment != ".") {
                segments.emplace_back(segment);
            }
        }
        std::string part;
        for (const std::string& s : segments) part += (part.empty() ? "" : "/") + s;
        return part;
    }
};

// The texts of the sheet in one block; `ends[i]` is where text i stops.
struct SharedStrings {
    std::string pool;
    std::vector<std::size_t> ends;
    std::size_t count() const { return ends.size(); }
    std::size_t size(std::size_t i) const { return ends[i] - (i == 0 ? 0 : ends[i - 1]); }
    std::string at(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return pool.substr(begin, ends[i] - begin);
    }
};

// The rich-text runs of a string item (<si>, <is>) joined; phonetic guides (<rPh>) left out.
class StringItem {
public:
    void start(std::string_view name) {
        if (name == "rPh") ++m_phonetic;
        if (name == "t" && m_phonetic == 0) m_inText = true;
    }
    void end(std::string_view name) {
        if (name == "rPh" && m_phonetic > 0) --m_phonetic;
        if (name == "t") m_inText = false;
    }
    bool takesText() const { return m_inText; }

private:
    int m_phonetic = 0;
    bool m_inText = false;
};

class SharedStringReader final : public XmlHandler {
public:
    SharedStringReader(SharedStrings& strings, std::size_t limit, std::string_view tooMany)
        : m_strings(strings), m_limit(limit), m_tooMany(tooMany) {}
    void start(std::string_view name, const XML_Char**) override {
        if (name == "si") {
            m_inItem = true;
            m_item = {};
        } else if (m_inItem) {
            m_item.start(name);
        }
    }
    void end(std::string_view name) override {
        if (name != "si") {
            m_item.end(name);
            return;
        }
        m_inItem = false;
        if (m_strings.count() >= m_limit) return stop({0, 0, {}, std::string(m_tooMany)});
        m_strings.ends.push_back(m_strings.pool.size());
    }
    void text(std::string_view text) override {
        if (m_inItem && m_item.takesText()) m_strings.pool += text;
    }

private:
    SharedStrings& m_strings;
    std::size_t m_limit;
    std::string_view m_tooMany;
    bool m_inItem = false;
    StringItem m_item;
};

// The cells of <sheetData>, placed by their references, or after the one
// before where a row or cell has none.
class WorksheetReader final : public XmlHandler {
public:
    WorksheetReader(const SharedStrings& strings, const XlsxLimits& limits, const ExchangeTexts& words)
        : m_strings(strings), m_limits(limits), m_words(words) {}
    ImportRows rows;

    void start(std::string_view name, const XML_Char** attributes) override {
        if (name == "sheetData") m_inData = true;
        if (!m_inData) return;
        if (name == "row") {
            const std::string_view r = attribute(attributes, "r");
            m_row = r.empty() ? m_row + 1 : rowNumber(r);
            m_column = 0;
            if (m_row == 0 || m_row > kMaxSheetRows) stop({0, 0, r.empty() ? referenceText(m_row, 1) : std::string(r), badReference()});
        } else if (name == "c") {
            startCell(attributes);
        } else if (m_inCell) {
            if (name == "v") m_inValue = true;
            if (name == "is") m_inInline = true;
            if (m_inInline) m_inline.start(name);
        }
    }
    void end(std::string_view name) override {
        if (name == "sheetData") m_inData = false;
        if (!m_inCell) return;
        if (name == "v") m_inValue = false;
        if (m_inInline) m_inline.end(name);
        if (name == "is") m_inInline = false;
        if (name == "c") endCell();
    }
    void text(std::string_view text) override {
        if (!m_kept) return;
        if (m_inValue) m_value += text;
        if (m_inInline && m_inline.takesText()) m_inlineText += text;
    }

private:
    std::optional<std::size_t> stringIndex(std::string_view text) const {
        std::size_t i = 0;
        if (text.empty() || text.size() > 9) return std::nullopt;
        for (const char c : text) {
            if (c < '0' || c > '9') return std::nullopt;
            i = i * 10 + static_cast<std::size_t>(c - '0');
        }
        if (i >= m_strings.count()) return std::nullopt;
        return i;
    }

    std::string badReference() const { return std::string(m_words.badCellReference); }

    void startCell(const XML_Char** attributes) {
        const std::string_view r = attribute(attributes, "r");
        int row = m_row;
        int column = m_column + 1;
        if (!r.empty() ? !cellReference(r, row, column) : row == 0 || column > kMaxSheetColumns) {
            return stop({0, 0, r.empty() ? referenceText(std::max(row, 1), column) : std::string(r), badReference()});
        }
        m_row = row;
        m_column = column;
        m_inCell = true;
        m_kept = row <= m_limits.rows && column <= m_limits.columns;
        m_type = attribute(attributes, "t");
        m_value.clear();
        m_inlineText.clear();
        m_inline = {};
    }

    void endCell() {
        m_inCell = m_inValue = m_inInline = false;
        if (!m_kept) return;
        ImportCell cell;
        if (m_type == "s") {
            const std::optional<std::size_t> i = stringIndex(m_value);
            if (!i) return stop({m_row, m_column, m_value, std::string(m_words.badSharedString)});
            if (!handOut(m_strings.size(*i))) return;
            cell.text = m_strings.at(*i);
        } else if (m_type == "inlineStr") {
            cell.text = m_inlineText;
        } else if (m_type == "e") {
            cell = {ImportCell::Kind::Error, m_value};
        } else if (m_type == "b") {
            cell = {ImportCell::Kind::Number, m_value == "1" || m_value == "true" ? "1" : "0"};
            if (m_value.empty()) cell.text.clear();
        } else if (m_type.empty() || m_type == "n") {
            cell = {ImportCell::Kind::Number, m_value};
        } else {
            cell.text = m_value;  // "str" (a formula's text), "d" (a date as ISO text)
        }
        if (cell.text.empty() && cell.kind != ImportCell::Kind::Error) return;
        if (m_type != "s" && !handOut(cell.text.size())) return;
        place(std::move(cell));
    }

    // Counts the bytes of a cell's text against the limit; false (the parse
    // stopped) beyond it.
    bool handOut(std::size_t bytes) {
        m_textBytes += bytes;
        if (m_textBytes <= m_limits.textBytes) return true;
        stop({0, 0, referenceText(m_row, m_column), std::string(m_words.tooMuchText)});
        return false;
    }

    void place(ImportCell cell) {
        const auto r = static_cast<std::size_t>(m_row - 1);
        const auto c = static_cast<std::size_t>(m_column - 1);
        if (rows.size() <= r) rows.resize(r + 1);
        if (rows[r].size() <= c) rows[r].resize(c + 1);
        rows[r][c] = std::move(cell);
    }

    const SharedStrings& m_strings;
    const XlsxLimits& m_limits;
    const ExchangeTexts& m_words;
    bool m_inData = false;
    bool m_inCell = false;
    bool m_kept = false;
    bool m_inValue = false;
    bool m_inInline = false;
    int m_row = 0;
    int m_column = 0;
    std::size_t m_textBytes = 0;
    std::string m_type;
    std::string m_value;
    std::string m_inlineText;
    StringItem m_inline;
};

class SheetReading {
public:
    SheetReading(std::string_view bytes, const ExchangeTexts& words, const XlsxLimits& limits)
        : m_book(bytes, limits.parts), m_words(words), m_limits(limits) {}

    XlsxSheet read() {
        if (!m_book.opened()) return refused({0, 0, {}, std::string(m_words.notAWorkbook)});
        if (m_book.parts() > m_limits.parts) return refused({0, 0, {}, std::string(m_words.notAWorkbook)});
        SheetList sheets;
        Relationships relations;
        if (!parseOptional("xl/workbook.xml", sheets) || !parseOptional("xl/_rels/workbook.xml.rels", relations)) {
            return refused(*m_problem);
        }
        // A workbook without its own listing has its first sheet where the usual name puts it;
        // when neither is there, the listed part is the one named as missing.
        const std::string usual = "xl/worksheets/sheet1.xml";
        std::string sheetPart = relations.find("/worksheet", sheets.ids);
        if (sheetPart.empty() || (!m_book.has(sheetPart) && m_book.has(usual))) sheetPart = usual;
        std::string stringsPart = relations.find("/sharedStrings", {});
        if (stringsPart.empty()) stringsPart = "xl/sharedStrings.xml";
        SharedStrings strings;
        SharedStringReader stringReader(strings, m_limits.sharedStrings, m_words.tooManyStrings);
        if (!parseOptional(stringsPart, stringReader)) return refused(*m_problem);
        WorksheetReader sheet(strings, m_limits, m_words);
        if (!parse(sheetPart, sheet)) return refused(*m_problem);
        return {std::move(sheet.rows), std::nullopt};
    }

private:
    XlsxSheet refused(ImportProblem problem) const { return {{}, std::move(problem)}; }

    bool parseOptional(const std::string& part, XmlHandler& handler) {
        return !m_book.has(part) || parse(part, handler);
    }

    bool parse(const std::string& part, XmlHandler& handler) {
        const auto fail = [&](std::string_view reason) {
            m_problem = ImportProblem{0, 0, part, std::string(reason)};
            return false;
        };
        switch (m_book.parse(part, handler, m_limits.partBytes)) {
        case PartStatus::Ok: return true;
        case PartStatus::Missing: return fail(m_words.missingPart);
        case PartStatus::Damaged: return fail(m_words.damagedPart);
        case PartStatus::TooLarge: return fail(m_words.partTooLarge);
        case PartStatus::BadXml: return fail(m_words.badXml);
        case PartStatus::Refused: break;
        }
        m_problem = handler.problem();
        if (m_problem->row == 0 && m_problem->cell.empty()) m_problem->cell = part;
        return false;
    }

    Workbook m_book;
    const ExchangeTexts& m_words;
    const XlsxLimits& m_limits;
    std::optional<ImportProblem> m_problem;
};

} // namespace

bool looksLikeZip(std::string_view bytes) { return bytes.starts_with(std::string_view("PK\x03\x04", 4)); }

XlsxSheet readFirstWorksheet(std::string_view bytes, const ExchangeTexts& words, const XlsxLimits& limits) {
    // An empty file would open as an empty archive.
    if (bytes.size() < 22) return {{}, ImportProblem{0, 0, {}, std::string(words.notAWorkbook)}};
    try {
        SheetReading reading(bytes, words, limits);
        return reading.read();
    } catch (const std::exception&) {
        return {{}, ImportProblem{0, 0, {}, std::string(words.notAWorkbook)}};
    }
}

} // namespace zam1
