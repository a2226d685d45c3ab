#include "core/cad/iges_writer.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <ostream>

#include "core/cad/cad_format.h"
#include "core/text/file_numbers.h"
#include "core/platform/prompter.h"

namespace zam1 {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;
constexpr std::size_t kDataColumns = 72;
constexpr std::size_t kParameterColumns = 64;
constexpr std::size_t kFlushSize = 1u << 16;
constexpr std::size_t kParameterChunk = 1u << 20;
constexpr std::size_t kMembersPerRecord = 12;
constexpr std::size_t kBlockNameLength = 8;

constexpr std::string_view kProgramName = "ZAM1";
constexpr std::string_view kVersion = ZAM1_VERSION;

// CAD colours 0..15 to the IGES colour numbers.
constexpr std::array<int, 16> kIgesColours = {0, 2, 5, 3, 7, 4, 6, 0, 8, 10, 11, 12, 13, 14, 15, 1};

// A control character would cut the fixed-column record it stands in: a blank.
std::string hollerith(std::string_view raw) {
    const std::string text = cadPlain(raw);
    std::string out = std::to_string(text.size());
    out += 'H';
    out += text;
    return out;
}

// Where the parameter record that starts at `from` in `piece` ends: at the end
// of the piece when that fits; at the record's last column when a string runs
// across it, since readers join columns 1-64 of the records and a padded break
// would put blanks into the string; else after the last delimiting "," that fits
// (commas inside strings are text), or at the last column when there is none.
// Strings are found from the start of the piece: a record may begin inside one.
std::size_t parameterRecordEnd(std::string_view piece, std::size_t from) {
    const std::size_t limit = from + kParameterColumns;
    if (piece.size() <= limit) return piece.size();
    std::size_t lastComma = 0;
    std::size_t at = 0;  // the start of a parameter
    while (at < limit) {
        std::size_t end = at;
        while (end < piece.size() && std::isdigit(static_cast<unsigned char>(piece[end]))) ++end;
        std::size_t count = 0;
        if (end > at && end < piece.size() && piece[end] == 'H' &&
            std::from_chars(piece.data() + at, piece.data() + end, count).ec == std::errc()) {
            const std::size_t first = end + 1;
            end = first + std::min(count, piece.size() - first);
            if (first <= limit && limit < end) return limit;
        }
        end = std::min(piece.find_first_of(",;", end), piece.size());
        if (end >= limit) break;
        if (piece[end] == ',' && end >= from) lastComma = end + 1;
        at = end + 1;
    }
    return lastComma != 0 ? lastComma : limit;
}

void appendSequence(std::string& out, char section, int number) {
    char digits[8] = {'0', '0', '0', '0', '0', '0', '0', '\0'};
    for (int i = 6; i >= 0 && number > 0; --i, number /= 10) digits[i] = static_cast<char>('0' + number % 10);
    out += section;
    out.append(digits, 7);
}

void appendRight(std::string& out, std::string_view value, std::size_t width) {
    if (value.size() < width) out.append(width - value.size(), ' ');
    out += value.substr(0, width);
}

void appendIntRight(std::string& out, long long value, std::size_t width) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    appendRight(out, std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer)), width);
}

void appendInt(std::string& out, long long value) {
    char buffer[24];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, r.ptr);
}

std::string twoDigits(int v) {
    return std::string{static_cast<char>('0' + (v / 10) % 10), static_cast<char>('0' + v % 10)};
}

} // namespace

int igesColour(int cadColour) {
    if (cadColour > 15) cadColour = cadColour % 16 + 1;
    if (cadColour < 0) return 0;
    return kIgesColours[static_cast<std::size_t>(cadColour)];
}

IgesWriter::IgesWriter(std::ostream& out, const DrawingSettings& settings, std::string fileName, DateTime now,
                       Prompter* prompter)
    : m_out(out), m_settings(settings), m_fileName(std::move(fileName)), m_now(now), m_prompter(prompter) {
    m_buffer.reserve(kFlushSize + 4096);
}

