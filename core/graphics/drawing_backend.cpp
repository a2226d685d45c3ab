#include "core/graphics/drawing_backend.h"

#include <cmath>

namespace zam1 {
namespace {

bool samePoint(Point a, Point b) { return a.x == b.x && a.y == b.y; }

} // namespace

Quad solidOutline(const Quad& q) {
    if (samePoint(q[3], q[0])) return {q[0], q[1], q[2], q[0]};
    return {q[0], q[1], q[3], q[2]};
}

bool isFullCircle(long double startDeg, long double endDeg) {
    constexpr long double kEps = 1e-5L;
    const auto near = [](long double a, long double b) { return std::fabs(a - b) < kEps; };
    return near(startDeg, endDeg) || (near(startDeg, 0) && near(endDeg, 360)) ||
           (near(startDeg, 360) && near(endDeg, 0));
}

} // namespace zam1
