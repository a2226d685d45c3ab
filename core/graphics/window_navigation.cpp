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
    const PixelRect s = m_scale;
    const long double c = m_equalScale ? m_aspectCorrection : 1;
    const auto toX = [&](int x) {
        return roundInt((s.x0 + static_cast<long double>(x) / clientWidth * (s.x1 - s.x0)) * c);
    };
    const auto toY = [&](int y) {
        return roundInt(s.y0 + static_cast<long double>(clientHeight - y) / clientHeight * (s.y1 - s.y0));
    };
    const int xa = toX(m_bandX0);
    const int xb = toX(m_bandX1);
    const int ya = toY(m_bandY0);
    const int yb = toY(m_bandY1);
    SetScale(std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb));
    if (m_host) m_host->setWaitCursor(true);
    return true;
}

} // namespace zam1
