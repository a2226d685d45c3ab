// Drawings that read well on the screen and on paper: texts measured with the
// canvas's font keep off each other and off the lines drawn before them, the
// scheme's labels stay inside the window, and colours that vanish on the
// background are shown readable (on the screen only).
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "core/graphics/program_drawings.h"
#include "gui/graphics/drawing_export.h"
#include "gui/graphics/graphics_widget.h"
#include "gui/graphics/image_canvas.h"
#include "gui/graphics/text_placement.h"
#include "tests/diagrams/example_project.h"
#include "tests/gui/graphics_widget_support.h"

namespace zam1::test {
namespace {

// One of the example's diagrams for closing dimension 1 in a window of w x h.
struct Diagram {
    ExampleState example;
    DrawingSettings settings;
    std::unique_ptr<GraphicsWindow> window;

    Diagram(DiagramKind kind, int w, int h) {
        EXPECT_TRUE(example.load()) << example.messages.str();
        settings = drawingSettingsFrom(example.state->config, QDir::tempPath().toStdString());
        settings.window.width = w;
        settings.window.height = h;
        window = std::make_unique<GraphicsWindow>(settings.window, example.state->error);
        DrawingTarget target;
        target.device = kDeviceScreen;
        target.projectName = "getriebewelle";
        target.projectFile = kExampleFileName;
        target.window = window.get();
        EXPECT_EQ(drawProgramDiagram(*example.state, settings, target, kind, 1), DiagramOutcome::Drawn);
    }
};

int overlappingPairs(const std::vector<QRect>& cells) {
    int pairs = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = i + 1; j < cells.size(); ++j) pairs += cells[i].intersects(cells[j]) && cells[i] != cells[j] ? 1 : 0;
    }
    return pairs;
}

// The graphics sizes a program without configuration takes on the three screens.
struct ScreenCase {
    int width;
    int height;
};
constexpr ScreenCase kScreens[] = {{1024 - 9, 768 - 91}, {1600 - 9, 1200 - 91}, {2560 - 9, 1440 - 91}};

TEST(DrawingLegibility, NoTwoTextsOfADiagramOverlap) {
    for (const DiagramKind kind : {kDiagramOverall, kDiagramScheme, kDiagramToScale}) {
        for (const ScreenCase& screen : kScreens) {
            SCOPED_TRACE(testing::Message() << "diagram " << kind << " at " << screen.width << "x" << screen.height);
            Diagram d(kind, screen.width, screen.height);
            QImage image(screen.width + 1, screen.height + 1, QImage::Format_RGB32);
            int asRecorded = 0;
            for (const bool place : {false, true}) {
                image.fill(Qt::black);
                ImageCanvas canvas(image);
                if (place) canvas.placeTexts(image.rect());
                ASSERT_TRUE(d.window->FormPaint(canvas));
                ASSERT_GT(canvas.textCells().size(), 5u);
                if (place) {
                    EXPECT_EQ(overlappingPairs(canvas.textCells()), 0);
                } else {
                    asRecorded = overlappingPairs(canvas.textCells());
                }
            }
            // The overall graphic's deviations lie on each other where the list puts them.
            if (kind == kDiagramOverall) {
                EXPECT_GT(asRecorded, 0);
            }
        }
    }
}

