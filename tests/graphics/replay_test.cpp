#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/session/program_state.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/replay.h"

namespace zam1 {
namespace {

// Writes down what the replay paints, in pixels.
class RecordingCanvas final : public ReplayCanvas {
public:
    std::vector<std::string> log;
    std::vector<FontSpec> fonts;
    int pauses = 0;
    bool keepStepping = true;

    void setPen(const PenSpec& p) override { log.push_back("pen " + rgb(p.colour) + " w" + std::to_string(p.width) + " s" + std::to_string(p.style)); }
    void setBrush(Rgb c) override { log.push_back("brush " + rgb(c)); }
    void moveTo(Pixel p) override { log.push_back("move " + xy(p)); }
    void lineTo(Pixel p) override { log.push_back("line " + xy(p)); }
    void ellipse(Pixel a, Pixel b) override { log.push_back("ellipse " + xy(a) + " " + xy(b)); }
    void arc(const ArcSpec& a) override {
        log.push_back("arc " + std::to_string(static_cast<int>(a.startDeg)) + "+" + std::to_string(static_cast<int>(a.spanDeg)));
    }
    void polygon(const Pixel (&p)[4]) override { log.push_back("polygon " + xy(p[0]) + " " + xy(p[1]) + " " + xy(p[2]) + " " + xy(p[3])); }
    void text(Pixel topLeft, const FontSpec& font, Rgb colour, std::string_view ansi) override {
        fonts.push_back(font);
        log.push_back("text " + xy(topLeft) + " " + rgb(colour) + " " + std::string(ansi));
    }
    bool stepPause() override {
        ++pauses;
        return keepStepping;
    }

private:
    static std::string xy(Pixel p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static std::string rgb(Rgb c) { return std::to_string(c.r) + "/" + std::to_string(c.g) + "/" + std::to_string(c.b); }
};

std::vector<std::string> drawn(const RecordingCanvas& c, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& s : c.log) {
        if (s.rfind(prefix, 0) == 0) out.push_back(s);
    }
    return out;
}

struct ReplayFixture : ::testing::Test {
    ErrorFlag error;
    WindowSettings settings = [] {
        WindowSettings s;
        s.width = 640;
        s.height = 480;
        s.backgroundColour = 7;
        return s;
    }();
    GraphicsWindow window{settings, error};
    RecordingCanvas canvas;
    void sheet() { window.SetWindow(false, false, 0, 0, 64, 48, 0, 0, 1, 1); }  // 10 pixels a unit
};

TEST_F(ReplayFixture, PrimitivesArePaintedInPixelsWithYUpward) {
    sheet();
    window.line(1, 1, 2, 3);
    window.circle(10, 10, 2);
    window.Solid(0, 0, 1, 0, 1, 1, 0, 0);
    ASSERT_TRUE(window.FormPaint(canvas));
    EXPECT_EQ(drawn(canvas, "move"), std::vector<std::string>{"move 10,470"});
    EXPECT_EQ(drawn(canvas, "line"), std::vector<std::string>{"line 20,450"});
    EXPECT_EQ(drawn(canvas, "ellipse"), std::vector<std::string>{"ellipse 80,400 120,360"});
    EXPECT_EQ(drawn(canvas, "polygon"), std::vector<std::string>{"polygon 0,480 10,480 10,470 0,480"});
}

TEST_F(ReplayFixture, AWindowRecordWithoutExtentStopsTheReplay) {
    sheet();
    window.line(1, 1, 2, 2);
    window.SetWindow(false, false, 3, 0, 3, 10, 0, 0, 1, 1);
    error.clear();
    window.line(5, 5, 6, 6);
    EXPECT_FALSE(window.FormPaint(canvas));
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(drawn(canvas, "move").size(), 1u);
}

TEST_F(ReplayFixture, ColoursFollowThePaletteTheColourSettingAndTheBackground) {
    struct Case { int colour; bool colourGraphics; const char* pen; };
    const Case cases[] = {
        {4, true, "pen 255/0/0"},        // palette red
        {4, false, "pen 0/0/0"},         // colour graphics off: black
        {16, true, "pen 0/0/0"},
        {0, true, "pen 192/192/192"},    // background colour 7: what follows erases
    };
    for (const Case& c : cases) {
        settings.colourGraphics = c.colourGraphics;
        GraphicsWindow w(settings, error);
        RecordingCanvas paint;
        w.SetColor(c.colour);
        w.FormPaint(paint);
        EXPECT_EQ(paint.log.back().rfind("brush", 0), 0u);
        EXPECT_EQ(paint.log[paint.log.size() - 2].substr(0, std::string(c.pen).size()), c.pen) << c.colour;
    }
}

TEST_F(ReplayFixture, StepModePausesAtEveryEraseUntilRunToTheEnd) {
    window.setStepMode(true);
    window.SetColor(0);
    window.SetColor(1);
    window.SetColor(0);
    canvas.keepStepping = false;  // "++" at the first pause
    window.FormPaint(canvas);
    EXPECT_EQ(canvas.pauses, 1);
    EXPECT_FALSE(window.stepMode());
}

TEST_F(ReplayFixture, TextsGetTheirFontAndReferencePoint) {
    sheet();
    window.SetColor(9);
    window.SetTextStyle(0, 2, 5, 0);
    window.OutTextXY("A;B", 10, 10);
    window.SetTextStyle(0, 2, 5, 90);
    window.OutTextXY("C", 10, 10);
    window.FormPaint(canvas);
    const auto texts = drawn(canvas, "text");
    ASSERT_EQ(texts.size(), 2u);
    // h = 5 * 1.6 = 8 units: angle 0 puts the top-left 0.75 h above the base point,
    // angle 90 moves it 0.7 h to the left.
    EXPECT_EQ(texts[0], "text 100,320 0/0/255 A;B");
    EXPECT_EQ(texts[1], "text 44,380 0/0/255 C");
    EXPECT_EQ(canvas.fonts[0].heightPx, 80);
    EXPECT_EQ(canvas.fonts[0].widthPx, 18);  // 2 * 1.1 * 0.8 units
    EXPECT_EQ(canvas.fonts[1].escapement, 900);
    EXPECT_EQ(canvas.fonts[0].face, "Arial");
}

TEST_F(ReplayFixture, LineStylesBecomeSystemPenStyles) {
    window.SetLineStyle(2);
    window.SetLineWidth(3);
    window.FormPaint(canvas);
    EXPECT_EQ(canvas.log.back(), "pen 0/0/0 w3 s3");
}

TEST_F(ReplayFixture, ZoomSurvivesTheReplayOfTheWindowRecord) {
    sheet();
    window.SetScale(0, 0, 320, 240);
    const long double kx = window.kx();
    window.FormPaint(canvas);
    EXPECT_EQ(window.scaleRect(), (PixelRect{0, 0, 320, 240}));
    EXPECT_EQ(window.kx(), kx);
}

TEST_F(ReplayFixture, SlicedReplayPaintsWhatTheWholeReplayPaints) {
    sheet();
    window.SetColor(4);
    for (int i = 0; i < 25; ++i) window.line(i, 0, i, 10);
    window.circle(5, 5, 1);
    RecordingCanvas whole;
    ASSERT_TRUE(window.FormPaint(whole));
    for (std::size_t slice : {std::size_t{1}, std::size_t{7}, std::size_t{1000}}) {
        RecordingCanvas sliced;
        SlicedReplay replay(window, sliced);
        int steps = 1;
        while (replay.step(slice)) ++steps;
        EXPECT_TRUE(replay.complete());
        EXPECT_EQ(replay.position(), window.displayList().size());
        EXPECT_EQ(steps, static_cast<int>((window.displayList().size() + slice - 1) / slice)) << slice;
        EXPECT_EQ(sliced.log, whole.log) << "slice " << slice;
    }
}

TEST_F(ReplayFixture, SlicedReplayStopsAtADegenerateWindow) {
    sheet();
    window.line(0, 0, 1, 1);
    window.SetWindow(false, false, 3, 0, 3, 1, 0, 0, 1, 1);
    window.line(0, 0, 2, 2);
    error.clear();
    SlicedReplay replay(window, canvas);
    EXPECT_FALSE(replay.step(100));
    EXPECT_FALSE(replay.complete());
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(drawn(canvas, "line").size(), 1u);
}

// In slices the replay never asks from inside itself: it stops in front of each
// erase colour and waits for the window's step dialog.
TEST_F(ReplayFixture, SlicedReplayWaitsInFrontOfEveryEraseInStepMode) {
    sheet();
    window.SetColor(4);
    window.line(0, 0, 1, 1);
    window.SetColor(0);
    window.line(0, 0, 1, 1);
    window.SetColor(4);
    window.line(0, 0, 2, 2);
    window.SetColor(0);
    window.line(0, 0, 3, 3);
    const std::size_t firstErase = 3;  // window record, colour, line
    const std::size_t secondErase = 7;
    struct Row {
        const char* name;
        bool stepMode;
        bool runToEndAtFirst;  // "++" at the first pause
        std::vector<std::size_t> pausesAt;
    };
    const Row rows[] = {
        {"step mode off never waits", false, false, {}},
        {"\"+\" waits again at the next erase", true, false, {firstErase, secondErase}},
        {"\"++\" runs to the end", true, true, {firstErase}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window.setStepMode(row.stepMode);
        RecordingCanvas sliced;
        SlicedReplay replay(window, sliced);
        std::vector<std::size_t> pauses;
        int guard = 0;
        while (replay.step(1000) && ++guard < 10) {
            ASSERT_TRUE(replay.waitingForStep());
            pauses.push_back(replay.position());
            // Asked again without an answer, it stays where it is.
            EXPECT_TRUE(replay.step(1000));
            EXPECT_EQ(replay.position(), pauses.back());
            if (row.runToEndAtFirst) window.setStepMode(false);
            replay.continueStep();
        }
        EXPECT_EQ(pauses, row.pausesAt);
        EXPECT_TRUE(replay.complete());
        EXPECT_EQ(replay.position(), window.displayList().size());
        EXPECT_EQ(sliced.pauses, 0);  // the canvas is never asked
        EXPECT_EQ(drawn(sliced, "line").size(), 4u);
    }
}

TEST(ArcAngles, SystemArcsBecomePainterAngles) {
    ArcSpec quarter{{0, 0}, {100, 100}, {100, 50}, {50, 0}};
    arcAngles(quarter);
    EXPECT_DOUBLE_EQ(quarter.startDeg, 0);
    EXPECT_DOUBLE_EQ(quarter.spanDeg, 90);
    ArcSpec across{{0, 0}, {100, 100}, {50, 0}, {100, 50}};
    arcAngles(across);
    EXPECT_DOUBLE_EQ(across.startDeg, 90);
    EXPECT_DOUBLE_EQ(across.spanDeg, 270);
    ArcSpec whole{{0, 0}, {100, 100}, {100, 50}, {100, 50}};
    arcAngles(whole);
    EXPECT_DOUBLE_EQ(whole.spanDeg, 360);
}

} // namespace
} // namespace zam1
