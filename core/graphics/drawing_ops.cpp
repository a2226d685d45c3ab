// The drawing operations of the output layer: origin, geometry, text placement,
// layers, arrowheads and blocks, handed to the run's back-end.

#include <cmath>
#include <initializer_list>

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/platform/clock.h"
#include "core/records/documentation.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;
constexpr long double kArrowLength = 3.5L;
constexpr long double kArrowHalfAngleDeg = 10;
constexpr long double kLineAdvance = 1.6L;
constexpr int kFrameLayer = 19;
constexpr int kFooterLayer = 30;
constexpr std::size_t kFooterFileLength = 120;

bool finite(std::initializer_list<long double> values) {
    for (long double v : values) {
        if (!std::isfinite(v)) return false;
    }
    return true;
}

long double radians(long double deg) { return deg * kPi / 180; }

} // namespace

bool DrawingLayer::active() const { return m_backend && !m_ctx.error->isSet(); }

void DrawingLayer::openSheet(long double xmin, long double ymin, long double xmax, long double ymax) {
    if (!active()) return;
    m_sheet = {xmin, ymin, xmax, ymax};
    m_backend->openSheet(m_sheet);
    // The outline waits for the first page: a DXF file takes entities only there.
    m_framePending = m_settings.printFrame && (outputsTo(DeviceOutput::Window) || outputsTo(DeviceOutput::Plot));
    if (outputsTo(DeviceOutput::Window)) drawFooter();
}

std::string DrawingLayer::footerText() const {
    static const SystemClock systemClock;
    const DateTime now = (m_ctx.clock ? *m_ctx.clock : static_cast<const Clock&>(systemClock)).now();
    const std::string time = intZero(now.hour, 2) + ":" + intZero(now.minute, 2) + ":" + intZero(now.second, 2);
    return dateText(now, m_settings.dateCode) + " " + time + " - KORVANT ZAM1 V" + ZAM1_VERSION + " - " +
           m_ctx.projectFile.substr(0, kFooterFileLength);
}

void DrawingLayer::drawFooter() {
    const int layer = m_layer;
    const TextStyle style = m_style;
    const HAlign h = m_hAlign;
    const VAlign v = m_vAlign;
    const long double width = m_sheet.xmax - m_sheet.xmin;
    const long double height = m_sheet.ymax - m_sheet.ymin;
    setLayer(kFooterLayer);
    textStyle(0, 0.0045L * width, 0.006L * height, 0);
    m_hAlign = HAlign::Left;
    m_vAlign = VAlign::Baseline;
    text(footerText(), m_sheet.xmin + 0.005L * width, m_sheet.ymin + 0.002L * height);
    // The footer is the screen's own: the drawing continues with its own pen and style.
    m_hAlign = h;
    m_vAlign = v;
    m_style = style;
    if (active()) m_backend->setTextStyle(m_style);
    setLayer(layer);
}

void DrawingLayer::line(long double x1, long double y1, long double x2, long double y2) {
    if (!active() || !finite({x1, y1, x2, y2})) return;
    m_backend->line(shifted(x1, y1), shifted(x2, y2));
}

void DrawingLayer::circle(long double x, long double y, long double radius) {
    if (!active() || !finite({x, y, radius}) || radius <= 0) return;
    m_backend->circle(shifted(x, y), radius);
}

void DrawingLayer::arc(long double x, long double y, long double startDeg, long double endDeg, long double radius) {
    if (!active() || !finite({x, y, startDeg, endDeg, radius}) || radius <= 0) return;
    m_backend->arc(shifted(x, y), startDeg, endDeg, radius);
}

void DrawingLayer::solid(long double x1, long double y1, long double x2, long double y2, long double x3,
                         long double y3, long double x4, long double y4) {
    if (!active() || !finite({x1, y1, x2, y2, x3, y3, x4, y4})) return;
    m_backend->solid({shifted(x1, y1), shifted(x2, y2), shifted(x3, y3), shifted(x4, y4)});
}

void DrawingLayer::drawTo(long double x, long double y) {
    line(m_cursor.x, m_cursor.y, x, y);
    m_cursor = {x, y};
}

