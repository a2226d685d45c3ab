#include "core/graphics/graphics_window.h"

#include <algorithm>
#include <cmath>

#include "core/session/program_state.h"
#include "core/graphics/palette.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"

namespace zam1 {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;
constexpr long double kMinArcSpanDeg = 4;

int roundInt(long double v) { return static_cast<int>(std::llrint(v)); }

std::string record(int code) {
    std::string r;
    r.reserve(64);
    r += std::to_string(code);
    return r;
}

// The counter-clockwise span from start to end in [0, 360).
long double ccwSpan(long double startDeg, long double endDeg) {
    long double span = std::fmod(endDeg - startDeg, 360.0L);
    if (span < 0) span += 360;
    return span;
}

} // namespace

std::string notFoundText(std::string_view name) { return std::string(name) + " nicht gefunden !"; }

bool fileMustExist(const std::string& path, Prompter& prompter, ErrorFlag& error) {
    if (fileExists(path)) return true;
    prompter.showError(notFoundText(path));
    error.set();
    return false;
}

GraphicsWindow::GraphicsWindow(const WindowSettings& settings, ErrorFlag& error)
    : m_settings(settings), m_error(error) {}

void GraphicsWindow::setSettings(const WindowSettings& settings) { m_settings = settings; }

int GraphicsWindow::width() const { return std::max(m_settings.width, 1); }
int GraphicsWindow::height() const { return std::max(m_settings.height, 1); }

void GraphicsWindow::SetWindow(bool equalScale, bool inset, long double xmin, long double ymin, long double xmax,
                               long double ymax, long double left, long double bottom, long double right,
                               long double top) {
    const int d = inset ? 1 : 0;
    m_viewport.x0 = roundInt(left * width()) + d;
    m_viewport.x1 = roundInt(right * width()) - d;
    m_viewport.y0 = roundInt((1 - top) * height()) + d;
    m_viewport.y1 = roundInt((1 - bottom) * height()) - d;
    std::string r = record(kRecWindow);
    appendInt(r, m_viewport.x0);
    appendInt(r, m_viewport.y0);
    appendInt(r, m_viewport.x1);
    appendInt(r, m_viewport.y1);
    for (long double v : {xmin, ymin, xmax, ymax}) appendReal(r, v);
    append(std::move(r));
    m_world = {xmin, ymin, xmax, ymax};
    m_equalScale = equalScale;
    if (xmax == xmin || ymax == ymin) {
        m_error.set();
        return;
    }
    SetScale(m_viewport.x0, m_viewport.y0, m_viewport.x1, m_viewport.y1);
}

void GraphicsWindow::SetScale(int x0, int y0, int x1, int y1) {
    if (x0 == x1 || y0 == y1) return;
    applyScale({x0, y0, x1, y1});
}

void GraphicsWindow::applyScale(const PixelRect& s) {
    const long double w = m_viewport.x1 - m_viewport.x0;
    const long double h = m_viewport.y1 - m_viewport.y0;
    // A viewport without extent (a window of one pixel) leaves the mapping alone.
    if (w == 0 || h == 0 || m_world.xmax == m_world.xmin || m_world.ymax == m_world.ymin) return;
    m_scale = s;
    const long double dx = m_world.xmax - m_world.xmin;
    const long double dy = m_world.ymax - m_world.ymin;
    m_visible.xmin = m_world.xmin + (s.x0 - m_viewport.x0) / w * dx;
    m_visible.xmax = m_world.xmin + (s.x1 - m_viewport.x0) / w * dx;
    m_visible.ymin = m_world.ymin + (s.y0 - m_viewport.y0) / h * dy;
    m_visible.ymax = m_world.ymin + (s.y1 - m_viewport.y0) / h * dy;
    m_kx = w / (m_visible.xmax - m_visible.xmin);
    m_ky = h / (m_visible.ymax - m_visible.ymin);
    if (m_equalScale) {
        // The screen is taken to be 4:3, so a pixel has the aspect 0.75 W / H.
        const long double a = 0.75L * width() / height();
        if (m_kx >= m_ky * a) {
            m_kx = m_ky * a;
        } else {
            m_ky = m_kx / a;
        }
    }
}

void GraphicsWindow::RestoreLimit() {
    SetWindow(true, true, m_savedLimits.xmin, m_savedLimits.ymin, m_savedLimits.xmax, m_savedLimits.ymax, 0, 0, 1,
              1);
}

void GraphicsWindow::Header(long double xmin, long double ymin, long double xmax, long double ymax) {
    const long double wx = m_world.xmax - m_world.xmin;
    const long double wy = m_world.ymax - m_world.ymin;
    if (wx != 0 && wy != 0) {
        m_aspectCorrection = (width() * 0.75L / height()) * (640 / wx) / (480 / wy);
    }
    SetWindow(true, true, xmin, ymin, xmax, ymax, 0, 0, 1, 1);
    SetLineStyle(kSolid);
    SaveLimit();
}

void GraphicsWindow::ReSetWindow() {
    SetWindow(false, false, 0, 0, 1, 1, 0, 0, 1, 1);
    ResetZoom();
}

void GraphicsWindow::ResetZoom() { SetScale(m_viewport.x0, m_viewport.y0, m_viewport.x1, m_viewport.y1); }

void GraphicsWindow::Regen() {
    const PixelRect current = m_scale;
    RestoreLimit();
    SetWindow(true, true, 0, 0, 1, 1, 0, 0, 1, 1);
    ResetZoom();
    SetScale(current.x0, current.y0, current.x1, current.y1);
    ClearViewPort();
}

