#pragma once
// The one interface behind the drawing output layer: the screen (display list),
// DXF, IGES, TXT CAD code and plot back-ends implement it. Coordinates arrive in
// sheet millimetres with the drawing origin already added, angles in degrees
// counter-clockwise, texts in the stored (OEM) code page, left/baseline aligned.

#include <array>
#include <string_view>

namespace zam1 {

struct Point {
    long double x = 0;
    long double y = 0;
};

// A filled quadrilateral with the vertex order of a CAD solid: the filled area is
// the triangles (1, 2, 3) and (2, 3, 4), so the outline runs 1, 2, 4, 3. A
// triangle repeats its third point as the fourth; repeating the first would
// leave CAD readers nothing to fill.
using Quad = std::array<Point, 4>;

// The outline of a solid as a plain polygon, in drawing order 1, 2, 4, 3: the
// area a CAD reader fills, so the screen shows what the file will.
Quad solidOutline(const Quad& q);

struct Sheet {
    long double xmin = 0;
    long double ymin = 0;
    long double xmax = 160;
    long double ymax = 120;
};

// The text style as the layer hands it on: the caller's font number, width and
// height (mm) and angle, plus the derived CAD width factor.
struct TextStyle {
    int font = 0;
    long double width = 0;
    long double height = 3.5L;
    long double angle = 0;
    long double widthFactor = 0.7L;
};

class DrawingBackend {
public:
    virtual ~DrawingBackend() = default;

    virtual void openSheet(const Sheet& sheet) = 0;
    virtual void writeTables() {}
    virtual void beginPage() = 0;
    virtual void endPage() = 0;
    // Completes the output; the layer commits the file after it. A file writer
    // dropped before finish leaves its stream incomplete, never touched after.
    virtual void finish() = 0;

    virtual void setLayer(int layer) = 0;
    virtual void setTextStyle(const TextStyle& style) = 0;
    virtual void setScreenLineStyle(int style) { (void)style; }

    virtual void line(Point a, Point b) = 0;
    virtual void circle(Point centre, long double radius) = 0;
    virtual void arc(Point centre, long double startDeg, long double endDeg, long double radius) = 0;
    virtual void solid(const Quad& quad) = 0;
    virtual void text(std::string_view oem, Point at) = 0;

    // False when the block cannot be recorded (the screen's block file).
    virtual bool beginBlock(std::string_view name) = 0;
    // Always closes the block; `keep` false discards what it recorded, where it can.
    virtual void endBlock(bool keep = true) = 0;
    virtual void insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                             long double yScale) = 0;
};

// The point at angleDeg on the circle; whole multiples of 90 degrees are exact.
Point pointOnCircle(Point centre, long double radius, long double angleDeg);

// True when the arc from startDeg to endDeg is a whole circle: equal angles, or
// 0 to 360 and 360 to 0, each within 1e-5.
bool isFullCircle(long double startDeg, long double endDeg);

} // namespace zam1
