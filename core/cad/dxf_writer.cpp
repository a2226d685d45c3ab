#include "core/cad/dxf_writer.h"
#include "core/text/ascii_case.h"

#include <algorithm>
#include <cctype>
#include <ostream>

#include "core/cad/cad_format.h"
#include "core/text/file_numbers.h"
#include "core/platform/prompter.h"

namespace zam1 {
namespace {

constexpr std::size_t kFlushSize = 1u << 16;

// Group codes are right-aligned in three characters.
void appendCode(std::string& out, int code) {
    if (code < 10) out += "  ";
    else if (code < 100) out += ' ';
    out += std::to_string(code);
    out += "\r\n";
}

struct LineType {
    std::string_view name;
    std::string_view description;
    std::string_view pattern[12];
};

constexpr LineType kLineTypes[] = {
    {"CONTINUOUS", "Ausgezogene Linie", {" 73", "0", " 40", "0.0"}},
    {"DASHDOT", "--. --. --.-",
     {" 73", "4", " 40", "1.0", " 49", "0.5", " 49", "-0.25", " 49", "0.0", " 49", "-0.25"}},
    {"DASHED", "- - - - - - ", {" 73", "2", " 40", "0.375", " 49", "0.25", " 49", "-0.125"}},
};

} // namespace

std::unique_ptr<DrawingBackend> makeDxfBlockWriter(std::ostream& out, const DrawingSettings& settings) {
    return std::make_unique<DxfWriter>(out, settings);
}

DxfWriter::DxfWriter(std::ostream& out, const DrawingSettings& settings, Prompter* prompter)
    : m_out(out), m_settings(settings), m_prompter(prompter) {
    m_buffer.reserve(kFlushSize + 4096);
}

void DxfWriter::flushIfLarge() {
    if (m_buffer.size() < kFlushSize) return;
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
}

// Every value is one line: a control character in it (a layer name from zam1.cfg
// with a bare CR) would break the file's pairs, so it becomes a blank.
void DxfWriter::pair(int code, std::string_view value) {
    appendCode(m_buffer, code);
    const std::size_t from = m_buffer.size();
    m_buffer += value;
    cleanControlCharacters(m_buffer, from);
    m_buffer += "\r\n";
}

void DxfWriter::number(int code, long double value) {
    appendCode(m_buffer, code);
    appendFixed(m_buffer, value, m_settings.cadDecimals);
    m_buffer += "\r\n";
}

void DxfWriter::shortValue(int code, long double value) {
    NumberFormat point = m_settings.numbers;
    point.decimalComma = false;
    pair(code, shortNumberText(value, point));
}

void DxfWriter::entity(std::string_view type) {
    flushIfLarge();
    pair(0, type);
    pair(8, m_layerName);
}

void DxfWriter::openSection(std::string_view name, Section section) {
    closeSection();
    pair(0, "SECTION");
    pair(2, name);
    m_section = section;
}

void DxfWriter::closeSection() {
    if (m_section == Section::None) return;
    pair(0, "ENDSEC");
    m_section = Section::None;
}

void DxfWriter::openSheet(const Sheet& s) {
    if (m_headerWritten) return;
    m_headerWritten = true;
    openSection("HEADER", Section::Header);
    // Without it readers take the texts for Windows-1252; first, for readers that
    // look only at the start of the file.
    pair(9, "$DWGCODEPAGE");
    pair(3, cadTextCodePage(m_settings.cadTextMode));
    const struct { std::string_view name; long double x, y; } vars[] = {
        {"$EXTMIN", s.xmin, s.ymin}, {"$EXTMAX", s.xmax, s.ymax},
        {"$LIMMIN", s.xmin, s.ymin}, {"$LIMMAX", s.xmax, s.ymax},
    };
    for (const auto& v : vars) {
        pair(9, v.name);
        number(10, v.x);
        number(20, v.y);
    }
    pair(9, "$LTSCALE");
    pair(40, "15");
    closeSection();
}

void DxfWriter::layerEntry(std::string_view name, int colour, std::string_view lineType) {
    pair(0, "LAYER");
    pair(2, name);
    pair(70, "0");
    pair(62, std::to_string(m_settings.layerMonochrome ? 1 : colour));
    pair(6, lineType);
}

void DxfWriter::layerTable(int variant) {
    pair(0, "TABLE");
    pair(2, "LAYER");
    pair(70, "24");
    if (variant == 1) {
        for (int n = 0; n <= 15; ++n) layerEntry(std::to_string(n), n + 1, "CONTINUOUS");
    } else {
        static constexpr std::string_view kTypes[5] = {"DASHDOT", "DASHED", "CONTINUOUS", "CONTINUOUS", "CONTINUOUS"};
        layerEntry("0", 1, "CONTINUOUS");
        for (std::size_t i = 0; i < 5; ++i) {
            const std::string& name = m_settings.layerNames[i];
            layerEntry(name.empty() ? std::to_string(i + 1) : name, m_settings.layerColours[i], kTypes[i]);
        }
    }
    if (variant == 2) {
        for (int n = 16; n <= 31; ++n) {
            layerEntry(std::to_string(n), m_settings.layerColours16to31[static_cast<std::size_t>(n - 16)], "CONTINUOUS");
        }
    }
}

void DxfWriter::tables(int variant) {
    if (m_tablesWritten || !m_headerWritten) return;
    m_tablesWritten = true;
    openSection("TABLES", Section::Tables);
    pair(0, "TABLE");
    pair(2, "LTYPE");
    pair(70, variant == 0 ? "6" : (variant == 1 ? "17" : "23"));
    for (const LineType& t : kLineTypes) {
        pair(0, "LTYPE");
        pair(2, t.name);
        pair(70, "64");
        pair(3, t.description);
        pair(72, "65");
        for (std::size_t i = 0; i + 1 < std::size(t.pattern) && !t.pattern[i].empty(); i += 2) {
            m_buffer += t.pattern[i];
            m_buffer += "\r\n";
            m_buffer += t.pattern[i + 1];
            m_buffer += "\r\n";
        }
    }
    pair(0, "ENDTAB");
    layerTable(variant);
    pair(0, "ENDTAB");
    pair(0, "TABLE");
    pair(2, "STYLE");
    pair(70, "1");
    pair(0, "STYLE");
    pair(2, "STANDARD");
    pair(70, "0");
    pair(40, "0.0");
    pair(41, "1.0");
    pair(50, "0.0");
    pair(71, "0");
    pair(42, "3.5");
    pair(3, asciiUpper(m_settings.cadTextStyle));
    pair(4, "");
    m_buffer += "0\r\nENDTAB\r\n";
    closeSection();
}

void DxfWriter::beginPage() {
    if (m_headerWritten) {
        writeTables();
        openSection("ENTITIES", Section::Entities);
    }
}

void DxfWriter::endPage() {
    if (m_section == Section::Entities) closeSection();
}

void DxfWriter::finish() {
    if (m_finished) return;
    m_finished = true;
    closeSection();
    pair(0, "EOF");
    m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
    m_buffer.clear();
    m_out.flush();
}

void DxfWriter::setLayer(int layer) {
    const bool named = m_settings.layerColourMode == 0 && layer >= 1 && layer <= 5;
    if (layer == 0) {
        m_layerName.assign(1, '0');  // not = "0": GCC 12 warns about that falsely
    } else if (named && !m_settings.layerNames[static_cast<std::size_t>(layer - 1)].empty()) {
        m_layerName = m_settings.layerNames[static_cast<std::size_t>(layer - 1)];
    } else {
        m_layerName = std::to_string(layer);
    }
}

void DxfWriter::line(Point a, Point b) {
    entity("LINE");
    number(10, a.x);
    number(20, a.y);
    number(11, b.x);
    number(21, b.y);
}

void DxfWriter::circle(Point c, long double radius) {
    entity("CIRCLE");
    number(10, c.x);
    number(20, c.y);
    number(40, radius);
}

void DxfWriter::arc(Point c, long double startDeg, long double endDeg, long double radius) {
    if (isFullCircle(startDeg, endDeg)) {
        circle(c, radius);
        return;
    }
    entity("ARC");
    number(10, c.x);
    number(20, c.y);
    number(40, radius);
    number(50, startDeg);
    number(51, endDeg);
}

void DxfWriter::solid(const Quad& q) {
    entity("SOLID");
    for (int i = 0; i < 4; ++i) {
        number(10 + i, q[static_cast<std::size_t>(i)].x);
        number(20 + i, q[static_cast<std::size_t>(i)].y);
    }
}

void DxfWriter::text(std::string_view oem, Point at) {
    entity("TEXT");
    number(10, at.x);
    number(20, at.y);
    number(40, m_style.height);
    pair(1, cadText(oem, m_settings.cadTextMode));
    pair(7, "STANDARD");
    shortValue(41, m_style.widthFactor);
    shortValue(50, m_style.angle);
    shortValue(51, m_settings.cadTextAngle);
}

bool DxfWriter::beginBlock(std::string_view name) {
    if (m_headerWritten) {
        writeTables();
        if (m_section != Section::Blocks) openSection("BLOCKS", Section::Blocks);
    }
    m_blocks.emplace(name);
    pair(0, "BLOCK");
    pair(8, m_layerName);
    pair(2, name);
    pair(70, "0");
    pair(10, "0.0");
    pair(20, "0.0");
    return true;
}

void DxfWriter::endBlock(bool keep) {
    (void)keep;
    pair(0, "ENDBLK");
}

void DxfWriter::insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                            long double yScale) {
    // A reference to a block this file does not define would make it unreadable.
    if (m_headerWritten && !m_blocks.contains(name)) {
        if (m_prompter) m_prompter->showError("Blockname " + std::string(name) + " not found !");
        return;
    }
    entity("INSERT");
    pair(2, name);
    number(10, at.x);
    number(20, at.y);
    number(41, xScale);
    number(42, yScale);
    number(50, rotationDeg);
}

} // namespace zam1
