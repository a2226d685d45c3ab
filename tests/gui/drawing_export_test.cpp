// Pictures of the example's diagrams and project drawing saved as PDF, SVG and
// PNG, each read back by a real reader: poppler for the PDF, Python's XML parser
// for the SVG, Qt's PNG reader for the picture and its resolution.
#include <QDir>
#include <QLocale>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "core/graphics/program_drawings.h"
#include "gui/graphics/drawing_export.h"
#include "gui/graphics/image_canvas.h"
#include "tests/diagrams/example_project.h"
#include "tests/gui/tool_output.h"

namespace zam1::test {
namespace {

// The pictures are read back: the run under the German locale, which may go on
// at the same time, writes into a folder of its own.
const QString kShots = QDir::tempPath() + QStringLiteral("/pdf-export-shots/") + QLocale::system().name();

// The example with one of its drawings in a 640 x 480 window: 0 the project
// drawing, 2 the normal distribution of closing dimension 1.
struct ExampleDrawing {
    ExampleState example;
    DrawingSettings settings;
    std::unique_ptr<GraphicsWindow> window;

    explicit ExampleDrawing(int kind) {
        EXPECT_TRUE(example.load()) << example.messages.str();
        settings = drawingSettingsFrom(example.state->config, QDir::tempPath().toStdString());
        settings.window.width = 640;
        settings.window.height = 480;
        window = std::make_unique<GraphicsWindow>(settings.window, example.state->error);
        DrawingTarget target;
        target.device = kDeviceScreen;
        target.projectName = "getriebewelle";
        target.projectFile = kExampleFileName;
        target.window = window.get();
        const bool drawn = kind == 0 ? drawProgramProjectDrawing(*example.state, settings, target)
                                     : drawProgramDiagram(*example.state, settings, target,
                                                          static_cast<DiagramKind>(kind), 1) == DiagramOutcome::Drawn;
        EXPECT_TRUE(drawn);
    }
};

TEST(DrawingExport, FormatFollowsTheExtension) {
    struct Row {
        const char* path;
        std::optional<DrawingExportFormat> format;
    };
    const Row rows[] = {
        {"a/b.pdf", DrawingExportFormat::Pdf}, {"B.SVG", DrawingExportFormat::Svg}, {"c.Png", DrawingExportFormat::Png},
        {"d.bmp", std::nullopt},               {"e", std::nullopt},                 {"f.png/g", std::nullopt},
        {"/tmp/v1.2/welle", std::nullopt},     {"/tmp/v1.png/welle.PDF", DrawingExportFormat::Pdf},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(drawingFormatOf(row.path), row.format);
    }
}

TEST(DrawingExport, PngHasTheResolutionAskedForAndTheScreensPicture) {
    ExampleDrawing d(2);
    QTemporaryDir folder;
    // At the screen's 96 dpi the picture is the window's, pixel for pixel.
    const std::string screenPng = (folder.path() + QStringLiteral("/screen.png")).toStdString();
    ASSERT_TRUE(renderWindowToPng(*d.window, screenPng));
    struct Row {
        int dpi;
        QSize size;
    };
    const Row rows[] = {{96, {641, 481}}, {300, {2003, 1503}}, {600, {4006, 3006}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dpi);
        const QString path = folder.path() + QStringLiteral("/normal_%1.png").arg(row.dpi);
        ASSERT_TRUE(exportDrawing(*d.window, path.toStdString(), DrawingExportFormat::Png, row.dpi, {},
                                  DrawingLook{.whiteBackground = false}));
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), row.size);
        EXPECT_NEAR(image.dotsPerMeterX() * 0.0254, row.dpi, 0.5);
        EXPECT_NEAR(image.dotsPerMeterY() * 0.0254, row.dpi, 0.5);
        if (row.dpi == 96) {
            EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32), QImage(QString::fromStdString(screenPng)).convertToFormat(QImage::Format_RGB32));
        }
    }
    QDir().mkpath(kShots);
    exportDrawing(*d.window, (kShots + QStringLiteral("/normal_1_300dpi.png")).toStdString(), DrawingExportFormat::Png, 300);
}