TEST(DrawingLegibility, ATextMovesTheLeastThatFreesIt) {
    // A dimension line at y = 100 from x = 0 to 200, with its upper deviation
    // above it; the lower one is drawn where the upper one already is.
    const QRect upper(80, 70, 40, 20);
    const struct {
        const char* name;
        QRect cell;
        int expectedShift;  // 0: stays; otherwise the sign of the move
    } rows[] = {
        {"a free place: stays", QRect(80, 20, 40, 20), 0},
        {"on the upper text and the line: goes below the line", QRect(80, 84, 40, 20), 1},
        {"only on the line: moves up off it", QRect(20, 92, 40, 20), -1},
        {"beyond the line's end: stays", QRect(300, 92, 40, 20), 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TextPlacer placer(QRect(0, 0, 640, 480));
        placer.addSegment({0, 100}, {200, 100});
        placer.place({80, 70}, "+0.1", upper, upper.adjusted(0, 1, 0, -5));
        const int shift = placer.place(row.cell.topLeft(), "-0.2", row.cell, row.cell.adjusted(0, 1, 0, -5));
        if (row.expectedShift == 0) {
            EXPECT_EQ(shift, 0);
        } else {
            EXPECT_GT(shift * row.expectedShift, 0);
            const QRect moved = row.cell.translated(0, shift);
            EXPECT_FALSE(moved.intersects(upper));
            EXPECT_FALSE(segmentMeetsRect({0, 100}, {200, 100}, moved.adjusted(0, 1, 0, -5)));
        }
        // Drawn again at the same place (an erase), the text goes where it went before.
        EXPECT_EQ(placer.place(row.cell.topLeft(), "-0.2", row.cell, row.cell), shift);
    }
}

TEST(DrawingLegibility, TheSchemeStaysInsideTheWindowWithItsLabels) {
    for (const ScreenCase& screen : kScreens) {
        SCOPED_TRACE(testing::Message() << screen.width << "x" << screen.height);
        Diagram d(kDiagramScheme, screen.width, screen.height);
        TFkorvgra widget(*d.window);
        widget.resize(screen.width + 1, screen.height + 1);
        widget.startReplay();
        ASSERT_TRUE(waitForReplay(widget));
        // Painted again as the list says, the labels run past the right edge ...
        QImage unfitted(screen.width + 1, screen.height + 1, QImage::Format_RGB32);
        ImageCanvas canvas(unfitted);
        d.window->FormPaint(canvas);
        QRect labels;
        for (const QRect& cell : canvas.textCells()) labels |= cell;
        ASSERT_GT(labels.right(), screen.width);
        // ... and the window shows them a little smaller, all of them.
        EXPECT_LT(widget.fitScale(), 1.0);
        EXPECT_GE(widget.fitScale(), 0.5);
        const QRectF shown(QPointF(labels.topLeft()) * widget.fitScale() + widget.fitOffset(),
                           QSizeF(labels.size()) * widget.fitScale());
        EXPECT_TRUE(QRectF(-2, -2, screen.width + 5, screen.height + 5).contains(shown))
            << shown.left() << "," << shown.top() << " - " << shown.right() << "," << shown.bottom();
    }
    // The overall graphic nearly fits as drawn: it keeps (almost) its own size.
    Diagram overall(kDiagramOverall, 1015, 677);
    TFkorvgra widget(*overall.window);
    widget.startReplay();
    ASSERT_TRUE(waitForReplay(widget));
    EXPECT_GT(widget.fitScale(), 0.95);
}

// Blue on navy is lightened on the screen; a saved picture with the screen's
// background keeps the drawing's own colours.
TEST(DrawingLegibility, UnreadableColoursAreMappedOnTheScreenOnly) {
    ErrorFlag error;
    GraphicsWindow window(zam1::screen(), error);
    window.Header(0, 0, 160, 120);
    window.SetColor(9);  // blue
    for (int i = 0; i < 10; ++i) window.line(10, 10 + i, 150, 10 + i);
    const Rgb navy = paletteColour(1);
    const Rgb blue = paletteColour(9);
    const auto count = [](const QImage& image, Rgb c) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == QColor(c.r, c.g, c.b) ? 1 : 0;
        }
        return n;
    };
    TFkorvgra widget(window);
    widget.startReplay();
    ASSERT_TRUE(waitForReplay(widget));
    const Rgb shown = readableOn(blue, navy);
    EXPECT_EQ(count(widget.image(), blue), 0);
    EXPECT_GT(count(widget.image(), shown), 1000);

    QTemporaryDir folder;
    const std::string png = (folder.path() + QStringLiteral("/blue.png")).toStdString();
    ASSERT_TRUE(exportDrawing(window, png, DrawingExportFormat::Png, 96, {}, DrawingLook{.whiteBackground = false}));
    const QImage saved(QString::fromStdString(png));
    EXPECT_GT(count(saved, blue), 1000);
    EXPECT_EQ(count(saved, shown), 0);
}

} // namespace
} // namespace zam1::test
