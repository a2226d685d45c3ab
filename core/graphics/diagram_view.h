#pragma once
// The value window of the diagrams. Each diagram places its items in its own
// value coordinates, which are mapped onto an area of the sheet (160 x 120 mm at
// the origin). Lines are clipped to the window; circles, texts and arrowheads are
// not. Sizes given in "h-units" are lengths in y value units, so a diagram's
// labels grow and shrink with its rows.

#include <string_view>

namespace zam1 {

class DrawingLayer;

struct ValueWindow {
    long double xmin = 0;
    long double xmax = 1;
    long double ymin = 0;
    long double ymax = 1;
};

// Cuts the segment to the window (points on an edge within 1e-12 count as
// inside). False when no part of it lies inside.
bool clipSegment(const ValueWindow& w, long double& x1, long double& y1, long double& x2, long double& y2);

// Arrowhead direction codes of the scheme and the to-scale diagram.
enum ArrowCode : int { kArrowRight = 0, kArrowRight1 = 1, kArrowUp = 2, kArrowLeft = 3, kArrowDown = 4 };

class DiagramView {
public:
    static constexpr long double kAreaWidthMm = 160;
    static constexpr long double kAreaHeightMm = 120;

    explicit DiagramView(DrawingLayer& layer) : m_layer(layer) {}

    DrawingLayer& layer() { return m_layer; }

    // The whole sheet area, value window 0..1 in both directions.
    void reset();
    // A window without spread in x or y maps nothing: every drawing call is then dropped.
    void setWindow(long double xmin, long double xmax, long double ymin, long double ymax);
    const ValueWindow& window() const { return m_window; }
    bool usable() const { return m_usable; }

    long double sheetX(long double x) const;
    long double sheetY(long double y) const;
    long double lengthX(long double v) const;
    long double lengthY(long double v) const;

    // Clipped to the window widened by 1 % of its ranges; see clipSegment.
    void line(long double x1, long double y1, long double x2, long double y2);
    void rectangle(long double x1, long double y1, long double x2, long double y2);
    void circle(long double x, long double y, long double radiusH);
    // Text height and width in h-units, the angle in degrees.
    void textStyle(long double widthH, long double heightH, long double angleDeg);
    void text(std::string_view oem, long double x, long double y);
    void moveTo(long double x, long double y);
    void textLine(std::string_view oem);
    // A filled triangle with its tip at (x, y), `lengthMm` long and a quarter as
    // wide, pointing the way of `code`; other codes draw nothing.
    void arrow(long double x, long double y, int code, long double lengthMm);

private:
    bool withinMargin(long double x, long double y) const;

    DrawingLayer& m_layer;
    ValueWindow m_window;
    bool m_usable = true;
};

} // namespace zam1
