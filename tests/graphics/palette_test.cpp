// The screen's contrast rule: every colour of the palette reads on every
// background it can be drawn on, and the background colour itself still erases.
#include <gtest/gtest.h>

#include "core/graphics/palette.h"

namespace zam1 {
namespace {

TEST(Palette, ContrastRatioOfKnownPairs) {
    struct Row { Rgb a, b; double ratio; };
    const Row rows[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},   // the most there is
        {{0, 0, 128}, {0, 0, 128}, 1.0},      // no contrast at all
        {{255, 255, 255}, {0, 0, 128}, 16.0}, // white on the screen's navy
        {{0, 0, 255}, {0, 0, 128}, 1.86},     // blue on navy: the element nobody could read
    };
    for (const Row& row : rows) {
        EXPECT_NEAR(contrastRatio(row.a, row.b), row.ratio, 0.05);
        EXPECT_NEAR(contrastRatio(row.b, row.a), row.ratio, 0.05);
    }
}

TEST(Palette, EveryColourReadsOnEveryBackgroundAndTheBackgroundStillErases) {
    for (int background = 0; background < 16; ++background) {
        const Rgb bg = paletteColour(background);
        for (int colour = 0; colour < 16; ++colour) {
            SCOPED_TRACE(testing::Message() << "colour " << colour << " on " << background);
            const Rgb c = paletteColour(colour);
            const Rgb shown = readableOn(c, bg);
            if (c == bg) {
                EXPECT_EQ(shown, c);  // drawing in the background colour erases
            } else if (contrastRatio(c, bg) >= kReadableContrast) {
                EXPECT_EQ(shown, c);  // a readable colour is left alone
            } else {
                EXPECT_GE(contrastRatio(shown, bg), kReadableContrast);
                EXPECT_NE(shown, (Rgb{255, 255, 255}));  // mixed only as far as needed, not made white
            }
        }
    }
}

TEST(Palette, AnUnreadableColourKeepsItsHue) {
    const Rgb shown = readableOn(paletteColour(9), paletteColour(1));  // blue on navy
    EXPECT_EQ(shown.r, shown.g);
    EXPECT_GT(shown.b, shown.r);
    const Rgb green = readableOn(Rgb{0, 160, 0}, Rgb{0, 255, 0});      // dark green on light green
    EXPECT_EQ(green.r, green.b);
    EXPECT_GT(green.g, green.r);
}

} // namespace
} // namespace zam1