void GraphicsWindow::circle(long double x, long double y, long double r) {
    std::string rec = record(kRecCircle);
    for (long double v : {x, y, r}) appendReal(rec, v);
    append(std::move(rec));
}

void GraphicsWindow::line(long double x1, long double y1, long double x2, long double y2) {
    std::string rec = record(kRecLine);
    for (long double v : {x1, y1, x2, y2}) appendReal(rec, v);
    append(std::move(rec));
}

void GraphicsWindow::Arc(long double xc, long double yc, long double startDeg, long double endDeg, long double r) {
    const long double a1 = startDeg * kPi / 180;
    const long double a2 = endDeg * kPi / 180;
    const long double xs = xc + r * std::cos(a1);
    const long double ys = yc + r * std::sin(a1);
    const long double xe = xc + r * std::cos(a2);
    const long double ye = yc + r * std::sin(a2);
    // Whole turns (equal angles included) are full circles: the system arc draws
    // its whole ellipse when start and end coincide.
    const long double span = ccwSpan(startDeg, endDeg);
    const bool wholeTurn = span < 1e-5L || span > 360 - 1e-5L;
    if (!wholeTurn && span < kMinArcSpanDeg) {
        line(xs, ys, xe, ye);
        return;
    }
    std::string rec = record(kRecArc);
    for (long double v : {xc - r, yc - r, xc + r, yc + r, xs, ys}) appendReal(rec, v);
    appendReal(rec, wholeTurn ? xs : xe);
    appendReal(rec, wholeTurn ? ys : ye);
    append(std::move(rec));
}

void GraphicsWindow::Rectangle(long double x1, long double y1, long double x2, long double y2) {
    line(x1, y1, x2, y1);
    line(x2, y1, x2, y2);
    line(x2, y2, x1, y2);
    line(x1, y2, x1, y1);
}

void GraphicsWindow::OutTextXY(std::string_view text, long double x, long double y) {
    std::string rec = record(kRecText);
    appendReal(rec, x);
    appendReal(rec, y);
    rec += ';';
    rec += text;
    append(std::move(rec));
}

void GraphicsWindow::Solid(long double x1, long double y1, long double x2, long double y2, long double x3,
                           long double y3, long double x4, long double y4) {
    std::string rec = record(kRecSolid);
    for (long double v : {x1, y1, x2, y2, x3, y3, x4, y4}) appendReal(rec, v);
    append(std::move(rec));
}

void GraphicsWindow::SetColor(int colour) {
    // 16 colours and black; negative numbers name no colour at all.
    if (colour < 0 || colour > 16 || colour == m_colour) return;
    m_colour = colour;
    std::string rec = record(kRecColor);
    appendInt(rec, colour);
    append(std::move(rec));
}

void GraphicsWindow::SetColorAcad(int cadColour) { SetColor(GetColorTurbo(cadColour)); }

void GraphicsWindow::SetLineStyle(int style) {
    if (style == m_lineStyle) return;
    m_lineStyle = style;
    std::string rec = record(kRecLineStyle);
    appendInt(rec, style);
    append(std::move(rec));
}

void GraphicsWindow::SetLineStyleName(std::string_view name) { SetLineStyle(lineStyleFromName(name)); }

void GraphicsWindow::SetLineWidth(int width) {
    if (width == m_lineWidth) return;
    m_lineWidth = width;
    std::string rec = record(kRecLineWidth);
    appendInt(rec, width);
    append(std::move(rec));
}

void GraphicsWindow::SetTextStyle(int font, long double width, long double height, long double angle) {
    std::string rec = record(kRecTextStyle);
    appendReal(rec, height);
    appendReal(rec, width);
    appendInt(rec, font);
    appendReal(rec, angle);
    append(std::move(rec));
}

void GraphicsWindow::SleepMs(int milliseconds) {
    std::string rec = record(kRecSleep);
    appendInt(rec, milliseconds);
    append(std::move(rec));
}

void GraphicsWindow::Clear() {
    ++m_drawings;
    m_list.clear();
    // The list starts again from the replay defaults, so the first colour, style
    // and width of the next drawing must be recorded even when they repeat the last.
    m_colour = -1;
    m_lineStyle = 99;
    m_lineWidth = 1;
    if (m_host) {
        m_host->invalidate();
        m_host->show();
    }
}

void GraphicsWindow::clearPicture() {
    m_list.clear();
    m_colour = -1;
    m_lineStyle = 99;
    m_lineWidth = 1;
    if (m_host) m_host->invalidate();
}

void GraphicsWindow::ClearViewPort() {
    if (!m_host) return;
    m_host->setWaitCursor(true);
    m_host->invalidate();
    m_host->show();
}

void GraphicsWindow::showDrawing() {
    if (!m_host) return;
    m_host->invalidate();
    m_host->show();
    m_host->setWaitCursor(false);
}

void GraphicsWindow::setWaitCursor(bool on) {
    if (m_host) m_host->setWaitCursor(on);
}

int GraphicsWindow::pixelX(long double x) const {
    return m_viewport.x0 + roundInt((x - m_visible.xmin) * m_kx);
}

int GraphicsWindow::pixelY(long double y) const {
    return m_viewport.y1 - roundInt((y - m_visible.ymin) * m_ky);
}

} // namespace zam1
