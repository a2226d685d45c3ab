#pragma once
// What several benchmarks draw: the largest chain in a row (2500 elements, the
// deepest tree there is) and a drawing of 100,000 primitives (lines, texts and
// arcs in turn, on changing layers).

#include <cstdint>

#include "core/graphics/drawing_layer.h"
#include "core/model/chain.h"

namespace zam1::bench {

inline constexpr int kPrimitives = 100000;

inline void fillLargestLinearChain(Chain& chain) {
    for (int n = 1; n <= kMaxElements; ++n) {
        Element& e = chain.element(n);
        e.predecessor = n - 1;
        e.positive = static_cast<std::uint8_t>(n % 3 != 0);
        e.distance = 1 + (n % 17) * 0.25L;
        e.upperDev = 0.01L * (n % 5);
        e.lowerDev = -0.01L * (n % 7);
        e.text = "Element";
    }
    chain.setElementCount(kMaxElements);
}

inline void drawHundredThousandPrimitives(DrawingLayer& layer) {
    layer.openSheet(0, 0, 160, 120);
    layer.beginPage();
    layer.textStyle(0, 2.5L, 3.5L, 0);
    for (int i = 0; i < kPrimitives; ++i) {
        const long double x = (i % 400) * 0.4L;
        const long double y = (i / 400) * 0.48L;
        if (i % 50 == 0) layer.setLayer(16 + (i / 50) % 16);
        switch (i % 3) {
        case 0: layer.line(x, y, x + 1.25L, y + 0.75L); break;
        case 1: layer.text("Ma\xE1 12,345", x, y); break;
        default: layer.arc(x, y, 15, 200, 0.3L); break;
        }
    }
    layer.endPage();
    layer.finishRun();
}

} // namespace zam1::bench
