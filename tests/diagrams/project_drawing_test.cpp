// The project drawing: frame and title block, change rows, hide options, the
// logo, and the row steps of the two tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <unistd.h>

#include "core/graphics/drawing_table.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/project_drawing.h"
#include "core/graphics/screen_backend.h"
#include "core/platform/file_io.h"
#include "tests/diagrams/recorded_run.h"

namespace zam1 {
namespace {

struct ProjectDrawing : ::testing::Test {
    test::DiagramState s;
    test::RecordedRun run;
    ProgramState& state() { return *s.state; }

    ProjectDrawingInput input() {
        return ProjectDrawingInput{.chain = state().chain,
                                   .project = state().projectTexts,
                                   .docs = state().documentation,
                                   .config = state().config,
                                   .texts = state().texts,
                                   .clock = run.clock,
                                   .projectFile = "work/gw.zm1"};
    }
    void draw() { drawProjectDrawing(*run.layer, input()); }
    void elements(int count) {
        for (int n = 1; n <= count; ++n) state().chain.element(n).distance = n;
        state().chain.setElementCount(count);
    }
};

TEST_F(ProjectDrawing, AnEmptyProjectGivesTheFrameAndTitleBlockOnly) {
    draw();
    EXPECT_EQ(run.entries("block")[0], "block FRAME_1");
    EXPECT_EQ(run.count("insert FRAME_1 0.0000 0.0000 0.0000 1.0000 1.0000"), 1u);
    EXPECT_TRUE(run.findText("Zust."));
    EXPECT_TRUE(run.findText("Bearb."));
    EXPECT_TRUE(run.findText("out express authority. Offenders are liable to the payment"));
    EXPECT_FALSE(run.findText("Ma\xE1" "elemente"));
    EXPECT_FALSE(run.findText("Schlie\xE1ma\xE1" "e"));
    // Everything after the frame block lies on the page.
    const auto page = std::find(run.log.begin(), run.log.end(), "page");
    const auto endBlock = std::find(run.log.begin(), run.log.end(), "endblock");
    EXPECT_LT(endBlock, page);
    EXPECT_EQ(run.log.back(), "finish");
}

TEST_F(ProjectDrawing, TheElementTableRowHeightFollowsTheElementCount) {
    struct Case {
        int elements;
        long double h;
    };
    for (const Case c : {Case{20, 2.8L}, Case{35, 2.0L}, Case{50, 1.4L}}) {
        test::DiagramState local;
        test::RecordedRun out;
        for (int n = 1; n <= c.elements; ++n) local.state->chain.element(n).distance = n;
        local.state->chain.setElementCount(c.elements);
        drawProjectDrawing(*out.layer, ProjectDrawingInput{.chain = local.state->chain,
                                                           .project = local.state->projectTexts,
                                                           .docs = local.state->documentation,
                                                           .config = local.state->config,
                                                           .texts = local.state->texts,
                                                           .clock = out.clock});
        const auto first = out.findText("   1");
        const auto second = out.findText("   2");
        ASSERT_TRUE(first && second) << c.elements;
        EXPECT_NEAR(static_cast<double>(first->y), static_cast<double>(284 - 1.5L * c.h - 2 * c.h), 1e-3);
        EXPECT_NEAR(static_cast<double>(first->y - second->y), static_cast<double>(2 * c.h), 1e-3) << c.elements;
    }
}

TEST(DrawingTable, ColumnsAreNineTenthsOfTheHeightPerCharacter) {
    test::RecordedRun run;
    DrawingTable table(*run.layer, 25, 100, 2, {{3, "A"}, {6, "B"}, {0, "never"}, {4, "C"}});
    EXPECT_EQ(table.edges(), (std::vector<long double>{25, 25 + 0.9L * 2 * 3, 25 + 0.9L * 2 * 9}));
    EXPECT_FALSE(run.findText(" never"));
    table.addRow({"x", "", "ignored"});
    EXPECT_NEAR(static_cast<double>(run.findText(" x")->y), 100 - 3 - 4, 1e-9);
    EXPECT_EQ(run.count("text"), 3u);  // two captions, one cell: empty and surplus cells are not written
    EXPECT_NEAR(static_cast<double>(table.lineY()), 100 - 6 * 2, 1e-9);  // below the heading and one row
}

TEST(DrawingTable, ASpanningRowDrawsNoBoundariesAcrossItsLastCell) {
    test::RecordedRun run;
    DrawingTable table(*run.layer, 10, 100, 2, {{3, "A"}, {6, "B"}, {4, "C"}, {5, "D"}});
    const std::vector<long double>& x = table.edges();
    const std::size_t before = run.log.size();
    table.addSpanningRow({"7", "a note in place of C and D"});
    std::vector<std::string> lines;
    for (std::size_t i = before; i < run.log.size(); ++i) {
        if (run.log[i].rfind("line ", 0) == 0) lines.push_back(run.log[i]);
    }
    // The lower edge, the left edges of A and B (where the note starts) and the table's right edge.
    const auto vertical = [](long double at) {
        const std::string v = fixedPlain(at, 4);
        return "line " + v + " 92.0000 " + v + " 96.0000";
    };
    EXPECT_EQ(lines, (std::vector<std::string>{"line 10.0000 92.0000 " + fixedPlain(x.back(), 4) + " 92.0000",
                                               vertical(x[0]), vertical(x[1]), vertical(x[4])}));
    const auto note = run.findText(" a note in place of C and D");
    ASSERT_TRUE(note);
    EXPECT_NEAR(static_cast<double>(note->x), static_cast<double>(x[1]), 1e-9);
    // The next row is an ordinary one again.
    table.addRow({"1", "2", "3", "4"});
    // The heading box, the spanning row, and the lower edge and every column edge of the last.
    EXPECT_EQ(run.count("line "), 4 + lines.size() + 1 + x.size());
}

TEST_F(ProjectDrawing, TwelveChangesShowTheLastEightOldestLowest) {
    Documentation& docs = state().documentation;
    for (int i = 1; i <= 12; ++i) docs.changes[static_cast<std::size_t>(i - 1)].changeId = "C" + std::to_string(i);
    docs.changeCount = 12;
    draw();
    EXPECT_FALSE(run.findText("C4"));
    for (int record = 5, row = 1; record <= 12; ++record, ++row) {
        const auto id = run.findText("C" + std::to_string(record));
        ASSERT_TRUE(id) << record;
        EXPECT_NEAR(static_cast<double>(id->y), 6.5 + 4.2 * row, 1e-9) << record;
    }
    const auto index = run.findText("e");  // record 5 in the default letter style
    ASSERT_TRUE(index);
    EXPECT_NEAR(static_cast<double>(index->x), 21, 1e-9);
    EXPECT_NEAR(static_cast<double>(index->y), 10.7, 1e-9);
}

TEST(ChangeIndex, ByIndexStyle) {
    const struct { int record, style; const char* expected; } cases[] = {
        {1, 0, "a"}, {12, 0, "l"}, {3, 1, "3"}, {12, 1, "12"}, {2, 2, "B"}, {1, 3, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(changeIndex(c.record, c.style), c.expected) << c.record << "/" << c.style;
}

TEST_F(ProjectDrawing, EachHideOptionHidesItsOwnItemOnly) {
    const std::string fileName = "work/gw.zm1";
    const std::string date = "09.03.2024 14:05";
    const std::string title = "KORVANT   ZAM1 - Toleranzrechnung  V11.1";
    struct Case {
        bool Configuration::*option;
        const std::string* hidden;
    };
    for (const Case c : {Case{&Configuration::hideFileName, &fileName}, Case{&Configuration::hideDate, &date},
                         Case{&Configuration::hideProgramTitle, &title}}) {
        test::RecordedRun out;
        state().config = Configuration{};
        state().config.*(c.option) = true;
        ProjectDrawingInput in = input();
        drawProjectDrawing(*out.layer, in);
        for (const std::string* item : {&fileName, &date, &title}) {
            EXPECT_EQ(out.findText(*item).has_value(), item != c.hidden) << *item;
        }
    }
}

struct ScreenDrawing : ::testing::Test {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("zam1-logo-" + std::to_string(::getpid()));
    test::DiagramState s;
    DrawingSettings settings;
    ScreenDrawing() {
        std::filesystem::create_directories(folder);
        settings.tempFolder = folder.string();
    }
    ~ScreenDrawing() override { std::filesystem::remove_all(folder); }

    // Draws on screen and tells whether the logo's line (from (1, 2) to (3, 4) in the block) is in the list.
    // The user keeps the logo in the configured temporary folder; the run draws
    // from a private folder of its own.
    bool drawsLogo(bool hide) {
        const std::filesystem::path run = folder / "run";
        std::filesystem::create_directories(run);
        writeFileSafely(blockFilePath(folder.string(), kLogoBlock),
                        "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n1.0\r\n 20\r\n2.0\r\n 11\r\n3.0\r\n 21\r\n4.0\r\n  0\r\nEOF\r\n");
        ProgramState& state = *s.state;
        state.config.hideLogo = hide;
        state.config.tempDirectory = folder.string();
        settings.tempFolder = run.string();
        GraphicsWindow window(settings.window, state.error);
        FixedClock clock({2024, 3, 9, 14, 5, 30});
        DrawingContext ctx;
        ctx.prompter = &s.prompter;
        ctx.error = &state.error;
        ctx.clock = &clock;
        ctx.window = &window;
        DrawingLayer layer(settings, ctx);
        EXPECT_TRUE(runProjectDrawing(layer,
                                      {.chain = state.chain, .project = state.projectTexts, .docs = state.documentation,
                                       .config = state.config, .texts = state.texts, .clock = clock,
                                       .tempFolder = run.string()},
                                      kDeviceScreen));
        const DisplayList& list = window.displayList();
        return std::find(list.begin(), list.end(), "4;76;12;78;14") != list.end();
    }
};

TEST_F(ScreenDrawing, TheLogoIsInsertedUnlessHidden) {
    EXPECT_TRUE(drawsLogo(false));
    EXPECT_FALSE(drawsLogo(true));
    EXPECT_FALSE(s.state->error.isSet());
}

} // namespace
} // namespace zam1