void IgesWriter::flushIfLarge() {
    if (m_buffer.size() < kFlushSize) return;
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

// A start or global record; a global text longer than the record continues on
// the next one, which the section's free format allows.
void IgesWriter::sectionRecord(std::string& out, std::string_view data, char section, int& counter) {
    do {
        const std::string_view piece = data.substr(0, kDataColumns);
        data.remove_prefix(piece.size());
        out += piece;
        out.append(kDataColumns - piece.size(), ' ');
        appendSequence(out, section, ++counter);
        out += "\r\n";
    } while (!data.empty());
}

void IgesWriter::openSheet(const Sheet& sheet) {
    if (m_started) return;
    m_started = true;
    const std::string version = std::string(kProgramName) + " V" + std::string(kVersion);
    sectionRecord(m_buffer, "IGES-Datei generiert von " + std::string(kProgramName), 'S', m_s);
    sectionRecord(m_buffer, version + " - Zeichnungsausgabe als IGES", 'S', m_s);
    sectionRecord(m_buffer, "Einheit mm, ebene Zeichnung in z = 0", 'S', m_s);

    NumberFormat point = m_settings.numbers;
    point.decimalComma = false;
    const std::string date = twoDigits(m_now.year % 100) + twoDigits(m_now.month) + twoDigits(m_now.day);
    const std::string global[5] = {
        ",," + hollerith("FILE") + "," + hollerith(m_fileName) + "," + hollerith(version) + "," +
            hollerith(std::string(kProgramName) + " IGES " + std::string(kVersion)) + ",",
        "16,38,6,99,15,",
        hollerith(m_fileName) + ",1.0,2," + hollerith("MM") + ",32767,3.2767D1,",
        hollerith(date + ".081107") + ",1.0D-8," + shortNumberText(std::max(sheet.xmax, sheet.ymax), point) + ",",
        hollerith(kProgramName) + "," + hollerith("KORVANT") + ",4,0;",
    };
    for (const std::string& g : global) sectionRecord(m_buffer, g, 'G', m_g);
}

void IgesWriter::coordinate(std::string& out, long double value) const {
    appendFixed(out, value, std::clamp(m_settings.numbers.decimals, 0, 10));
}

void IgesWriter::parameterRecord(std::string_view data, int entry) {
    // Pieces of fixed size: a long parameter section is never copied to grow.
    if (m_parameters.empty() || m_parameters.back().size() + 96 > kParameterChunk) {
        m_parameters.emplace_back().reserve(kParameterChunk);
    }
    std::string& out = m_parameters.back();
    out += data;
    out.append(kParameterColumns - data.size(), ' ');
    appendIntRight(out, entry, kDataColumns - kParameterColumns);
    appendSequence(out, 'P', ++m_p);
    out += "\r\n";
}

// Each piece starts a new record; parameterRecordEnd says where the next begins.
int IgesWriter::writeParameters(std::string_view piece, int entry) {
    int records = 0;
    for (std::size_t at = 0; at < piece.size(); ++records) {
        const std::size_t end = parameterRecordEnd(piece, at);
        parameterRecord(piece.substr(at, end - at), entry);
        at = end;
    }
    return records;
}

void IgesWriter::directoryField(std::string_view value) { appendRight(m_buffer, value, 8); }

void IgesWriter::directoryNumber(long long value) { appendIntRight(m_buffer, value, 8); }

int IgesWriter::emit(const Entity& e) {
    flushIfLarge();
    m_entry += 2;
    if (m_inBlock && !e.dependent) m_members.push_back(m_entry);
    int records = writeParameters(e.first, m_entry) + writeParameters(e.second, m_entry);
    if (e.more) {
        for (const std::string& piece : *e.more) records += writeParameters(piece, m_entry);
    }
    directoryNumber(e.type);
    directoryNumber(m_pointer);
    directoryField("1");
    directoryNumber(m_lineFont);
    directoryNumber(m_colour);
    directoryField("");
    directoryField(e.matrix);
    directoryField("");
    m_buffer += (m_inBlock || e.dependent) ? "00010000" : "00000000";
    appendSequence(m_buffer, 'D', ++m_d);
    m_buffer += "\r\n";
    directoryNumber(e.type);
    directoryField("");
    directoryNumber(m_colour);
    directoryNumber(records);
    directoryField(e.form);
    directoryField("");
    directoryField("");
    directoryField(e.label.substr(0, kBlockNameLength));
    directoryField("");
    appendSequence(m_buffer, 'D', ++m_d);
    m_buffer += "\r\n";
    m_pointer += records;
    return m_entry;
}

void IgesWriter::setTextStyle(const TextStyle& style) {
    if (m_recording) m_recording->setTextStyle(style);
    m_style = style;
}

void IgesWriter::setLayer(int layer) {
    if (m_recording) m_recording->setLayer(layer);
    m_layer = layer;
    int cad = 0;
    if (m_settings.layerColourMode == 0 && layer >= 0 && layer <= 5) {
        cad = layer == 0 ? 7 : m_settings.layerColours[static_cast<std::size_t>(layer - 1)];
        m_lineFont = layer == 1 ? 4 : (layer == 2 ? 2 : 1);
    } else {
        const bool configured = m_settings.layerColourMode == 0 && layer >= 16 && layer <= 31;
        cad = configured ? m_settings.layerColours16to31[static_cast<std::size_t>(layer - 16)] : layer % 16 + 1;
        if (m_settings.layerColourMode == 0) m_lineFont = 1;
    }
    m_colour = igesColour(cad);
}

void IgesWriter::line(Point a, Point b) {
    if (m_recording) m_recording->line(a, b);
    std::string& p = m_first;
    p = "110,";
    coordinate(p, a.x);
    p += ',';
    coordinate(p, a.y);
    p += ",0.0,";
    coordinate(p, b.x);
    p += ',';
    coordinate(p, b.y);
    p += ",0.0;";
    emit({110, p, {}, "", "", "", false});
}

void IgesWriter::circle(Point c, long double radius) {
    if (m_recording) m_recording->circle(c, radius);
    emitArc(c, 0, 360, radius);
}

void IgesWriter::arc(Point c, long double startDeg, long double endDeg, long double radius) {
    if (m_recording) m_recording->arc(c, startDeg, endDeg, radius);
    emitArc(c, startDeg, endDeg, radius);
}

void IgesWriter::emitArc(Point c, long double startDeg, long double endDeg, long double radius) {
    Point start = pointOnCircle(c, radius, startDeg);
    Point end = pointOnCircle(c, radius, endDeg);
    if (isFullCircle(startDeg, endDeg)) end = start = Point{c.x + radius, c.y};
    std::string& p = m_first;
    p = "100,0.0";
    for (long double v : {c.x, c.y, start.x, start.y, end.x, end.y}) {
        p += ',';
        coordinate(p, v);
    }
    p += ';';
    emit({100, p, {}, "0", "", "", false});
}

void IgesWriter::solid(const Quad& quad) {
    if (m_recording) m_recording->solid(quad);
    // The outline as a closed path, in the reverse of its drawing order.
    const Quad q = solidOutline(quad);
    std::string& p = m_first;
    p = "106,1,5,0.0";
    for (std::size_t i : {0u, 3u, 2u, 1u, 0u}) {
        p += ',';
        coordinate(p, q[i].x);
        p += ',';
        coordinate(p, q[i].y);
    }
    p += ';';
    emit({106, p, {}, "0", "11", "", false});
}

void IgesWriter::text(std::string_view oem, Point at) {
    if (m_recording) m_recording->text(oem, at);
    const std::string content = cadText(oem, withoutDxfEscapes(m_settings.cadTextMode));
    const auto n = static_cast<long double>(content.size());
    std::string& p = m_first;
    p = "212,1,";
    appendInt(p, static_cast<long long>(content.size()));
    p += ',';
    coordinate(p, n * m_style.height * m_style.widthFactor);
    p += ',';
    coordinate(p, m_style.height);
    p += ",1,,";
    appendFixed(p, m_style.angle * kPi / 180, 6);
    p += ",0,0,";
    coordinate(p, at.x);
    p += ',';
    coordinate(p, at.y);
    p += ",0.0,";
    m_second.clear();
    appendInt(m_second, static_cast<long long>(content.size()));
    m_second += 'H';
    m_second += content;
    m_second += ';';
    emit({212, p, m_second, "0", "", "", false});
}

bool IgesWriter::beginBlock(std::string_view name) {
    m_inBlock = true;
    m_blockName = cadPlain(name.substr(0, kBlockNameLength));
    m_members.clear();
    m_recording = std::make_unique<BlockRecorder>();
    return true;
}

void IgesWriter::endBlock(bool keep) {
    (void)keep;
    if (!m_inBlock) return;
    m_inBlock = false;
    std::vector<std::string> pieces;
    pieces.push_back("308,0," + hollerith(m_blockName) + "," + std::to_string(m_members.size()) + ",");
    if (m_members.empty()) pieces.back().back() = ';';
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        if (i % kMembersPerRecord == 0 && i > 0) pieces.emplace_back();
        pieces.back() += std::to_string(m_members[i]);
        pieces.back() += i + 1 == m_members.size() ? ';' : ',';
    }
    const int entry = emit({308, {}, {}, "", "", m_blockName, false, &pieces});
    m_blocks.push_back({m_blockName, entry, std::move(m_recording)});
}

