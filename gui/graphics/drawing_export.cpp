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
#include "core/platform/path_parts.h"
#include "gui/graphics/image_canvas.h"

namespace zam1 {
namespace {

constexpr int kPdfDpi = 1200;
constexpr std::size_t kProgressSlice = 256;  // records between two progress reports
constexpr double kMetresPerInch = 0.0254;

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr double kSheetMarginMm = 10.0;

QColor background(const GraphicsWindow& window, const DrawingLook& look) {
    if (look.whiteBackground) return QColor(kPaper.r, kPaper.g, kPaper.b);
    const Rgb c = paletteColour(window.settings().backgroundColour);
    return QColor(c.r, c.g, c.b);
}

// On white paper white lines and texts would vanish and light ones barely show:
// they are drawn dark, as printed.
class PaperCanvas final : public RecolouringCanvas {
public:
    using RecolouringCanvas::RecolouringCanvas;

private:
    // White becomes black; other light colours (yellow, cyan, light green) are
    // darkened to half, so every line reads on the paper and keeps its hue.
    Rgb recolour(Rgb c) const override {
        if (c == kPaper) return kInk;
        const int luma = (299 * c.r + 587 * c.g + 114 * c.b) / 1000;
        if (luma <= kLightLuma) return c;
        return Rgb{static_cast<std::uint8_t>(c.r / 2), static_cast<std::uint8_t>(c.g / 2), static_cast<std::uint8_t>(c.b / 2)};
    }
    static constexpr int kLightLuma = 140;
};

QSize clientSize(const GraphicsWindow& window) {
    return {window.settings().width + 1, window.settings().height + 1};
}

// The list in slices, with the progress told between them.
bool replayWithProgress(GraphicsWindow& window, ReplayCanvas& canvas, const ExportProgress& progress) {
    const std::size_t total = window.displayList().size();
    SlicedReplay replay(window, canvas);
    while (replay.step(kProgressSlice)) {
        if (!progress(replay.position(), total)) return false;
    }
    return replay.complete() && replay.position() >= total;
}

// The background, then the list on top; step mode never pauses a saved picture.
// `offset` (in window pixels) places the picture on a sheet.
bool paintInto(GraphicsWindow& window, QPaintDevice& device, double scale, const ExportProgress& progress,
               const DrawingLook& look, QPointF offset = {}) {
    const bool stepMode = window.stepMode();
    window.setStepMode(false);
    bool complete = false;
    {
        // One painter from start to end: ending it ends a PDF or SVG document.
        ImageCanvas canvas(device, scale);
        if (canvas.painter().isActive()) {
            canvas.painter().translate(offset);
            canvas.painter().fillRect(QRect(QPoint(0, 0), clientSize(window)), background(window, look));
            canvas.painter().translate(look.fit.offset);
            canvas.painter().scale(look.fit.scale, look.fit.scale);
            canvas.placeTexts(QRect(QPoint(0, 0), clientSize(window)));
            PaperCanvas paper(canvas);
            ReplayCanvas& target = look.whiteBackground ? static_cast<ReplayCanvas&>(paper) : canvas;
            complete = progress ? replayWithProgress(window, target, progress) : window.FormPaint(target);
        }
    }
    window.setStepMode(stepMode);
    return complete;
}

bool writePng(GraphicsWindow& window, QIODevice& file, int dpi, const ExportProgress& progress, const DrawingLook& look) {
    const double scale = static_cast<double>(dpi) / kScreenDpi;
    const QSize size = clientSize(window);
    QImage image(std::max(1, static_cast<int>(std::lround(size.width() * scale))),
                 std::max(1, static_cast<int>(std::lround(size.height() * scale))), QImage::Format_RGB32);
    if (image.isNull()) return false;
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return paintInto(window, image, scale, progress, look) && image.save(&file, "PNG");
}

bool writePdf(GraphicsWindow& window, QIODevice& file, const ExportProgress& progress, const DrawingLook& look) {
    const QSize size = clientSize(window);
    const QSizeF sizeMm = QSizeF(size) * (25.4 / kScreenDpi);
    QPdfWriter writer(&file);
    writer.setResolution(kPdfDpi);
    writer.setCreator(QStringLiteral("ZAM1"));
    writer.setTitle(QStringLiteral("KorvGraf"));
    if (look.paper == DrawingPaper::Window) {
        writer.setPageLayout(QPageLayout(QPageSize(sizeMm, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(),
                                         QPageLayout::Millimeter));
        return paintInto(window, writer, static_cast<double>(kPdfDpi) / kScreenDpi, progress, look);
    }
    const auto orientation = size.width() > size.height() ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPageSize sheet(look.paper == DrawingPaper::A3 ? QPageSize::A3 : QPageSize::A4);
    writer.setPageLayout(QPageLayout(sheet, orientation, QMarginsF(), QPageLayout::Millimeter));
    // The picture as large as the sheet allows inside its margin, in the middle.
    const QSizeF pageMm = writer.pageLayout().fullRect(QPageLayout::Millimeter).size();
    const QSizeF roomMm = pageMm - QSizeF(2 * kSheetMarginMm, 2 * kSheetMarginMm);
    const double mmScale = std::min(roomMm.width() / sizeMm.width(), roomMm.height() / sizeMm.height());
    const double scale = mmScale * kPdfDpi / kScreenDpi;  // device dots per window pixel
    const double dotsPerMm = kPdfDpi / 25.4;
    const QPointF offset((pageMm.width() * dotsPerMm / scale - size.width()) / 2,
                         (pageMm.height() * dotsPerMm / scale - size.height()) / 2);
    return paintInto(window, writer, scale, progress, look, offset);
}

bool writeSvg(GraphicsWindow& window, QIODevice& file, const ExportProgress& progress, const DrawingLook& look) {
    const QSize size = clientSize(window);
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kScreenDpi);
    svg.setTitle(QStringLiteral("KorvGraf"));
    return paintInto(window, svg, 1.0, progress, look);
}

} // namespace

DrawingFit fitExtent(const QRect& extent, const QRect& area) {
    constexpr int kSlack = 2;  // rounding at the edge is no reason to shrink
    if (!extent.isValid() || area.adjusted(-kSlack, -kSlack, kSlack, kSlack).contains(extent)) return {};
    DrawingFit fit;
    fit.scale = std::clamp(std::min(static_cast<double>(area.width()) / extent.width(),
                                    static_cast<double>(area.height()) / extent.height()),
                           0.5, 1.0);
    // The offsets that keep both ends inside, and of them the one nearest a scale about the middle.
    const auto offset = [&](double low, double high, double areaLow, double areaHigh) {
        const double least = areaLow - low * fit.scale;
        const double most = areaHigh - high * fit.scale;
        const double aboutMiddle = (1 - fit.scale) * (areaLow + areaHigh) / 2;
        return least <= most ? std::clamp(aboutMiddle, least, most) : (least + most) / 2;
    };
    fit.offset = QPointF(offset(extent.left(), extent.right() + 1, area.left(), area.right() + 1),
                         offset(extent.top(), extent.bottom() + 1, area.top(), area.bottom() + 1));
    return fit;
}

std::optional<DrawingExportFormat> drawingFormatOf(std::string_view path) {
    const std::string_view extension = extensionPart(path);
    if (extension.empty()) return std::nullopt;
    std::string ext(extension.substr(1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "pdf") return DrawingExportFormat::Pdf;
    if (ext == "svg") return DrawingExportFormat::Svg;
    if (ext == "png") return DrawingExportFormat::Png;
    return std::nullopt;
}

bool writeDrawing(GraphicsWindow& window, QIODevice& device, DrawingExportFormat format, int dpi,
                  const ExportProgress& progress, const DrawingLook& look) {
    switch (format) {
    case DrawingExportFormat::Png:
        return writePng(window, device, std::clamp(dpi, kMinimumExportDpi, kMaximumExportDpi), progress, look);
    case DrawingExportFormat::Pdf: return writePdf(window, device, progress, look);
    case DrawingExportFormat::Svg: return writeSvg(window, device, progress, look);
    }
    return false;
}

bool exportDrawing(GraphicsWindow& window, const std::string& path, DrawingExportFormat format, int dpi,
                   const ExportProgress& progress, const DrawingLook& look) {
    // QSaveFile asks the system whether the file may be written, which root always may.
    if (const int refusal = replaceRefusal(writeTarget(path)); refusal != 0) return ioFailure(refusal, false) == kIoOk;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    // A picture that stopped half-way is not kept; the file that was there stays.
    if (!writeDrawing(window, file, format, dpi, progress, look)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace zam1
