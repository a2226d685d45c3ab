#include "gui/graphics/plot_print.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

#include "core/config/plot_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "gui/graphics/image_canvas.h"

namespace zam1 {
namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};

// Passes everything to the image canvas; pens get the width configured for their
// colour, and what would be white on the white paper is drawn black.
// The image canvas the plot canvas passes everything to, made before it.
struct PlotImage {
    explicit PlotImage(QImage& image) : imageCanvas(image) {}
    ImageCanvas imageCanvas;
};

class PlotCanvas final : private PlotImage, public RecolouringCanvas {
public:
    PlotCanvas(QImage& image, const PlotSettings& plot)
        : PlotImage(image), RecolouringCanvas(imageCanvas), m_plot(plot) {}

private:
    PenSpec adjustPen(const PenSpec& pen) const override {
        PenSpec p = pen;
        const int colour = paletteNumber(pen.colour);
        if (colour >= 0) {
            const long double mm = m_plot.penWidthsMm[static_cast<std::size_t>(colour)];
            p.width = std::max(1, static_cast<int>(std::lround(mm * kPlotDotsPerInch / 25.4L)));
        }
        return p;
    }
    Rgb recolour(Rgb c) const override { return c == kPaper ? kInk : c; }
    static int paletteNumber(Rgb c) {
        for (int i = 0; i < kPlotPens; ++i) {
            if (paletteColour(i) == c) return i;
        }
        return -1;
    }

    const PlotSettings& m_plot;
};

} // namespace

QImage renderPlotImage(GraphicsWindow& drawing, const PlotSettings& plot) {
    const WindowSettings& s = drawing.settings();
    QImage image(s.width + 1, s.height + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    bool complete = false;
    {
        PlotCanvas canvas(image, plot);
        complete = drawing.FormPaint(canvas);
    }
    return complete ? image : QImage();
}

bool paintPlot(QPrinter& printer, GraphicsWindow& drawing, const PlotSettings& plot) {
    const QImage image = renderPlotImage(drawing, plot);
    if (image.isNull()) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    // The recorded pixels are square on a 4:3 area, as on the screen the mapping assumes.
    QRectF target(QPointF(0, 0), QSizeF(4, 3).scaled(page.size(), Qt::KeepAspectRatio));
    // At a scale, a sheet millimetre becomes `scale` paper millimetres; the
    // recorded drawing holds kx image pixels per sheet millimetre.
    if (plot.scale > 0 && drawing.kx() > 0) {
        const long double printerPixelsPerMm = printer.resolution() / 25.4L;
        const auto factor = static_cast<qreal>(plot.scale * printerPixelsPerMm / drawing.kx());
        target.setSize(QSizeF(image.width(), image.width() * 0.75) * factor);
    }
    target.moveCenter(QPointF(page.width() / 2, page.height() / 2));
    painter.drawImage(target, image);
    return painter.end();
}

} // namespace zam1
