// The scheme, the to-scale diagram and the overall graphic, read from what
// reached the device; the checks and refusals of the diagram run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/graphics/diagram_view.h"
#include "core/model/resolution.h"
#include "tests/diagrams/recorded_run.h"
#include "tests/model/chain_builder.h"

#include <array>
#include <cstdio>
#include <cstring>

namespace zam1 {
namespace {

using test::E;

struct Diagrams : ::testing::Test {
    test::DiagramState s;
    test::RecordedRun run;
    Chain& chain() { return s.state->chain; }

    void closings(std::initializer_list<std::pair<int, int>> ends) {
        int k = 0;
        for (const auto& [from, to] : ends) {
            chain().closing(++k).fromElement = from;
            chain().closing(k).toElement = to;
        }
        chain().setClosingCount(k);
    }
    DiagramOutcome draw(DiagramKind kind, int closing) {
        const DiagramInput in = s.input();
        const PreparedDiagram diagram = prepareDiagram(in, kind, closing);
        if (diagram.outcome == DiagramOutcome::Drawn) drawDiagram(*run.layer, in, diagram);
        return diagram.outcome;
    }
    // Elements 1..count, each 2 mm on from the one before it.
    void line(int count) {
        std::vector<E> elements;
        for (int n = 1; n <= count; ++n) elements.push_back(E{n - 1, true, 2, 0.01L, -0.01L});
        test::fill(chain(), elements);
    }
    // Radius of each recorded circle, with its centre.
    std::vector<std::array<double, 3>> circles() const {
        std::vector<std::array<double, 3>> out;
        for (const std::string& c : run.entries("circle")) {
            double x = 0, y = 0, r = 0;
            std::sscanf(c.c_str(), "circle %lf %lf %lf", &x, &y, &r);
            out.push_back({x, y, r});
        }
        return out;
    }
};

TEST(ElementLayers, FifteenLayersFromSixteenWithoutTwentyTwo) {
    const int cases[][2] = {{0, 16}, {1, 17}, {5, 21}, {6, 30}, {7, 23}, {14, 30}, {15, 16}, {21, 30}, {2500, 26}};
    for (const auto& c : cases) EXPECT_EQ(elementLayer(c[0]), c[1]) << c[0];
}

TEST_F(Diagrams, OneElementGivesTwoMarkerRowsAndOneDimension) {
    test::fill(chain(), {E{0, true, 10, 0.1L, -0.1L}});
    closings({{0, 1}});
    ASSERT_EQ(draw(kDiagramScheme, 0), DiagramOutcome::Drawn);
    // y window -0.125..0.1 on 120 mm: the dimension row -0.09 lies at 18.667 mm.
    const auto c = circles();
    ASSERT_EQ(c.size(), 3u);  // two markers, the predecessor mark
    EXPECT_NEAR(c[0][2], 0.02 / 0.225 * 120, 1e-3);
    EXPECT_NEAR(c[2][1], 18.6667, 1e-3);
    EXPECT_NEAR(c[2][2], 0.006 / 0.225 * 120, 1e-3);
    EXPECT_TRUE(run.findText("0"));
    EXPECT_TRUE(run.findText("1"));
    EXPECT_TRUE(run.findText("10.000 "));
    EXPECT_EQ(run.count("solid"), 2u);  // arrowheads at both ends
    EXPECT_FALSE(run.error.isSet());
}

TEST_F(Diagrams, DeviationsAreLabelledSymmetricOrSigned) {
    struct Case {
        long double upper, lower;
        std::vector<std::string> labels;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {0.1L, -0.1L, {"\xF1" "0.100"}, {"+0.100", "-0.100"}},
        {0.1L, -0.05L, {"+0.100", "-0.050"}, {"\xF1" "0.100"}},
        {0, -0.12L, {"0.000", "-0.120"}, {"+0.000"}},
    };
    for (const Case& c : cases) {
        test::RecordedRun local;
        test::fill(chain(), {E{0, true, 10, c.upper, c.lower}});
        const DiagramInput in = s.input();
        const PreparedDiagram scheme = prepareDiagram(in, kDiagramScheme, 0);
        ASSERT_EQ(scheme.outcome, DiagramOutcome::Drawn);
        drawDiagram(*local.layer, in, scheme);
        for (const std::string& l : c.labels) EXPECT_TRUE(local.findText(l)) << l;
        for (const std::string& l : c.absent) EXPECT_FALSE(local.findText(l)) << l;
    }
}

TEST_F(Diagrams, AChainWithoutSpreadDrawsNoSchemeBody) {
    test::fill(chain(), {E{0, true, 0, 0, 0}, E{1, false, 0, 0, 0}});
    ASSERT_EQ(draw(kDiagramScheme, 0), DiagramOutcome::Drawn);
    EXPECT_EQ(run.count("line") + run.count("circle") + run.count("text"), 0u);
    EXPECT_EQ(run.count("page"), 1u);
}

TEST_F(Diagrams, ABrokenPredecessorDoesNotStopTheScheme) {
    test::fill(chain(), {E{0, true, 10, 0, 0}, E{3000, true, 5, 0, 0}, E{-4, true, 5, 0, 0}});
    deriveElementValues(chain());
    DiagramView view(*run.layer);
    EXPECT_NO_THROW(drawScheme(view, s.input()));
    EXPECT_EQ(run.count("circle"), 4u + 1u);  // markers of 0 to 3, one predecessor mark
}

TEST_F(Diagrams, TheRunRefusesWhatItCannotDraw) {
    struct Case {
        const char* what;
        std::vector<E> elements;
        DiagramKind kind;
        int closing;
        DiagramOutcome outcome;
        const char* message;  // shown to the user, or "" for none
    };
    const Case cases[] = {
        {"no elements", {}, kDiagramScheme, 0, DiagramOutcome::Refused, "Keine Elemente definiert !"},
        {"closing dimension beyond the table", {E{0, true, 5, 0, 0}}, kDiagramToScale, 2, DiagramOutcome::Refused,
         "Schließmaß 2 ? Gültiger Wertebereich: 1..1"},
        {"inverted tolerances", {E{0, true, 5, -0.1L, 0.1L}}, kDiagramOverall, 1, DiagramOutcome::Messages, ""},
        {"a sound chain", {E{0, true, 5, 0.1L, -0.1L}}, kDiagramOverall, 1, DiagramOutcome::Drawn, ""},
    };
    for (const Case& c : cases) {
        test::DiagramState local;
        test::fill(local.state->chain, c.elements);
        local.state->chain.closing(1).fromElement = 0;
        local.state->chain.closing(1).toElement = 1;
        local.state->chain.setClosingCount(1);
        EXPECT_EQ(prepareDiagram(local.input(), c.kind, c.closing).outcome, c.outcome) << c.what;
        const std::vector<std::string> errors = local.prompter.errors();
        if (*c.message == 0) {
            EXPECT_TRUE(errors.empty()) << c.what;
            EXPECT_FALSE(local.state->error.isSet()) << c.what;
        } else {
            ASSERT_EQ(errors.size(), 1u) << c.what;
            EXPECT_EQ(errors[0], c.message) << c.what;
            EXPECT_TRUE(local.state->error.isSet()) << c.what;
        }
    }
}

TEST_F(Diagrams, ToScaleDrawsTheClosingDimensionAndItsPath) {
    test::fill(chain(), {E{0, true, 10, 0.1L, 0}, E{0, true, 25, 0.2L, -0.2L}});
    closings({{1, 2}});
    ASSERT_EQ(draw(kDiagramToScale, 1), DiagramOutcome::Drawn);
    EXPECT_TRUE(run.findText("X=15.000   "));
    EXPECT_TRUE(run.findText("+0.200"));   // closing upper deviation
    EXPECT_TRUE(run.findText("-0.300"));   // closing lower deviation
    EXPECT_TRUE(run.findText("Ma\xE1kette: 1 - 0 - 2"));
    EXPECT_TRUE(run.findText("(1) - (2): 15.000"));
    EXPECT_TRUE(run.findText("Toleranz : 0.500"));
    EXPECT_NE(std::find(run.log.begin(), run.log.end(), "layer 16"), run.log.end());
}

TEST_F(Diagrams, TheOverallGraphicStepsRowsAndKeepsItsColumnsOnTheSheet) {
    std::vector<E> elements;
    for (int n = 1; n <= 30; ++n) elements.push_back(E{n - 1, true, 2, 0.01L, -0.01L});
    test::fill(chain(), elements);
    closings({{0, 30}});
    ASSERT_EQ(draw(kDiagramOverall, 1), DiagramOutcome::Drawn);
    const long double dy = 103.0L / 31;  // 30 rows: not the 10 mm cap
    const auto c = circles();
    ASSERT_EQ(c.size(), 31u);
    for (const auto& node : c) {
        EXPECT_NEAR(node[2], static_cast<double>(0.3L * dy), 1e-3);
        EXPECT_GE(node[0] - node[2], 0);
        EXPECT_LE(node[0] + node[2], 160);
    }
    EXPECT_NEAR(c[0][1] - c[1][1], static_cast<double>(dy), 1e-3);
    EXPECT_EQ(run.layer->symbolScale(), 1);  // back after the diagram
}

// Where the result header ends: its frame, and the program line at the top.
const long double kHeaderTopMm = kDiagramHeaderTop * DiagramView::kAreaHeightMm;
const Sheet kSheet{0, 0, DiagramView::kAreaWidthMm, DiagramView::kAreaHeightMm};

// The log index just after the result header, whose last entry is the chain line.
std::size_t afterHeader(const test::RecordedRun& run) {
    for (std::size_t i = 0; i < run.log.size(); ++i) {
        if (run.log[i].rfind("text Ma\xE1kette: ", 0) == 0) return i + 1;
    }
    return run.log.size();
}

TEST_F(Diagrams, ToScaleRowsOfAnyPathStayOnTheSheetAboveTheHeader) {
    // The path from element 0 to the last element: as many rows as elements.
    for (const int pathLength : {2, 14, 30, 300, 2500}) {
        test::RecordedRun local;
        line(pathLength - 1);
        closings({{0, pathLength - 1}});
        const DiagramInput in = s.input();
        const PreparedDiagram diagram = prepareDiagram(in, kDiagramToScale, 1);
        ASSERT_EQ(diagram.outcome, DiagramOutcome::Drawn) << pathLength;
        drawDiagram(*local.layer, in, diagram);
        EXPECT_EQ(local.outside(kSheet), std::vector<std::string>{}) << pathLength << " elements";
        // The marker lines of the lowest row end on the header's frame (within a
        // quarter millimetre), and nothing of the rows reaches into it.
        const Sheet rows{0, kHeaderTopMm - 0.25L, kSheet.xmax, kSheet.ymax};
        EXPECT_EQ(local.outside(rows, afterHeader(local)), std::vector<std::string>{}) << pathLength << " elements";
        // Every element keeps its marker, and every one but element 0 its dimension.
        EXPECT_EQ(local.count("circle"), 2u * static_cast<std::size_t>(pathLength) - 1) << pathLength;
    }
}

TEST_F(Diagrams, ToScaleDrawsNoDimensionForTheElementWhereThePathsMeet) {
    // Element 1 stands 700 mm from element 0; the paths of 2 and 4 meet at element 1.
    test::fill(chain(), {E{0, true, 700, 0.3L, -0.3L}, E{1, true, 3, 0.01L, -0.01L}, E{1, true, 7, 0.02L, 0},
                         E{3, false, 2, 0.05L, -0.05L}});
    closings({{2, 4}});
    ASSERT_EQ(draw(kDiagramToScale, 1), DiagramOutcome::Drawn);
    EXPECT_EQ(run.outside(kSheet), std::vector<std::string>{});
    EXPECT_FALSE(run.findText("700.000 "));
    EXPECT_FALSE(run.findText("\xF1" "0.300"));
    for (const char* distance : {"3.000 ", "7.000 ", "2.000 "}) EXPECT_TRUE(run.findText(distance)) << distance;
    EXPECT_TRUE(run.findText("X=2.000   "));  // 2 at 703, 4 at 705
    EXPECT_TRUE(run.findText("Ma\xE1kette: 2 - 1 - 3 - 4"));
}

TEST_F(Diagrams, TheChainLineFitsItsBoxAndKeepsBothEndsOfThePath) {
    // The line's box: the strip under the left header boxes, 0.595 of the width.
    const long double boxRightMm = 0.595L * DiagramView::kAreaWidthMm;
    const std::string label = "Ma\xE1kette: ";
    struct Case {
        int pathLength;
        const char* joint;  // how the shown elements are joined
        bool shortened;
    };
    for (const Case c : {Case{10, " - ", false}, Case{20, "-", false}, Case{40, "-", true}, Case{2500, "-", true}}) {
        test::RecordedRun local;
        line(c.pathLength - 1);
        // From the far end back to element 0: the path reads n, n-1, ..., 0.
        closings({{c.pathLength - 1, 0}});
        const DiagramInput in = s.input();
        const PreparedDiagram diagram = prepareDiagram(in, kDiagramOverall, 1);
        ASSERT_EQ(diagram.outcome, DiagramOutcome::Drawn) << c.pathLength;
        drawDiagram(*local.layer, in, diagram);
        const std::vector<test::RecordedText> texts = local.texts();
        const auto chainLine = std::find_if(texts.begin(), texts.end(), [&](const test::RecordedText& t) {
            return t.text.rfind(label, 0) == 0;
        });
        ASSERT_NE(chainLine, texts.end()) << c.pathLength;
        // The text style in force: the last one before the chain line.
        long double height = 0, widthFactor = 0;
        for (std::size_t i = 0; i + 1 < afterHeader(local); ++i) {
            if (local.log[i].rfind("style ", 0) != 0) continue;
            double font = 0, width = 0, h = 0, angle = 0, factor = 0;
            std::sscanf(local.log[i].c_str(), "style %lf %lf %lf %lf %lf", &font, &width, &h, &angle, &factor);
            height = h;
            widthFactor = factor;
        }
        const long double right =
            chainLine->x + static_cast<long double>(chainLine->text.size()) * height * widthFactor;
        EXPECT_LE(right, boxRightMm) << c.pathLength << ": " << chainLine->text;

        const std::string shown = chainLine->text.substr(label.size());
        const std::size_t gap = shown.find("-...-");
        ASSERT_EQ(gap != std::string::npos, c.shortened) << shown;
        // What is shown is the path's start and its end, each in order, nothing else.
        const auto numbers = [&](const std::string& part) {
            std::vector<int> out;
            std::size_t pos = 0;
            while (pos < part.size()) {
                const std::size_t next = part.find(c.joint, pos);
                out.push_back(std::stoi(part.substr(pos, next - pos)));
                if (next == std::string::npos) break;
                pos = next + std::strlen(c.joint);
            }
            return out;
        };
        const std::vector<int> head = numbers(shown.substr(0, gap));
        const std::vector<int> tail = c.shortened ? numbers(shown.substr(gap + 5)) : std::vector<int>{};
        ASSERT_FALSE(head.empty()) << shown;
        for (std::size_t k = 0; k < head.size(); ++k) {
            EXPECT_EQ(head[k], c.pathLength - 1 - static_cast<int>(k)) << shown;
        }
        for (std::size_t k = 0; k < tail.size(); ++k) {
            EXPECT_EQ(tail[tail.size() - 1 - k], static_cast<int>(k)) << shown;
        }
        if (c.shortened) {
            EXPECT_FALSE(tail.empty()) << shown;
            EXPECT_GE(head.size() + tail.size(), 10u) << shown;  // the box is used, not left empty
        } else {
            EXPECT_EQ(head.size(), static_cast<std::size_t>(c.pathLength)) << shown;
        }
    }
}

} // namespace
} // namespace zam1
