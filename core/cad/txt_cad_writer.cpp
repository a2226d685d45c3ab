#include "core/cad/txt_cad_writer.h"

#include <ostream>

#include "core/cad/cad_format.h"

namespace zam1 {
namespace {

constexpr std::size_t kFlushSize = 1u << 16;

} // namespace

TxtCadWriter::TxtCadWriter(std::ostream& out, const DrawingSettings& settings)
    : m_out(out), m_settings(settings), m_separator(settings.numbers.decimalComma ? ',' : '.') {
    m_buffer.reserve(kFlushSize + 4096);
}

void TxtCadWriter::flushIfLarge() {
    if (m_buffer.size() < kFlushSize) return;
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

// The keyword carries the tab that separates it from its first field.
void TxtCadWriter::keyword(std::string_view word) {
    flushIfLarge();
    m_buffer += word;
    m_buffer += '\t';
    m_firstField = true;
}

void TxtCadWriter::field(long double value) {
    if (!m_firstField) m_buffer += '\t';
    m_firstField = false;
    appendFixed(m_buffer, value, m_settings.cadDecimals, m_separator);
}

void TxtCadWriter::endLine() { m_buffer += "\r\n"; }

void TxtCadWriter::openSheet(const Sheet& s) {
    keyword("MINMAX");
    for (long double v : {s.xmin, s.ymin, s.xmax, s.ymax}) field(v);
    endLine();
}

void TxtCadWriter::beginPage() {
    m_inBlocks = false;
    m_buffer += "SECTION ENTITIES\r\n";
}

void TxtCadWriter::endPage() { m_inBlocks = false; }

void TxtCadWriter::finish() {
    if (m_finished) return;
    m_finished = true;
    m_buffer += "EOF\r\n";
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
    m_out.flush();
}

void TxtCadWriter::line(Point a, Point b) {
    keyword("LINE");
    for (long double v : {a.x, a.y, b.x, b.y}) field(v);
    endLine();
}

void TxtCadWriter::circle(Point c, long double radius) {
    keyword("CIRCLE");
    for (long double v : {c.x, c.y, radius}) field(v);
    endLine();
}

void TxtCadWriter::arc(Point c, long double startDeg, long double endDeg, long double radius) {
    if (isFullCircle(startDeg, endDeg)) {
        circle(c, radius);
        return;
    }
    keyword("ARC");
    for (long double v : {c.x, c.y, radius, startDeg, endDeg}) field(v);
    endLine();
}

void TxtCadWriter::solid(const Quad& q) {
    keyword("SOLID");
    for (const Point& p : q) {
        field(p.x);
        field(p.y);
    }
    endLine();
}

void TxtCadWriter::text(std::string_view oem, Point at) {
    keyword("TEXT");
    field(at.x);
    field(at.y);
    m_buffer += '\t';
    m_buffer += cadText(oem, withoutDxfEscapes(m_settings.cadTextMode));
    endLine();
}

bool TxtCadWriter::beginBlock(std::string_view name) {
    if (!m_inBlocks) m_buffer += "SECTION BLOCKS\r\n";
    m_inBlocks = true;
    keyword("BLOCK");
    m_buffer += cadPlain(name);
    endLine();
    return true;
}

void TxtCadWriter::endBlock(bool keep) {
    (void)keep;
    m_buffer += "END OF BLOCK\r\n";
}

void TxtCadWriter::insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                               long double yScale) {
    keyword("INSERT");
    m_buffer += cadPlain(name);
    m_firstField = false;
    for (long double v : {at.x, at.y, rotationDeg, xScale, yScale}) field(v);
    endLine();
}

} // namespace zam1