TEST(DrawingExport, SvgParsesAndHoldsTheDrawingsTexts) {
    for (int kind : {0, 2}) {
        SCOPED_TRACE(kind);
        ExampleDrawing d(kind);
        QDir().mkpath(kShots);
        const QString path = kShots + QStringLiteral("/drawing_%1.svg").arg(kind);
        ASSERT_TRUE(exportDrawing(*d.window, path.toStdString(), DrawingExportFormat::Svg, 0));
        const char* script =
            "import sys, xml.etree.ElementTree as E\n"
            "root = E.parse(sys.argv[1]).getroot()\n"
            "print(root.tag.split('}')[-1], root.get('viewBox'), sum(1 for _ in root.iter()))\n"
            "print(' '.join(t.strip() for t in root.itertext() if t.strip()))\n";
        const std::optional<std::string> out = toolOutput(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
        ASSERT_TRUE(out) << "the SVG does not parse";
        EXPECT_EQ(out->rfind("svg 0 0 641 481 ", 0), 0u) << *out;
        int elements = 0;
        std::sscanf(out->c_str(), "svg 0 0 641 481 %d", &elements);
        EXPECT_GT(elements, 50);
        EXPECT_NE(out->find("Axialspiel Ring"), std::string::npos) << *out;

        // Drawn by Qt's own SVG renderer, it is the screen's picture but for edges and glyphs.
        QImage rendered(641, 481, QImage::Format_RGB32);
        rendered.fill(Qt::white);
        {
            QSvgRenderer renderer(path);
            ASSERT_TRUE(renderer.isValid());
            QPainter painter(&rendered);
            renderer.render(&painter);
        }
        rendered.save(kShots + QStringLiteral("/drawing_%1_svg.png").arg(kind));
        QImage screen(641, 481, QImage::Format_RGB32);
        const std::string screenPng = (kShots + QStringLiteral("/drawing_%1_screen.png").arg(kind)).toStdString();
        ASSERT_TRUE(renderWindowToPng(*d.window, screenPng));
        screen.load(QString::fromStdString(screenPng));
        screen = screen.convertToFormat(QImage::Format_RGB32);
        // Every pixel the screen paints has paint beside it in the SVG's picture,
        // which smooths its edges.
        const QColor bg = screen.pixelColor(0, 0);
        const auto painted = [&](const QImage& image, int x, int y) {
            const QColor c = image.pixelColor(std::clamp(x, 0, 640), std::clamp(y, 0, 480));
            return std::abs(c.red() - bg.red()) + std::abs(c.green() - bg.green()) + std::abs(c.blue() - bg.blue()) > 48;
        };
        long screenPainted = 0;
        long missing = 0;
        for (int y = 0; y < 481; ++y) {
            for (int x = 0; x < 641; ++x) {
                if (!painted(screen, x, y)) continue;
                ++screenPainted;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy) {
                    for (int dx = -1; dx <= 1 && !near; ++dx) near = painted(rendered, x + dx, y + dy);
                }
                missing += near ? 0 : 1;
            }
        }
        EXPECT_GT(screenPainted, 2000);
        EXPECT_LT(missing, screenPainted / 50) << missing << " of " << screenPainted;
    }
}

TEST(DrawingExport, PdfIsOnePageWithTheDrawingsTexts) {
    for (int kind : {0, 2}) {
        SCOPED_TRACE(kind);
        ExampleDrawing d(kind);
        QDir().mkpath(kShots);
        const QString path = kShots + QStringLiteral("/drawing_%1.pdf").arg(kind);
        ASSERT_TRUE(exportDrawing(*d.window, path.toStdString(), DrawingExportFormat::Pdf, 0));
        const std::optional<std::string> info = toolOutput(QStringLiteral("pdfinfo"), {path});
        ASSERT_TRUE(info);
        EXPECT_NE(info->find("Pages:           1\n"), std::string::npos) << *info;
        // 641 x 481 window pixels at 96 dpi: 480.75 x 360.75 pt, rounded to whole points.
        EXPECT_NE(info->find("Page size:       481 x 361 pts"), std::string::npos) << *info;
        const std::optional<std::string> text = toolOutput(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        ASSERT_TRUE(text);
        EXPECT_NE(collapsedBlanks(*text).find("Axialspiel Ring"), std::string::npos) << *text;
        toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"), path,
                                               kShots + QStringLiteral("/drawing_%1_pdf").arg(kind)});
    }
}

TEST(DrawingExport, AFailedSaveKeepsTheFileThatWasThere) {
    ExampleDrawing d(2);
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/alt.png");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    // A degenerate window record stops the replay: the picture would be half drawn.
    d.window->SetWindow(false, false, 3, 0, 3, 1, 0, 0, 1, 1);
    d.example.state->error.clear();
    EXPECT_FALSE(exportDrawing(*d.window, path.toStdString(), DrawingExportFormat::Png, 96));
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("alt"));
    EXPECT_FALSE(exportDrawing(*d.window, (folder.path() + QStringLiteral("/no/such.svg")).toStdString(),
                               DrawingExportFormat::Svg, 96));
}

