#include "gui/graphics/image_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <algorithm>

#include "core/graphics/graphics_window.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

QColor qColour(Rgb c) { return QColor(c.r, c.g, c.b); }

Qt::PenStyle qPenStyle(int systemStyle) {
    switch (systemStyle) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    default: return Qt::SolidLine;
    }
}

QRect boxOf(Pixel a, Pixel b) {
    return QRect(QPoint(std::min(a.x, b.x), std::min(a.y, b.y)), QPoint(std::max(a.x, b.x), std::max(a.y, b.y)));
}

} // namespace

ImageCanvas::ImageCanvas(QImage& image) : ImageCanvas(static_cast<QPaintDevice&>(image), 1.0) {}

ImageCanvas::ImageCanvas(QPaintDevice& device, double scale)
    : m_painter(std::make_unique<QPainter>(&device)), m_widthByTransform(device.devType() != QInternal::Image) {
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setBrush(Qt::NoBrush);
    if (scale != 1.0) m_painter->scale(scale, scale);
}

ImageCanvas::~ImageCanvas() { m_painter->end(); }

void ImageCanvas::setPen(const PenSpec& pen) {
    QPen p(qColour(pen.colour));
    p.setWidth(std::max(pen.width, 1));
    p.setStyle(qPenStyle(pen.style));
    m_painter->setPen(p);
}

void ImageCanvas::setBrush(Rgb colour) { m_painter->setBrush(qColour(colour)); }

void ImageCanvas::moveTo(Pixel p) { m_current = p; }

void ImageCanvas::lineTo(Pixel p) {
    m_painter->drawLine(m_current.x, m_current.y, p.x, p.y);
    m_current = p;
}

void ImageCanvas::ellipse(Pixel corner1, Pixel corner2) {
    const QBrush brush = m_painter->brush();
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawEllipse(boxOf(corner1, corner2));
    m_painter->setBrush(brush);
}

void ImageCanvas::arc(const ArcSpec& a) {
    m_painter->drawArc(boxOf(a.corner1, a.corner2), static_cast<int>(a.startDeg * 16), static_cast<int>(a.spanDeg * 16));
}

void ImageCanvas::polygon(const Pixel (&points)[4]) {
    QPolygon poly;
    for (const Pixel& p : points) poly << QPoint(p.x, p.y);
    m_painter->drawPolygon(poly);
}

void ImageCanvas::text(Pixel topLeft, const FontSpec& wanted, Rgb colour, std::string_view ansi) {
    if (wanted.heightPx <= 0) return;
    QFont font(QString::fromStdString(wanted.face));
    // The height is that of the character cell, leading included, as the window's fonts take it.
    font.setPixelSize(wanted.heightPx);
    const qreal cell = QFontMetricsF(font).height();
    if (cell > 0) font.setPixelSize(std::max(1, static_cast<int>(wanted.heightPx * wanted.heightPx / cell + 0.5)));
    font.setWeight(wanted.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(wanted.italic);
    font.setUnderline(wanted.underline);
    font.setStrikeOut(wanted.strikeOut);
    // The character width: a font stretch on pictures (the fast way), a
    // horizontal scale along the text on PDF and SVG, which drop a stretch.
    const qreal natural = QFontMetricsF(font).averageCharWidth();
    qreal widthScale = 1.0;
    if (wanted.widthPx > 0 && natural > 0) {
        if (m_widthByTransform) {
            widthScale = std::clamp(wanted.widthPx / natural, 0.01, 40.0);
        } else {
            font.setStretch(std::clamp(static_cast<int>(100.0 * wanted.widthPx / natural), 1, 4000));
        }
    }
    m_painter->save();
    m_painter->setFont(font);
    m_painter->setPen(qColour(colour));
    m_painter->translate(topLeft.x, topLeft.y);
    m_painter->rotate(-wanted.escapement / 10.0);
    if (widthScale != 1.0) m_painter->scale(widthScale, 1.0);
    m_painter->drawText(QPointF(0, QFontMetricsF(font).ascent()), QString::fromStdString(ansiToUtf8(ansi)));
    m_painter->restore();
}

bool renderWindowToPng(GraphicsWindow& window, const std::string& path, long* paintedPixels) {
    const WindowSettings& s = window.settings();
    QImage image(s.width + 1, s.height + 1, QImage::Format_RGB32);
    const QColor background = qColour(paletteColour(s.backgroundColour));
    image.fill(background);
    bool complete = false;
    {
        ImageCanvas canvas(image);
        complete = window.FormPaint(canvas);
    }
    if (paintedPixels) {
        long count = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) != background ? 1 : 0;
        }
        *paintedPixels = count;
    }
    return image.save(QString::fromStdString(path), "PNG") && complete;
}

} // namespace zam1
