#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/session/program_state.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"

namespace zam1 {
namespace {

WindowSettings screen(int w, int h) {
    WindowSettings s;
    s.width = w;
    s.height = h;
    s.zoomFactor = 1.2L;
    s.panFactor = 0.1L;
    return s;
}

struct WindowFixture : ::testing::Test {
    ErrorFlag error;
    GraphicsWindow window{screen(640, 480), error};
    void sheet() { window.SetWindow(false, true, 0, 0, 160, 120, 0, 0, 1, 1); }
    const std::string& last() const { return window.displayList().back(); }
};

TEST_F(WindowFixture, InsetViewportMapsTheWorldWindowOntoPixels) {
    sheet();
    EXPECT_EQ(window.viewport(), (PixelRect{1, 1, 639, 479}));
    EXPECT_EQ(last(), "10;1;1;639;479;0;0;160;120");
    EXPECT_EQ(window.pixelX(0), 1);
    EXPECT_EQ(window.pixelX(80), 1 + 319);       // 80 * 638/160 = 319
    EXPECT_EQ(window.pixelY(0), 479);            // y grows upward from the bottom row
    EXPECT_EQ(window.pixelY(60), 479 - 239);     // 60 * 478/120 = 239
    EXPECT_FALSE(error.isSet());
}

TEST(GraphicsWindow, EqualScaleUsesThePixelAspectOfAFourToThreeScreen) {
    struct Case { int w, h; long double kx, ky; };
    // 640 x 480: the aspect is 1, both factors become the smaller one (478/120).
    // 1280 x 480: aspect 2, kx = ky * 2 when kx is the larger.
    const Case cases[] = {
        {640, 480, 478.0L / 120, 478.0L / 120},
        {1280, 480, 2 * 478.0L / 120, 478.0L / 120},
        {640, 960, 638.0L / 160, 638.0L / 160 * 2},
    };
    for (const Case& c : cases) {
        ErrorFlag error;
        GraphicsWindow w(screen(c.w, c.h), error);
        w.SetWindow(true, true, 0, 0, 160, 120, 0, 0, 1, 1);
        EXPECT_NEAR(static_cast<double>(w.kx()), static_cast<double>(c.kx), 1e-12) << c.w << "x" << c.h;
        EXPECT_NEAR(static_cast<double>(w.ky()), static_cast<double>(c.ky), 1e-12) << c.w << "x" << c.h;
    }
}

TEST_F(WindowFixture, DegenerateWindowSetsTheErrorFlagAndDegenerateScaleIsIgnored) {
    sheet();
    const PixelRect before = window.scaleRect();
    window.SetScale(10, 10, 10, 200);
    EXPECT_EQ(window.scaleRect(), before);
    window.SetWindow(false, false, 5, 0, 5, 1, 0, 0, 1, 1);
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(last().substr(0, 3), "10;");
}

TEST_F(WindowFixture, ColourAndPenRecordsOnlyChanges) {
    struct Step { int colour; bool recorded; };
    const Step steps[] = {{4, true}, {4, false}, {17, false}, {-1, false}, {16, true}, {0, true}, {0, false}};
    for (const Step& s : steps) {
        const std::size_t before = window.displayList().size();
        window.SetColor(s.colour);
        EXPECT_EQ(window.displayList().size(), before + (s.recorded ? 1 : 0)) << "colour " << s.colour;
    }
    window.SetLineStyle(2);
    window.SetLineStyle(2);
    window.SetLineWidth(1);  // the initial width
    window.SetLineWidth(3);
    EXPECT_EQ(window.displayList(), (DisplayList{"8;4", "8;16", "8;0", "11;2", "12;3"}));
}

TEST_F(WindowFixture, ClearStartsTheNextDrawingFromTheReplayDefaults) {
    window.SetColor(4);
    window.SetLineStyle(3);
    window.Clear();
    window.SetColor(4);
    window.SetLineStyle(3);
    EXPECT_EQ(window.displayList(), (DisplayList{"8;4", "11;3"}));
}

TEST_F(WindowFixture, ArcsBelowFourDegreesAreChordsAndWholeTurnsAreCircles) {
    struct Case { long double a1, a2; int code; bool closed; };
    const Case cases[] = {
        {10, 13, 4, false},    // under 4 degrees: a line
        {10, 14, 5, false},
        {350, 10, 5, false},   // 20 degrees across 0
        {0, 359, 5, false},    // nearly a whole circle, not a chord
        {0, 360, 5, true},
        {360, 0, 5, true},
        {30, 30, 5, true},
    };
    for (const Case& c : cases) {
        window.Arc(50, 50, c.a1, c.a2, 10);
        RecordReader r(last());
        EXPECT_EQ(r.code(), c.code) << c.a1 << ".." << c.a2;
        if (c.code != 5) continue;
        long double v[8];
        for (long double& f : v) f = r.real();
        EXPECT_EQ(v[0], 40);
        EXPECT_EQ(v[3], 60);
        EXPECT_EQ(v[4] == v[6] && v[5] == v[7], c.closed) << c.a1 << ".." << c.a2;
    }
}

TEST(Palette, CadColoursLineStylesAndDirections) {
    const std::pair<int, int> turbo[] = {{0, 0}, {1, 12}, {2, 14}, {3, 10}, {4, 11}, {5, 9}, {6, 13},
                                         {7, 15}, {8, 1}, {15, 8}, {16, 12}, {17, 14}, {23, 1}, {31, 9}};
    for (auto [cad, palette] : turbo) EXPECT_EQ(GetColorTurbo(cad), palette) << cad;

    const std::pair<const char*, int> names[] = {
        {"DOTTED", 1}, {"PUNKT", 1}, {"CENTER", 2}, {"DASHDOT", 2}, {"STRICHPUNKT", 2}, {"DASHED", 3},
        {"HIDDEN", 3}, {"VERDECKT", 3}, {"verdeckt", 0}, {"CONTINUOUS", 0}, {"", 0}};
    for (auto [name, style] : names) EXPECT_EQ(lineStyleFromName(name), style) << name;

    const std::pair<int, int> pens[] = {{0, 0}, {1, 2}, {2, 3}, {3, 1}, {4, 0}, {99, 0}};
    for (auto [style, pen] : pens) EXPECT_EQ(systemPenStyle(style), pen) << style;

    const std::pair<long double, bool> directions[] = {{0, false},    {45, false}, {46, true},  {135, false},
                                                       {180, false}, {270, true}, {-90, true}, {-135, false}};
    for (auto [angle, vertical] : directions) EXPECT_EQ(GetDirection(angle), vertical) << angle;

    EXPECT_EQ(paletteColour(4), (Rgb{255, 0, 0}));
    EXPECT_EQ(paletteColour(16), (Rgb{0, 0, 0}));
}

TEST(DisplayList, RealsInGeneralFormatWithEightDigitsAndTextToTheEnd) {
    const std::pair<long double, const char*> reals[] = {
        {160, "160"},          {0.5L, "0.5"},           {-2.25L, "-2.25"},        {1.23456789L, "1.2345679"},
        {0.00005L, "0.00005"}, {1.5e-6L, "1.5E-06"},   {123456789.0L, "1.2345679E08"}, {0, "0"}};
    for (auto [value, text] : reals) EXPECT_EQ(realField(value), text);

    ErrorFlag error;
    GraphicsWindow w(screen(640, 480), error);
    w.OutTextXY("a;b; c", 1.5L, 2);
    RecordReader r(w.displayList().back());
    EXPECT_EQ(r.code(), 6);
    EXPECT_EQ(r.real(), 1.5L);
    EXPECT_EQ(r.real(), 2);
    EXPECT_EQ(r.rest(), "a;b; c");
}

TEST_F(WindowFixture, KeysPanAndZoomTheScaleRectangle) {
    sheet();  // scale rectangle 1,1 - 639,479: dx = round(0.1 * 638) = 64, dy = 48, dy5 = 239
    struct Case { int key; PixelRect expected; };
    const Case cases[] = {
        {kKeyLeft, {65, 1, 703, 479}},   {kKeyRight, {-63, 1, 575, 479}}, {kKeyUp, {1, -47, 639, 431}},
        {kKeyDown, {1, 49, 639, 527}},   {kKeyPageUp, {1, -238, 639, 240}}, {kKeyPageDown, {1, 240, 639, 718}},
        {kKeyAdd, {54, 41, 586, 439}},   {kKeySubtract, {-63, -47, 703, 527}},
    };
    for (const Case& c : cases) {
        window.ResetZoom();
        EXPECT_TRUE(window.processKey(c.key));
        EXPECT_EQ(window.scaleRect(), c.expected) << "key " << c.key;
    }
    EXPECT_FALSE(window.processKey('A'));
    EXPECT_TRUE(window.processKey(kKeyEscape));
    EXPECT_EQ(window.scaleRect(), (PixelRect{1, 1, 639, 479}));
}

TEST_F(WindowFixture, ZoomInThenOutReturnsUpToRounding) {
    sheet();
    window.processKey(kKeyAdd);
    window.processKey(kKeySubtract);
    const PixelRect r = window.scaleRect();
    EXPECT_NEAR(r.x0, 1, 2);
    EXPECT_NEAR(r.y0, 1, 2);
    EXPECT_NEAR(r.x1, 639, 2);
    EXPECT_NEAR(r.y1, 479, 2);
}

TEST_F(WindowFixture, WheelZoomKeepsThePointUnderTheCursor) {
    struct Case { bool equalScale; int px; int py; bool zoomIn; };
    const Case cases[] = {
        {false, 100, 80, true}, {false, 600, 400, false}, {false, 320, 240, true},
        {true, 50, 450, true},  {true, 500, 30, false},
    };
    for (const Case& c : cases) {
        window.SetWindow(c.equalScale, true, 0, 0, 160, 120, 0, 0, 1, 1);
        window.processKey(kKeyLeft);  // off centre, so a zoom about the centre would fail
        const long double x = window.visible().xmin + (c.px - window.viewport().x0) / window.kx();
        const long double y = window.visible().ymin + (window.viewport().y1 - c.py) / window.ky();
        const long double before = window.kx();
        ASSERT_TRUE(window.zoomAbout(c.px, c.py, c.zoomIn));
        EXPECT_EQ(window.kx() > before, c.zoomIn) << c.px;
        // Integer scale rectangles: the point may drift by a pixel or two.
        EXPECT_NEAR(window.pixelX(x), c.px, 2) << c.px << "," << c.py;
        EXPECT_NEAR(window.pixelY(y), c.py, 2) << c.px << "," << c.py;
    }
}

TEST_F(WindowFixture, RubberBandZoomsAndEmptyBandsAreIgnored) {
    sheet();
    PixelRect erase, draw;
    EXPECT_FALSE(window.FormMouseDown(MouseButton::Left, 100, 100));
    EXPECT_TRUE(window.FormMouseMove(200, 180, erase, draw));
    EXPECT_EQ(erase, (PixelRect{100, 100, 100, 100}));
    EXPECT_EQ(draw, (PixelRect{100, 100, 200, 180}));
    EXPECT_FALSE(window.FormMouseUp(100, 300, 640, 480));  // same x: nothing
    EXPECT_EQ(window.scaleRect(), (PixelRect{1, 1, 639, 479}));

    window.FormMouseDown(MouseButton::Left, 160, 120);
    EXPECT_TRUE(window.FormMouseUp(480, 360, 640, 480));
    // x' = 1 + px/640 * 638, y' = 1 + (480 - py)/480 * 478, rounded half to even
    EXPECT_EQ(window.scaleRect(), (PixelRect{160, 120, 480, 360}));

    EXPECT_TRUE(window.FormMouseDown(MouseButton::Right, 0, 0));
    EXPECT_EQ(window.scaleRect(), (PixelRect{1, 1, 639, 479}));
}

// A band drawn round a circle of the drawing brings that circle, whole, into the
// middle of the view: for window shapes wider and taller than 4:3, drawings that
// follow another (so Header's correction factor is not 1), bands drawn from either
// corner, and a band drawn in a view that was already zoomed or panned.
TEST(GraphicsWindow, RubberBandShowsTheBoxedCircleInTheMiddle) {
    struct Case {
        int w, h;
        long double sheetW, sheetH;  // the drawing's world window
        long double cx, cy, r;       // the circle boxed
        int keyBefore;               // 0: the full view
        bool fromBottomRight;
    };
    const Case cases[] = {
        {640, 480, 297, 210, 60, 150, 8, 0, false},
        {1592, 1110, 297, 210, 60, 150, 8, 0, false},
        {1024, 768, 420, 297, 350, 40, 12, 0, true},
        {800, 800, 297, 210, 150, 105, 5, 0, false},
        {1600, 600, 100, 300, 30, 250, 6, 0, true},
        {600, 1000, 297, 210, 250, 30, 10, 0, false},
        {1592, 1110, 297, 210, 100, 120, 8, kKeyAdd, false},
        {1024, 768, 297, 210, 120, 100, 8, kKeyLeft, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " circle " << static_cast<double>(c.cx) << ","
                                        << static_cast<double>(c.cy) << " key " << c.keyBefore);
        ErrorFlag error;
        GraphicsWindow window(screen(c.w, c.h), error);
        window.Header(0, 0, 160, 120);  // an earlier drawing
        window.Header(0, 0, c.sheetW, c.sheetH);
        if (c.keyBefore != 0) window.processKey(c.keyBefore);
        // The band as the user draws it: a few pixels round the circle on the screen.
        const int margin = 4;
        int left = window.pixelX(c.cx - c.r) - margin;
        int right = window.pixelX(c.cx + c.r) + margin;
        int top = window.pixelY(c.cy + c.r) - margin;
        int bottom = window.pixelY(c.cy - c.r) + margin;
        if (c.fromBottomRight) {
            std::swap(left, right);
            std::swap(top, bottom);
        }
        const int before = window.pixelX(c.cx + c.r) - window.pixelX(c.cx - c.r);
        const int boxW = std::abs(right - left);
        const int boxH = std::abs(bottom - top);
        window.FormMouseDown(MouseButton::Left, left, top);
        ASSERT_TRUE(window.FormMouseUp(right, bottom, c.w + 1, c.h + 1));

        const PixelRect v = window.viewport();
        const double midX = (v.x0 + v.x1) / 2.0;
        const double midY = (v.y0 + v.y1) / 2.0;
        const double tolX = 0.02 * (v.x1 - v.x0) + 1;
        const double tolY = 0.02 * (v.y1 - v.y0) + 1;
        EXPECT_NEAR(window.pixelX(c.cx), midX, tolX);
        EXPECT_NEAR(window.pixelY(c.cy), midY, tolY);
        // Whole, and as large as the band allows: the band's tighter side fills the view.
        EXPECT_GE(window.pixelX(c.cx - c.r), v.x0);
        EXPECT_LE(window.pixelX(c.cx + c.r), v.x1);
        EXPECT_GE(window.pixelY(c.cy + c.r), v.y0);
        EXPECT_LE(window.pixelY(c.cy - c.r), v.y1);
        const double grown = static_cast<double>(window.pixelX(c.cx + c.r) - window.pixelX(c.cx - c.r)) / before;
        const double fill = std::min(static_cast<double>(v.x1 - v.x0) / boxW, static_cast<double>(v.y1 - v.y0) / boxH);
        EXPECT_NEAR(grown, fill, 0.1 * fill);
        EXPECT_FALSE(error.isSet());
    }
}

TEST_F(WindowFixture, DoubleClickThenClickReturnsToTheSavedLimits) {
    window.Header(0, 0, 160, 120);
    window.processKey(kKeyAdd);
    window.FormDblClick();
    EXPECT_TRUE(window.FormMouseDown(MouseButton::Left, 10, 10));
    EXPECT_FALSE(window.rubberBandActive());
    EXPECT_EQ(window.world().xmax, 1);  // ReSetWindow comes last
    EXPECT_FALSE(window.FormMouseDown(MouseButton::Left, 10, 10));  // the mark is gone: a band starts
    EXPECT_TRUE(window.rubberBandActive());
}

TEST_F(WindowFixture, HeaderRecordsTheWindowAndKeepsTheLimits) {
    window.Header(0, 0, 160, 120);
    EXPECT_EQ(window.displayList(), (DisplayList{"10;1;1;639;479;0;0;160;120", "11;0"}));
    EXPECT_TRUE(window.equalScale());
    // From the initial world 0..1: (640 * 0.75 / 480) * 640 / 480
    EXPECT_NEAR(static_cast<double>(window.aspectCorrection()), 640.0 / 480, 1e-12);
    EXPECT_EQ(window.EinX(0.5L), 80);
    EXPECT_EQ(window.EinY(0.25L), 30);
    window.Rectangle(0, 0, 10, 5);
    EXPECT_EQ(window.displayList().size(), 2u + 4u);
    EXPECT_EQ(window.displayList()[3], "4;10;0;10;5");
}

} // namespace
} // namespace zam1
