#include "core/graphics/block_recorder.h"

#include <cmath>

namespace zam1 {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;

} // namespace

Point BlockPlacement::place(Point p) const {
    const long double phi = rotationDeg * kPi / 180;
    const long double x = p.x * xScale;
    const long double y = p.y * yScale;
    return {at.x + x * std::cos(phi) - y * std::sin(phi), at.y + x * std::sin(phi) + y * std::cos(phi)};
}

void BlockRecorder::setLayer(int layer) { m_ops.push_back({Kind::Layer, layer, {}, {}, 0, 0, 0, {}}); }

void BlockRecorder::setTextStyle(const TextStyle& style) { m_ops.push_back({Kind::Style, 0, style, {}, 0, 0, 0, {}}); }

void BlockRecorder::line(Point a, Point b) { m_ops.push_back({Kind::Line, 0, {}, {a, b, {}, {}}, 0, 0, 0, {}}); }

void BlockRecorder::circle(Point c, long double radius) {
    m_ops.push_back({Kind::Circle, 0, {}, {c, {}, {}, {}}, 0, 0, radius, {}});
}

void BlockRecorder::arc(Point c, long double startDeg, long double endDeg, long double radius) {
    m_ops.push_back({Kind::Arc, 0, {}, {c, {}, {}, {}}, startDeg, endDeg, radius, {}});
}

void BlockRecorder::solid(const Quad& quad) { m_ops.push_back({Kind::Solid, 0, {}, quad, 0, 0, 0, {}}); }

void BlockRecorder::text(std::string_view oem, Point at) {
    m_ops.push_back({Kind::Text, 0, {}, {at, {}, {}, {}}, 0, 0, 0, std::string(oem)});
}

void BlockRecorder::insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                                long double yScale) {
    m_ops.push_back({Kind::Insert, 0, {}, {at, {}, {}, {}}, rotationDeg, xScale, yScale, std::string(name)});
}

void BlockRecorder::replay(DrawingBackend& target, const BlockPlacement& pl) const {
    for (const Op& op : m_ops) {
        const auto p = [&](std::size_t i) { return pl.place(op.points[i]); };
        switch (op.kind) {
        case Kind::Layer: target.setLayer(op.layer); break;
        case Kind::Style: {
            TextStyle t = op.style;
            t.height *= pl.yScale;
            t.width *= pl.xScale;
            t.angle += pl.rotationDeg;
            target.setTextStyle(t);
            break;
        }
        case Kind::Line: target.line(p(0), p(1)); break;
        case Kind::Circle: target.circle(p(0), op.r * pl.xScale); break;
        case Kind::Arc: target.arc(p(0), op.a + pl.rotationDeg, op.b + pl.rotationDeg, op.r * pl.xScale); break;
        case Kind::Solid: target.solid({p(0), p(1), p(2), p(3)}); break;
        case Kind::Text: target.text(op.text, p(0)); break;
        case Kind::Insert:
            target.insertBlock(op.text, p(0), op.a + pl.rotationDeg, op.b * pl.xScale, op.r * pl.yScale);
            break;
        }
    }
}

} // namespace zam1
