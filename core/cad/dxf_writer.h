#pragma once
// ASCII DXF of the R12 kind: HEADER with the texts' code page, extents and
// limits, TABLES with three line types, the layers and one text style, optional
// BLOCKS, ENTITIES, EOF. Entities carry only their layer; colour and line type
// come from the layer table. Lines end with CR LF. Checked against ezdxf
// (readfile and audit; it knows only the ANSI code pages, so DOS850 is read
// there by naming the encoding) and, in CAD text mode 4 (texts as "\U+XXXX"
// escapes under ANSI_1252, pure ASCII), LibreCAD's dxf2pdf as well; modes 1
// and 2 are not read right by LibreCAD.
//
// A writer whose sheet was never opened writes bare entities followed by EOF:
// the screen's temporary block files are written that way.

#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "core/graphics/drawing_backend.h"
#include "core/graphics/drawing_settings.h"

namespace zam1 {

class Prompter;

class DxfWriter final : public DrawingBackend {
public:
    // `prompter` receives the message about an unknown block name (may be null).
    DxfWriter(std::ostream& out, const DrawingSettings& settings, Prompter* prompter = nullptr);

    void openSheet(const Sheet& sheet) override;
    void writeTables() override { tables(2); }
    // The line-type count of variant 0, 1 or 2 and its layer entries.
    void tables(int variant);
    void beginPage() override;
    void endPage() override;
    void finish() override;

    void setLayer(int layer) override;
    void setTextStyle(const TextStyle& style) override { m_style = style; }

    void line(Point a, Point b) override;
    void circle(Point centre, long double radius) override;
    void arc(Point centre, long double startDeg, long double endDeg, long double radius) override;
    void solid(const Quad& quad) override;
    void text(std::string_view oem, Point at) override;

    bool beginBlock(std::string_view name) override;
    void endBlock(bool keep = true) override;
    void insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                     long double yScale) override;

    const std::string& layerName() const { return m_layerName; }

private:
    enum class Section { None, Header, Tables, Blocks, Entities };

    void pair(int code, std::string_view value);
    void number(int code, long double value);
    void shortValue(int code, long double value);
    void entity(std::string_view type);
    void openSection(std::string_view name, Section section);
    void closeSection();
    void layerEntry(std::string_view name, int colour, std::string_view lineType);
    void layerTable(int variant);
    void flushIfLarge();

    std::ostream& m_out;
    const DrawingSettings& m_settings;
    Prompter* m_prompter;
    std::string m_buffer;
    Section m_section = Section::None;
    bool m_headerWritten = false;
    bool m_tablesWritten = false;
    bool m_finished = false;
    std::string m_layerName = "0";
    TextStyle m_style;
    std::set<std::string, std::less<>> m_blocks;
};

// The writer of a screen block's temporary file: bare DXF entities (see ScreenBackend).
std::unique_ptr<DrawingBackend> makeDxfBlockWriter(std::ostream& out, const DrawingSettings& settings);

} // namespace zam1
