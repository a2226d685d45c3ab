// Zoom and pan of the graphics window: the keys and the rubber band change the
// scale rectangle; the mapping follows through SetScale.

#include <algorithm>
#include <cmath>

#include "core/graphics/graphics_window.h"

namespace zam1 {
namespace {

int roundInt(long double v) { return static_cast<int>(std::llrint(v)); }

} // namespace

bool GraphicsWindow::processKey(int key) {
    const PixelRect s = m_scale;
    const long double p = m_settings.panFactor;
    const long double z = m_settings.zoomFactor > 0 ? m_settings.zoomFactor : 1.02L;
    const int dx = roundInt(p * (s.x1 - s.x0));
    const int dy = roundInt(p * (s.y1 - s.y0));
    const int dy5 = roundInt(5 * p * (s.y1 - s.y0));
    const int cx = (s.x0 + s.x1) / 2;
    const int cy = (s.y0 + s.y1) / 2;
    switch (key) {
    case kKeyEscape:
    case kKeyF5: ResetZoom(); return true;
    case kKeyLeft: SetScale(s.x0 + dx, s.y0, s.x1 + dx, s.y1); return true;
    case kKeyRight: SetScale(s.x0 - dx, s.y0, s.x1 - dx, s.y1); return true;
    case kKeyUp: SetScale(s.x0, s.y0 - dy, s.x1, s.y1 - dy); return true;
    case kKeyDown: SetScale(s.x0, s.y0 + dy, s.x1, s.y1 + dy); return true;
    case kKeyPageUp: SetScale(s.x0, s.y0 - dy5, s.x1, s.y1 - dy5); return true;
    case kKeyPageDown: SetScale(s.x0, s.y0 + dy5, s.x1, s.y1 + dy5); return true;
    case kKeyAdd:
    case kKeySubtract: {
        const long double f = key == kKeyAdd ? 1 / z : z;
        const int hx = roundInt((s.x1 - s.x0) * f) / 2;
        const int hy = roundInt((s.y1 - s.y0) * f) / 2;
        SetScale(cx - hx, cy - hy, cx + hx, cy + hy);
        return true;
    }
    default: return false;
    }
}

bool GraphicsWindow::zoomAbout(int px, int py, bool zoomIn) {
    const long double z = m_settings.zoomFactor > 0 ? m_settings.zoomFactor : 1.02L;
    const long double f = zoomIn ? 1 / z : z;
    const long double w = m_viewport.x1 - m_viewport.x0;
    const long double h = m_viewport.y1 - m_viewport.y0;
    const long double dx = m_world.xmax - m_world.xmin;
    const long double dy = m_world.ymax - m_world.ymin;
    if (w == 0 || h == 0 || dx == 0 || dy == 0 || m_kx == 0 || m_ky == 0) return false;
    // Both factors scale by 1/f, so the point under the cursor stays when the
    // visible region's corner moves by the cursor's offset times (f - 1).
    const PixelRect s = m_scale;
    const long double x0 = s.x0 - (px - m_viewport.x0) * (f - 1) / m_kx * w / dx;
    const long double y0 = s.y0 - (m_viewport.y1 - py) * (f - 1) / m_ky * h / dy;
    const int nx0 = roundInt(x0);
    const int ny0 = roundInt(y0);
    const int nx1 = roundInt(x0 + (s.x1 - s.x0) * f);
    const int ny1 = roundInt(y0 + (s.y1 - s.y0) * f);
    if (nx0 == nx1 || ny0 == ny1) return false;
    SetScale(nx0, ny0, nx1, ny1);
    return true;
}

bool GraphicsWindow::FormMouseDown(MouseButton button, int px, int py) {
    const bool afterDoubleClick = m_doubleClick;
    m_doubleClick = false;
    if (button == MouseButton::Right) {
        ResetZoom();
        return true;
    }
    if (button != MouseButton::Left) return false;
    if (afterDoubleClick) {
        RestoreLimit();
        ResetZoom();
        ReSetWindow();
        return true;
    }
    if (!m_rubberBand) {
        m_rubberBand = true;
        m_bandX0 = m_bandX1 = px;
        m_bandY0 = m_bandY1 = py;
    }
    return false;
}

bool GraphicsWindow::FormMouseMove(int px, int py, PixelRect& erase, PixelRect& draw) {
    if (!m_rubberBand) return false;
    erase = {m_bandX0, m_bandY0, m_bandX1, m_bandY1};
    m_bandX1 = px;
    m_bandY1 = py;
    draw = {m_bandX0, m_bandY0, m_bandX1, m_bandY1};
    return true;
}

bool GraphicsWindow::FormMouseUp(int px, int py, int clientWidth, int clientHeight) {
    if (!m_rubberBand) return false;
    m_rubberBand = false;
    m_bandX1 = px;
    m_bandY1 = py;
    if (m_bandX0 == m_bandX1 || m_bandY0 == m_bandY1 || clientWidth <= 0 || clientHeight <= 0) return false;
    const long double w = m_viewport.x1 - m_viewport.x0;
    const long double h = m_viewport.y1 - m_viewport.y0;
    const long double dx = m_world.xmax - m_world.xmin;
    const long double dy = m_world.ymax - m_world.ymin;
    if (w == 0 || h == 0 || dx == 0 || dy == 0 || m_kx == 0 || m_ky == 0) return false;
    // The band's corners in world units, through the mapping the picture was painted with.
    const auto worldX = [&](int x) { return m_visible.xmin + (x - m_viewport.x0) / m_kx; };
    const auto worldY = [&](int y) { return m_visible.ymin + (m_viewport.y1 - y) / m_ky; };
    long double xmin = std::min(worldX(m_bandX0), worldX(m_bandX1));
    long double xmax = std::max(worldX(m_bandX0), worldX(m_bandX1));
    long double ymin = std::min(worldY(m_bandY0), worldY(m_bandY1));
    long double ymax = std::max(worldY(m_bandY0), worldY(m_bandY1));
    if (m_equalScale) {
        // Equal scale gives both axes the smaller factor and starts the picture at
        // the bottom left: widen the boxed area about its centre to the shape of
        // the viewport, so that the box comes out whole and in the middle.
        const long double a = 0.75L * width() / height();
        const long double k = std::min(w / (xmax - xmin), a * h / (ymax - ymin));
        const long double cx = (xmin + xmax) / 2;
        const long double cy = (ymin + ymax) / 2;
        xmin = cx - w / k / 2;
        xmax = cx + w / k / 2;
        ymin = cy - a * h / k / 2;
        ymax = cy + a * h / k / 2;
    }
    // World units back to the scale rectangle, whose corners map the viewport's.
    const int x0 = roundInt(m_viewport.x0 + (xmin - m_world.xmin) / dx * w);
    const int x1 = roundInt(m_viewport.x0 + (xmax - m_world.xmin) / dx * w);
    const int y0 = roundInt(m_viewport.y0 + (ymin - m_world.ymin) / dy * h);
    const int y1 = roundInt(m_viewport.y0 + (ymax - m_world.ymin) / dy * h);
    if (x0 == x1 || y0 == y1) return false;
    SetScale(x0, y0, x1, y1);
    if (m_host) m_host->setWaitCursor(true);
    return true;
}

} // namespace zam1
