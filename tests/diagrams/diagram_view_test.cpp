// The value window: mapping onto the sheet, clipping, and the filled arrowheads.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "core/graphics/diagram_view.h"
#include "tests/diagrams/recorded_run.h"

namespace zam1 {
namespace {

TEST(DiagramView, LinesAreKeptCutOrDroppedByTheWindow) {
    // Window 0..10 in both directions on 160 x 120 mm: x * 16, y * 12.
    struct Case {
        const char* what;
        long double x1, y1, x2, y2;
        const char* expected;  // the recorded line, or "" when dropped
    };
    const Case cases[] = {
        {"inside", 1, 1, 9, 9, "line 16.0000 12.0000 144.0000 108.0000"},
        {"within the 1 % margin: not cut", -0.05L, 5, 5, 5, "line -0.8000 60.0000 80.0000 60.0000"},
        {"one end outside: cut at the edge", 5, 5, 15, 5, "line 80.0000 60.0000 160.0000 60.0000"},
        {"leaving through a corner", 5, 5, 15, 15, "line 80.0000 60.0000 160.0000 120.0000"},
        {"both ends outside, crossing: dropped", -5, 5, 15, 5, ""},
        {"both ends outside, apart: dropped", -5, -5, -1, -1, ""},
    };
    for (const Case& c : cases) {
        test::RecordedRun run;
        DiagramView view(*run.layer);
        view.setWindow(0, 10, 0, 10);
        view.line(c.x1, c.y1, c.x2, c.y2);
        const std::vector<std::string> lines = run.entries("line");
        if (*c.expected == 0) {
            EXPECT_TRUE(lines.empty()) << c.what;
        } else {
            ASSERT_EQ(lines.size(), 1u) << c.what;
            EXPECT_EQ(lines[0], c.expected) << c.what;
        }
    }
}

TEST(DiagramView, APointOnAnEdgeCountsAsInside) {
    ValueWindow w{0, 10, 0, 10};
    long double x1 = 10, y1 = 5 + 1e-13L, x2 = 12, y2 = 5;
    EXPECT_TRUE(clipSegment(w, x1, y1, x2, y2));
    EXPECT_NEAR(static_cast<double>(x2), 10, 1e-9);
    long double a = 10.5L, b = 5, c = 12, d = 5;
    EXPECT_FALSE(clipSegment(w, a, b, c, d));
}

TEST(DiagramView, ArrowheadsPointTheWayOfTheirCode) {
    // Tip at (5, 5) = (80, 60) mm, 4 mm long, a quarter as wide.
    struct Case {
        int code;
        const char* expected;
    };
    const Case cases[] = {
        {kArrowRight, "solid 80.0000 60.0000 76.0000 60.5000 76.0000 59.5000 76.0000 59.5000"},
        {kArrowRight1, "solid 80.0000 60.0000 76.0000 60.5000 76.0000 59.5000 76.0000 59.5000"},
        {kArrowUp, "solid 80.0000 60.0000 79.5000 56.0000 80.5000 56.0000 80.5000 56.0000"},
        {kArrowLeft, "solid 80.0000 60.0000 84.0000 59.5000 84.0000 60.5000 84.0000 60.5000"},
        {kArrowDown, "solid 80.0000 60.0000 80.5000 64.0000 79.5000 64.0000 79.5000 64.0000"},
        {7, ""},
    };
    for (const Case& c : cases) {
        test::RecordedRun run;
        DiagramView view(*run.layer);
        view.setWindow(0, 10, 0, 10);
        view.arrow(5, 5, c.code, 4);
        const std::vector<std::string> solids = run.entries("solid");
        if (*c.expected == 0) {
            EXPECT_TRUE(solids.empty()) << c.code;
        } else {
            ASSERT_EQ(solids.size(), 1u) << c.code;
            EXPECT_EQ(solids[0], c.expected) << c.code;
        }
    }
}

// The area a CAD reader fills for a recorded solid: its corners in the order
// 1, 2, 4, 3 of a DXF SOLID.
double filledArea(const std::string& solid) {
    double v[8] = {};
    EXPECT_EQ(std::sscanf(solid.c_str(), "solid %lf %lf %lf %lf %lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3], &v[4],
                          &v[5], &v[6], &v[7]),
              8)
        << solid;
    const int order[] = {0, 1, 3, 2};
    double twice = 0;
    for (int i = 0; i < 4; ++i) {
        const int a = order[i];
        const int b = order[(i + 1) % 4];
        twice += v[2 * a] * v[2 * b + 1] - v[2 * b] * v[2 * a + 1];
    }
    return std::fabs(twice) / 2;
}

TEST(DiagramView, ArrowheadsAreFilledTrianglesInSolidOrder) {
    // 4 mm long, 1 mm wide at the base: 2 mm2, whichever way it points.
    for (int code : {kArrowRight, kArrowRight1, kArrowUp, kArrowLeft, kArrowDown}) {
        test::RecordedRun run;
        DiagramView view(*run.layer);
        view.setWindow(0, 10, 0, 10);
        view.arrow(5, 5, code, 4);
        const std::vector<std::string> solids = run.entries("solid");
        ASSERT_EQ(solids.size(), 1u) << code;
        EXPECT_NEAR(filledArea(solids[0]), 2.0, 1e-9) << code << ": " << solids[0];
    }
}

TEST(DiagramView, AWindowWithoutSpreadDrawsNothing) {
    test::RecordedRun run;
    DiagramView view(*run.layer);
    view.setWindow(3, 3, 0, 1);
    view.line(3, 0, 3, 1);
    view.circle(3, 0.5L, 0.1L);
    view.textStyle(0.01L, 0.02L, 0);
    view.text("x", 3, 0.5L);
    view.arrow(3, 0.5L, kArrowUp, 2);
    EXPECT_EQ(run.count("line") + run.count("circle") + run.count("text") + run.count("solid"), 0u);
}

} // namespace
} // namespace zam1
