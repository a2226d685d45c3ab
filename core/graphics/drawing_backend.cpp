#include "core/graphics/drawing_backend.h"

#include <cmath>

namespace zam1 {

Quad solidOutline(const Quad& q) { return {q[0], q[1], q[3], q[2]}; }

Point pointOnCircle(Point centre, long double radius, long double angleDeg) {
    constexpr long double kPi = 3.141592653589793238462643383279503L;
    long double deg = std::fmod(angleDeg, 360.0L);
    if (deg < 0) deg += 360;
    long double c = 0;
    long double s = 0;
    if (deg == 0) c = 1;
    else if (deg == 90) s = 1;
    else if (deg == 180) c = -1;
    else if (deg == 270) s = -1;
    else {
        c = std::cos(deg * kPi / 180);
        s = std::sin(deg * kPi / 180);
    }
    return {centre.x + radius * c, centre.y + radius * s};
}

bool isFullCircle(long double startDeg, long double endDeg) {
    constexpr long double kEps = 1e-5L;
    const auto near = [](long double a, long double b) { return std::fabs(a - b) < kEps; };
    return near(startDeg, endDeg) || (near(startDeg, 0) && near(endDeg, 360)) ||
           (near(startDeg, 360) && near(endDeg, 0));
}

} // namespace zam1
