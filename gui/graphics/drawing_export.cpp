#include "gui/graphics/drawing_export.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "core/graphics/replay.h"
#include "core/platform/file_io.h"
#include "gui/graphics/image_canvas.h"

namespace zam1 {
namespace {

constexpr int kPdfDpi = 1200;
constexpr std::size_t kProgressSlice = 256;  // records between two progress reports
constexpr double kMetresPerInch = 0.0254;

QColor background(const GraphicsWindow& window) {
    const Rgb c = paletteColour(window.settings().backgroundColour);
    return QColor(c.r, c.g, c.b);
}

QSize clientSize(const GraphicsWindow& window) {
    return {window.settings().width + 1, window.settings().height + 1};
}

// The list in slices, with the progress told between them.
bool replayWithProgress(GraphicsWindow& window, ImageCanvas& canvas, const ExportProgress& progress) {
    const std::size_t total = window.displayList().size();
    SlicedReplay replay(window, canvas);
    while (replay.step(kProgressSlice)) {
        if (!progress(replay.position(), total)) return false;
    }
    return replay.complete() && replay.position() >= total;
}

// The background, then the list on top; step mode never pauses a saved picture.
bool paintInto(GraphicsWindow& window, QPaintDevice& device, double scale, const ExportProgress& progress) {
    const bool stepMode = window.stepMode();
    window.setStepMode(false);
    bool complete = false;
    {
        // One painter from start to end: ending it ends a PDF or SVG document.
        ImageCanvas canvas(device, scale);
        if (canvas.painter().isActive()) {
            canvas.painter().fillRect(QRect(QPoint(0, 0), clientSize(window)), background(window));
            complete = progress ? replayWithProgress(window, canvas, progress) : window.FormPaint(canvas);
        }
    }
    window.setStepMode(stepMode);
    return complete;
}

bool writePng(GraphicsWindow& window, QSaveFile& file, int dpi, const ExportProgress& progress) {
    const double scale = static_cast<double>(dpi) / kScreenDpi;
    const QSize size = clientSize(window);
    QImage image(std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                 std::max(1, static_cast<int>(std::lround(size.height() * scale))), QImage::Format_RGB32);
    if (image.isNull()) return false;
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return paintInto(window, image, scale, progress) && image.save(&file, "PNG");
}

bool writePdf(GraphicsWindow& window, QSaveFile& file, const ExportProgress& progress) {
    const QSize size = clientSize(window);
    const QSizeF sizeMm = QSizeF(size) * (25.4 / kScreenDpi);
    QPdfWriter writer(&file);
    writer.setResolution(kPdfDpi);
    writer.setCreator(QStringLiteral("ZAM1"));
    writer.setTitle(QStringLiteral("KorvGraf"));
    writer.setPageLayout(QPageLayout(QPageSize(sizeMm, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(),
                                     QPageLayout::Millimeter));
    return paintInto(window, writer, static_cast<double>(kPdfDpi) / kScreenDpi, progress);
}

bool writeSvg(GraphicsWindow& window, QSaveFile& file, const ExportProgress& progress) {
    const QSize size = clientSize(window);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kScreenDpi);
    svg.setTitle(QStringLiteral("KorvGraf"));
    return paintInto(window, svg, 1.0, progress);
}

} // namespace

std::optional<DrawingExportFormat> drawingFormatOf(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string ext(path.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "pdf") return DrawingExportFormat::Pdf;
    if (ext == "svg") return DrawingExportFormat::Svg;
    if (ext == "png") return DrawingExportFormat::Png;
    return std::nullopt;
}

bool exportDrawing(GraphicsWindow& window, const std::string& path, DrawingExportFormat format, int dpi,
                   const ExportProgress& progress) {
    // QSaveFile asks the system whether the file may be written, which root always may.
    if (const int refusal = replaceRefusal(writeTarget(path)); refusal != 0) return ioFailure(refusal, false) == kIoOk;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    bool ok = false;
    switch (format) {
    case DrawingExportFormat::Png:
        ok = writePng(window, file, std::clamp(dpi, kMinimumExportDpi, kMaximumExportDpi), progress);
        break;
    case DrawingExportFormat::Pdf: ok = writePdf(window, file, progress); break;
    case DrawingExportFormat::Svg: ok = writeSvg(window, file, progress); break;
    }
    // A picture that stopped half-way is not kept; the file that was there stays.
    if (!ok) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace zam1
