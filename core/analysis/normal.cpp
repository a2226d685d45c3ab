#include "core/analysis/normal.h"

#include <cmath>

namespace zam1 {

long double normalPpmAbove(long double z) {
    return 0.5e6L * std::erfc(z / std::sqrt(2.0L));
}

namespace {

// c[0] + c[1] r + ... + c[7] r^7 by Estrin's scheme: three multiplications
// deep instead of Horner's seven, which is what the Monte Carlo loop waits on.
inline double poly(const double (&c)[8], double r) {
    const double r2 = r * r;
    const double r4 = r2 * r2;
    const double low = (c[0] + c[1] * r) + (c[2] + c[3] * r) * r2;
    const double high = (c[4] + c[5] * r) + (c[6] + c[7] * r) * r2;
    return low + high * r4;
}

// AS 241 (PPND16): the central region and the two tail regions.
constexpr double kCentralNum[8] = {3.3871328727963666080e0, 1.3314166789178437745e+2, 1.9715909503065514427e+3,
                                   1.3731693765509461125e+4, 4.5921953931549871457e+4, 6.7265770927008700853e+4,
                                   3.3430575583588128105e+4, 2.5090809287301226727e+3};
constexpr double kCentralDen[8] = {1.0, 4.2313330701600911252e+1, 6.8718700749205790830e+2,
                                   5.3941960214247511077e+3, 2.1213794301586595867e+4, 3.9307895800092710610e+4,
                                   2.8729085735721942674e+4, 5.2264952788528545610e+3};
constexpr double kNearNum[8] = {1.42343711074968357734e0, 4.63033784615654529590e0, 5.76949722146069140550e0,
                                3.64784832476320460504e0, 1.27045825245236838258e0, 2.41780725177450611770e-1,
                                2.27238449892691845833e-2, 7.74545014278341407640e-4};
constexpr double kNearDen[8] = {1.0, 2.05319162663775882187e0, 1.67638483018380384940e0,
                                6.89767334985100004550e-1, 1.48103976427480074590e-1, 1.51986665636164571966e-2,
                                5.47593808499534494600e-4, 1.05075007164441684324e-9};
constexpr double kFarNum[8] = {6.65790464350110377720e0, 5.46378491116411436990e0, 1.78482653991729133580e0,
                               2.96560571828504891230e-1, 2.65321895265761230930e-2, 1.24266094738807843860e-3,
                               2.71155556874348757815e-5, 2.01033439929228813265e-7};
constexpr double kFarDen[8] = {1.0, 5.99832206555887937690e-1, 1.36929880922735805310e-1,
                               1.48753612908506148525e-2, 7.86869131145613259100e-4, 1.84631831751005468180e-5,
                               1.42151175831644588870e-7, 2.04426310338993978564e-15};

} // namespace

double inverseNormal(double p) {
    const double q = p - 0.5;
    if (std::fabs(q) <= 0.425) {
        const double r = 0.180625 - q * q;
        return q * poly(kCentralNum, r) / poly(kCentralDen, r);
    }
    double r = std::sqrt(-std::log(q < 0 ? p : 1 - p));
    double z = 0;
    if (r <= 5) {
        r -= 1.6;
        z = poly(kNearNum, r) / poly(kNearDen, r);
    } else {
        r -= 5;
        z = poly(kFarNum, r) / poly(kFarDen, r);
    }
    return q < 0 ? -z : z;
}

namespace ziggurat {

const Tables& tables() {
    static const Tables t = [] {
        Tables z;
        double f = std::exp(-0.5 * kTailStart * kTailStart);
        z.x[0] = kLayerArea / f;  // the base layer with its tail, as a rectangle of the same area
        z.x[1] = kTailStart;
        z.x[kLayers] = 0;
        for (int i = 2; i < kLayers; ++i) {
            const auto at = static_cast<std::size_t>(i);
            z.x[at] = std::sqrt(-2 * std::log(kLayerArea / z.x[at - 1] + f));
            f = std::exp(-0.5 * z.x[at] * z.x[at]);
        }
        for (int i = 0; i < kLayers; ++i) {
            const auto at = static_cast<std::size_t>(i);
            z.ratio[at] = z.x[at + 1] / z.x[at];
        }
        return z;
    }();
    return t;
}

} // namespace ziggurat

} // namespace zam1