// A picture the user write-protected stays, also when the program runs as root.
TEST(DrawingExport, AWriteProtectedFileIsKept) {
    ExampleDrawing d(2);
    QTemporaryDir folder;
    const QString locked = folder.path() + QStringLiteral("/geschuetzt.svg");
    {
        QFile file(locked);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("alt");
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_FALSE(exportDrawing(*d.window, locked.toStdString(), DrawingExportFormat::Svg, 96));
    QFile kept(locked);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("alt"));
}

// A save told in parts gives the same picture as one in one go; cancelled, it
// keeps the file that was there.
TEST(DrawingExport, ProgressIsToldAndCancelKeepsTheFileThatWasThere) {
    ExampleDrawing d(0);
    const std::size_t records = d.window->displayList().size();
    ASSERT_GT(records, 512u) << "the project drawing must take more than two parts";
    QTemporaryDir folder;
    const std::string whole = (folder.path() + QStringLiteral("/whole.png")).toStdString();
    const std::string told = (folder.path() + QStringLiteral("/told.png")).toStdString();
    ASSERT_TRUE(exportDrawing(*d.window, whole, DrawingExportFormat::Png, 96));
    std::vector<std::size_t> reports;
    ASSERT_TRUE(exportDrawing(*d.window, told, DrawingExportFormat::Png, 96, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, records);
        reports.push_back(done);
        return true;
    }));
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_LT(reports.back(), records);
    const auto bytes = [](const std::string& path) {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray picture = bytes(whole);
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_EQ(bytes(told), picture);

    int calls = 0;
    EXPECT_FALSE(exportDrawing(*d.window, told, DrawingExportFormat::Svg, 96, [&](std::size_t, std::size_t) {
        ++calls;
        return false;
    }));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(bytes(told), picture) << "a cancelled save keeps the file that was there";
}

// Saved drawings are on white as printed unless the screen's background is
// asked for; a PDF goes on A4 or A3, landscape for a window wider than high.
TEST(DrawingExport, WhiteOrScreenBackgroundAndPaperSizes) {
    ExampleDrawing d(2);
    QTemporaryDir folder;
    const struct {
        const char* name;
        DrawingLook look;
        const char* pageSize;  // PDF only
    } rows[] = {
        {"default: white, window size", DrawingLook{}, "481 x 361 pts"},
        {"screen background", DrawingLook{.whiteBackground = false}, "481 x 361 pts"},
        {"A4 landscape", DrawingLook{.paper = DrawingPaper::A4}, "842 x 595 pts (A4)"},
        {"A3 landscape", DrawingLook{.paper = DrawingPaper::A3}, "1191 x 842 pts (A3)"},
    };
    const Rgb navy = paletteColour(d.window->settings().backgroundColour);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString png = folder.path() + QStringLiteral("/look.png");
        ASSERT_TRUE(exportDrawing(*d.window, png.toStdString(), DrawingExportFormat::Png, 96, {}, row.look));
        const QImage image(png);
        const QColor corner = image.pixelColor(0, 0);
        EXPECT_EQ(corner, row.look.whiteBackground ? QColor(Qt::white) : QColor(navy.r, navy.g, navy.b));
        // On white nothing is drawn white: it would not be seen.
        if (row.look.whiteBackground) {
            int dark = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) dark += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
            }
            EXPECT_GT(dark, 500);
        }
        const QString pdf = folder.path() + QStringLiteral("/look.pdf");
        ASSERT_TRUE(exportDrawing(*d.window, pdf.toStdString(), DrawingExportFormat::Pdf, 0, {}, row.look));
        const std::optional<std::string> info = toolOutput(QStringLiteral("pdfinfo"), {pdf});
        ASSERT_TRUE(info);
        EXPECT_NE(info->find(std::string("Page size:       ") + row.pageSize), std::string::npos) << *info;
        const std::optional<std::string> text = toolOutput(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        ASSERT_TRUE(text);
        EXPECT_NE(collapsedBlanks(*text).find("Axialspiel Ring"), std::string::npos) << *text;
        QDir().mkpath(kShots);
        toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"), pdf,
                                               kShots + QStringLiteral("/look_%1").arg(&row - rows)});
    }
}

} // namespace
} // namespace zam1::test
