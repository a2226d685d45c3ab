#include "core/graphics/diagram_view.h"

#include <cmath>

#include "core/graphics/drawing_layer.h"

namespace zam1 {
namespace {

constexpr long double kEdgeTolerance = 1e-12L;
constexpr long double kClipMargin = 0.01L;

bool insideWindow(const ValueWindow& w, long double x, long double y) {
    return x >= w.xmin - kEdgeTolerance && x <= w.xmax + kEdgeTolerance && y >= w.ymin - kEdgeTolerance &&
           y <= w.ymax + kEdgeTolerance;
}

// One boundary of the Liang-Barsky cut: p·t <= q must hold along the segment.
bool narrow(long double p, long double q, long double& t0, long double& t1) {
    if (std::fabs(p) < kEdgeTolerance * kEdgeTolerance) return q >= -kEdgeTolerance;
    const long double t = q / p;
    if (p < 0) {
        if (t > t1) return false;
        if (t > t0) t0 = t;
    } else {
        if (t < t0) return false;
        if (t < t1) t1 = t;
    }
    return true;
}

} // namespace

bool clipSegment(const ValueWindow& w, long double& x1, long double& y1, long double& x2, long double& y2) {
    const long double dx = x2 - x1;
    const long double dy = y2 - y1;
    long double t0 = 0;
    long double t1 = 1;
    const long double e = kEdgeTolerance;
    if (!narrow(-dx, x1 - w.xmin + e, t0, t1) || !narrow(dx, w.xmax - x1 + e, t0, t1) ||
        !narrow(-dy, y1 - w.ymin + e, t0, t1) || !narrow(dy, w.ymax - y1 + e, t0, t1)) {
        return false;
    }
    const long double ax = x1;
    const long double ay = y1;
    if (t1 < 1) {
        x2 = ax + t1 * dx;
        y2 = ay + t1 * dy;
    }
    if (t0 > 0) {
        x1 = ax + t0 * dx;
        y1 = ay + t0 * dy;
    }
    return true;
}

void DiagramView::reset() { setWindow(0, 1, 0, 1); }

void DiagramView::setWindow(long double xmin, long double xmax, long double ymin, long double ymax) {
    m_window = {xmin, xmax, ymin, ymax};
    m_usable = std::isfinite(xmax - xmin) && std::isfinite(ymax - ymin) && xmax != xmin && ymax != ymin;
}

long double DiagramView::sheetX(long double x) const {
    return (x - m_window.xmin) / (m_window.xmax - m_window.xmin) * kAreaWidthMm;
}

long double DiagramView::sheetY(long double y) const {
    return (y - m_window.ymin) / (m_window.ymax - m_window.ymin) * kAreaHeightMm;
}

long double DiagramView::lengthX(long double v) const { return v / (m_window.xmax - m_window.xmin) * kAreaWidthMm; }

long double DiagramView::lengthY(long double v) const { return v / (m_window.ymax - m_window.ymin) * kAreaHeightMm; }

bool DiagramView::withinMargin(long double x, long double y) const {
    const long double mx = kClipMargin * (m_window.xmax - m_window.xmin);
    const long double my = kClipMargin * (m_window.ymax - m_window.ymin);
    return x >= m_window.xmin - mx && x <= m_window.xmax + mx && y >= m_window.ymin - my && y <= m_window.ymax + my;
}

void DiagramView::line(long double x1, long double y1, long double x2, long double y2) {
    if (!m_usable) return;
    if (!withinMargin(x1, y1) || !withinMargin(x2, y2)) {
        // A line with both ends outside the window is dropped even where it crosses it.
        if (!insideWindow(m_window, x1, y1) && !insideWindow(m_window, x2, y2)) return;
        if (!clipSegment(m_window, x1, y1, x2, y2)) return;
    }
    m_layer.line(sheetX(x1), sheetY(y1), sheetX(x2), sheetY(y2));
}

void DiagramView::rectangle(long double x1, long double y1, long double x2, long double y2) {
    line(x1, y1, x1, y2);
    line(x1, y2, x2, y2);
    line(x2, y2, x2, y1);
    line(x2, y1, x1, y1);
}

void DiagramView::circle(long double x, long double y, long double radiusH) {
    if (m_usable) m_layer.circle(sheetX(x), sheetY(y), lengthY(radiusH));
}

void DiagramView::textStyle(long double widthH, long double heightH, long double angleDeg) {
    if (m_usable) m_layer.textStyle(0, lengthY(widthH), lengthY(heightH), angleDeg);
}

void DiagramView::text(std::string_view oem, long double x, long double y) {
    if (m_usable) m_layer.text(oem, sheetX(x), sheetY(y));
}

void DiagramView::moveTo(long double x, long double y) {
    if (m_usable) m_layer.moveTo(sheetX(x), sheetY(y));
}

void DiagramView::textLine(std::string_view oem) {
    if (m_usable) m_layer.textLine(oem);
}

void DiagramView::arrow(long double x, long double y, int code, long double lengthMm) {
    if (!m_usable) return;
    long double ux = 0;
    long double uy = 0;
    switch (code) {
    case kArrowRight:
    case kArrowRight1: ux = 1; break;
    case kArrowUp: uy = 1; break;
    case kArrowLeft: ux = -1; break;
    case kArrowDown: uy = -1; break;
    default: return;
    }
    const long double tx = sheetX(x);
    const long double ty = sheetY(y);
    const long double bx = tx - ux * lengthMm;
    const long double by = ty - uy * lengthMm;
    const long double half = lengthMm / 8;  // the base is a quarter of the length wide
    const Point side1{bx - uy * half, by + ux * half};
    const Point side2{bx + uy * half, by - ux * half};
    m_layer.solid(tx, ty, side1.x, side1.y, side2.x, side2.y, side2.x, side2.y);
}

} // namespace zam1
