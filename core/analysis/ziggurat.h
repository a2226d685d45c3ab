#pragma once
// The ziggurat behind zigguratNormal: 128 layers of equal area under the normal
// density, the rectangles taken at once, the wedges and the tail by rejection.

#include <array>
#include <cmath>
#include <cstdint>

namespace zam1 {
namespace ziggurat {

inline constexpr int kLayers = 128;
inline constexpr double kTailStart = 3.442619855899;       // where the base layer's tail begins
inline constexpr double kLayerArea = 9.91256303526217e-3;   // the area of every layer

struct Tables {
    std::array<double, kLayers + 1> x{};  // right edge of layer i; x[0] the base's stand-in width
    std::array<double, kLayers> ratio{};  // x[i + 1] / x[i]: below it a draw is inside the rectangle
};

const Tables& tables();

// (0, 1) from the top 53 bits; (-1, 1) likewise, never exactly 0 or 1.
// The 53 bits convert as a signed number (one instruction; unsigned takes more),
// and 2 (x + 0.5) 2^-53 is (x + 0.5) 2^-52 to the last bit.
inline double wordBits(std::uint64_t bits) { return static_cast<double>(static_cast<std::int64_t>(bits >> 11)); }
inline double unit(std::uint64_t bits) { return (wordBits(bits) + 0.5) * 0x1.0p-53; }
inline double signedUnit(std::uint64_t bits) { return (wordBits(bits) + 0.5) * 0x1.0p-52 - 1; }

} // namespace ziggurat

// With the tables at hand: a loop of draws looks them up once, not on every draw
// (they live behind a function-local static in another translation unit).
template <typename Words>
double zigguratNormal(const ziggurat::Tables& t, Words&& word) {
    using namespace ziggurat;
    for (int k = 0;; k += 3) {
        const std::uint64_t w = word(k);
        const int i = static_cast<int>(w & (kLayers - 1));
        const double u = signedUnit(w);
        if (std::fabs(u) < t.ratio[static_cast<std::size_t>(i)]) return u * t.x[static_cast<std::size_t>(i)];
        if (i == 0) {
            // The tail beyond kTailStart (Marsaglia's method), on the side of u.
            for (int j = k + 1;; j += 2) {
                const double x = std::log(unit(word(j))) / kTailStart;
                const double y = std::log(unit(word(j + 1)));
                if (-2 * y >= x * x) return u < 0 ? x - kTailStart : kTailStart - x;
            }
        }
        // A wedge: accept under the density between the two layer edges.
        const double x = u * t.x[static_cast<std::size_t>(i)];
        const double xi = t.x[static_cast<std::size_t>(i)];
        const double xn = t.x[static_cast<std::size_t>(i) + 1];
        const double f0 = std::exp(-0.5 * (xi * xi - x * x));
        const double f1 = std::exp(-0.5 * (xn * xn - x * x));
        if (f1 + unit(word(k + 1)) * (f0 - f1) < 1.0) return x;
        // Rejected: the next try starts three words on (k + 2 is left unused
        // so that the tail's words never overlap a later try's).
    }
}

template <typename Words>
double zigguratNormal(Words&& word) {
    return zigguratNormal(ziggurat::tables(), word);
}

} // namespace zam1
