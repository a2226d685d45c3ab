#pragma once
// The TXT CAD code: one tab-separated record per line for import into other
// programs, geometry and text only (no layers, colours or line types). Numbers
// are fixed-point with the configured CAD decimals and the configured decimal
// separator. Lines end with CR LF.

#include <iosfwd>
#include <string>
#include <string_view>

#include "core/graphics/drawing_backend.h"
#include "core/graphics/drawing_settings.h"

namespace zam1 {

class TxtCadWriter final : public DrawingBackend {
public:
    TxtCadWriter(std::ostream& out, const DrawingSettings& settings);

    void openSheet(const Sheet& sheet) override;
    void beginPage() override;
    void endPage() override;
    void finish() override;

    void setLayer(int layer) override { (void)layer; }
    void setTextStyle(const TextStyle& style) override { (void)style; }

    void line(Point a, Point b) override;
    void circle(Point centre, long double radius) override;
    void arc(Point centre, long double startDeg, long double endDeg, long double radius) override;
    void solid(const Quad& quad) override;
    void text(std::string_view oem, Point at) override;

    bool beginBlock(std::string_view name) override;
    void endBlock(bool keep = true) override;
    void insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                     long double yScale) override;

private:
    void keyword(std::string_view word);
    void field(long double value);
    void endLine();
    void flushIfLarge();

    std::ostream& m_out;
    const DrawingSettings& m_settings;
    char m_separator;
    std::string m_buffer;
    bool m_firstField = true;
    bool m_inBlocks = false;
    bool m_finished = false;
};

} // namespace zam1