void IgesWriter::insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                             long double yScale) {
    const std::string key = cadPlain(name.substr(0, kBlockNameLength));
    const Block* block = nullptr;
    for (const Block& b : m_blocks) {
        if (b.name == key) block = &b;
    }
    if (!block) {
        if (m_prompter) m_prompter->showError("Blockname " + std::string(name) + " not found !");
        return;
    }
    if (std::fabs(xScale - 1) > 1e-9L || std::fabs(yScale - 1) > 1e-9L) {
        drawInPlace(*block, {at, rotationDeg, xScale, yScale});
        return;
    }
    if (m_recording) m_recording->insertBlock(name, at, rotationDeg, xScale, yScale);
    const std::string definition = std::to_string(block->entry);
    if (std::fabs(rotationDeg) < 1e-9L) {
        std::string p = "408," + definition + ",";
        coordinate(p, at.x);
        p += ',';
        coordinate(p, at.y);
        p += ",0.0,1.0;";
        emit({408, p, {}, "", "", "", false});
        return;
    }
    insertTurned(definition, at, rotationDeg);
}

// A turned instance: the matrix first (it depends on the instance), then the
// instance that points at it.
void IgesWriter::insertTurned(const std::string& definition, Point at, long double rotationDeg) {
    const Point unit = pointOnCircle({0, 0}, 1, rotationDeg);
    const long double c = unit.x;
    const long double s = unit.y;
    std::string m = "124,";
    const auto entry = [&m](long double v) { appendFixed(m, v, 6); m += ','; };
    entry(c);
    entry(-s);
    m += "0.0,";
    coordinate(m, at.x);
    m += ',';
    entry(s);
    entry(c);
    m += "0.0,";
    coordinate(m, at.y);
    m += ",0.0,0.0,1.0,0.0;";
    const std::string matrix = std::to_string(emit({124, m, {}, "", "", "", true}));
    const std::string instance = "408," + definition + ",0.0,0.0,0.0,1.0;";
    emit({408, instance, {}, matrix, "", "", false});
}

// The block's entities as plain entities of the drawing; the writer keeps its
// own layer and style. Recording stays on: inside a block they belong to it.
void IgesWriter::drawInPlace(const Block& block, const BlockPlacement& placement) {
    const int layer = m_layer;
    const TextStyle style = m_style;
    block.content->replay(*this, placement);
    setLayer(layer);
    setTextStyle(style);
}

void IgesWriter::finish() {
    if (m_finished) return;
    m_finished = true;
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
    for (const std::string& piece : m_parameters) m_out.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    m_parameters.clear();
    std::string t;
    appendSequence(t, 'S', m_s);
    appendSequence(t, 'G', m_g);
    appendSequence(t, 'D', m_d);
    appendSequence(t, 'P', m_p);
    t.append(kDataColumns - t.size(), ' ');
    appendSequence(t, 'T', 1);
    m_buffer += t;
    m_buffer += "\r\n";
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
    m_out.flush();
}

} // namespace zam1