void DrawingLayer::rectangle(long double x1, long double y1, long double x2, long double y2) {
    moveTo(x1, y1);
    drawTo(x1, y2);
    drawTo(x2, y2);
    drawTo(x2, y1);
    drawTo(x1, y1);
}

void DrawingLayer::arrowhead(long double x, long double y, long double directionDeg) {
    const long double length = kArrowLength * m_symbolScale;
    const auto point = [&](long double deg) {
        return Point{x + length * std::cos(radians(deg)), y + length * std::sin(radians(deg))};
    };
    const Point back = point(directionDeg);
    const Point side1 = point(directionDeg - kArrowHalfAngleDeg);
    const Point side2 = point(directionDeg + kArrowHalfAngleDeg);
    solid(back.x, back.y, side1.x, side1.y, side2.x, side2.y, x, y);
    line(back.x, back.y, x, y);
}

void DrawingLayer::setTextAlignment(int horizontal, int vertical) {
    m_hAlign = horizontal == 1 || horizontal == 2 ? static_cast<HAlign>(horizontal) : HAlign::Left;
    m_vAlign = vertical == 1 || vertical == 2 ? static_cast<VAlign>(vertical) : VAlign::Baseline;
}

void DrawingLayer::textStyle(int font, long double width, long double height, long double angle) {
    const long double factor = m_settings.cadTextWidthFactor;
    m_style.font = font;
    m_style.width = width;
    m_style.height = height;
    m_style.angle = angle;
    // A style without height has no proportion; it gets the one of a style without width.
    m_style.widthFactor = width == 0 || height == 0 ? factor * 0.7L : factor * (width / height);
    if (active()) m_backend->setTextStyle(m_style);
}

Point DrawingLayer::alignedTextStart(std::string_view oem, long double x, long double y) const {
    const long double h = m_style.height;
    const long double textWidth = static_cast<long double>(oem.size()) * h * m_style.widthFactor;
    if (m_hAlign == HAlign::Centre) x -= textWidth / 2;
    if (m_hAlign == HAlign::Right) x -= textWidth;
    if (m_vAlign == VAlign::Middle) y -= h / 2;
    if (m_vAlign == VAlign::Top) y -= h;
    return {x, y};
}

void DrawingLayer::text(std::string_view oem, long double x, long double y) {
    if (!active() || oem.empty() || !finite({x, y})) return;
    const Point p = alignedTextStart(oem, x, y);
    m_backend->text(oem, shifted(p.x, p.y));
}

void DrawingLayer::textLine(std::string_view oem) {
    text(oem, m_cursor.x, m_cursor.y);
    m_cursor.y -= m_style.height * kLineAdvance * m_lineSpacing;
}

void DrawingLayer::setLayer(int layer) {
    if (layer > 31) layer = layer % 16 + 16;
    if (layer < 0) layer = 0;
    m_layer = layer;
    if (active()) m_backend->setLayer(layer);
}

void DrawingLayer::setScreenLineStyle(int style) {
    if (active() && (outputsTo(DeviceOutput::Window) || m_plotWindow)) m_backend->setScreenLineStyle(style);
}

void DrawingLayer::setSymbolScale(long double s) {
    const long double factor = m_settings.dimensionFactor < 0.01L ? 1 : m_settings.dimensionFactor;
    m_symbolScale = s * factor;
}

void DrawingLayer::beginBlock(std::string_view name) {
    if (!active()) return;
    m_blockMode = true;
    if (!m_backend->beginBlock(name)) m_ctx.error->set();
}

void DrawingLayer::endBlock() {
    if (!m_backend) return;
    const bool failed = m_ctx.error->isSet();
    m_ctx.error->clear();
    if (!m_blockMode) return;
    m_blockMode = false;
    m_backend->endBlock(!failed);
    // The device continues with the layer and style the drawing has now: on screen
    // a block's selections never reached the window, and a failed block's nowhere.
    m_backend->setLayer(m_layer);
    m_backend->setTextStyle(m_style);
}

void DrawingLayer::insertBlock(std::string_view name, long double x, long double y, long double rotationDeg,
                               long double xScale, long double yScale) {
    if (!active() || !finite({x, y, rotationDeg, xScale, yScale})) return;
    m_backend->insertBlock(name, shifted(x, y), rotationDeg, xScale, yScale);
}

} // namespace zam1
