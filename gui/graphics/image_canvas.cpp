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
#include "gui/graphics/text_placement.h"

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

void ImageCanvas::placeTexts(const QRect& area) { m_placer = std::make_unique<TextPlacer>(area); }

void ImageCanvas::setPen(const PenSpec& pen) {
    QPen p(qColour(pen.colour));
    p.setWidth(std::max(pen.width, 1));
    p.setStyle(qPenStyle(pen.style));
    m_linePen = p;
    m_painter->setPen(p);
    m_textPenSet = false;
}

void ImageCanvas::useLinePen() {
    if (!m_textPenSet) return;
    m_painter->setPen(m_linePen);
    m_textPenSet = false;
}

void ImageCanvas::setBrush(Rgb colour) { m_painter->setBrush(qColour(colour)); }

void ImageCanvas::moveTo(Pixel p) { m_current = p; }

void ImageCanvas::lineTo(Pixel p) {
    useLinePen();
    m_painter->drawLine(m_current.x, m_current.y, p.x, p.y);
    const QPoint from(m_current.x, m_current.y);
    const QPoint to(p.x, p.y);
    extend(from);
    extend(to);
    if (m_placer) m_placer->addSegment(from, to);
    m_current = p;
}

void ImageCanvas::ellipse(Pixel corner1, Pixel corner2) {
    useLinePen();
    const QBrush brush = m_painter->brush();
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawEllipse(boxOf(corner1, corner2));
    m_painter->setBrush(brush);
    m_extent |= boxOf(corner1, corner2);
}

void ImageCanvas::arc(const ArcSpec& a) {
    useLinePen();
    m_painter->drawArc(boxOf(a.corner1, a.corner2), static_cast<int>(a.startDeg * 16), static_cast<int>(a.spanDeg * 16));
    m_extent |= boxOf(a.corner1, a.corner2);
}

void ImageCanvas::polygon(const Pixel (&points)[4]) {
    useLinePen();
    QPolygon poly;
    for (const Pixel& p : points) {
        poly << QPoint(p.x, p.y);
        extend(QPoint(p.x, p.y));
    }
    m_painter->drawPolygon(poly);
    if (m_placer) {
        // An arrowhead keeps texts off like the lines of its outline.
        for (int i = 0; i < 4; ++i) m_placer->addSegment(poly[i], poly[(i + 1) % 4]);
    }
}

const ImageCanvas::TextFont& ImageCanvas::textFont(const FontSpec& wanted) {
    if (m_font && m_font->requested == wanted) return *m_font;
    TextFont f;
    f.requested = wanted;
    QFont& font = f.font;
    font.setFamily(QString::fromStdString(wanted.face));
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
    if (wanted.widthPx > 0 && natural > 0) {
        if (m_widthByTransform) {
            f.widthScale = std::clamp(wanted.widthPx / natural, 0.01, 40.0);
        } else {
            font.setStretch(std::clamp(static_cast<int>(100.0 * wanted.widthPx / natural), 1, 4000));
        }
    }
    const QFontMetricsF metrics(font);
    f.ascent = metrics.ascent();
    f.height = metrics.height();
    m_font = std::move(f);
    m_laidOut.clear();
    m_inkedBytes = 0;
    m_painterHasFont = false;
    return *m_font;
}

ImageCanvas::LaidOutText& ImageCanvas::laidOut(std::string_view ansi, const TextFont& f) {
    if (const auto known = m_laidOut.find(ansi); known != m_laidOut.end()) return known->second;
    constexpr std::size_t kMostLaidOut = 4096;
    if (m_laidOut.size() >= kMostLaidOut) {
        m_laidOut.clear();
        m_inkedBytes = 0;
    }
    LaidOutText t;
    t.shown = QString::fromStdString(ansiToUtf8(ansi));
    const QString& shown = t.shown;
    qsizetype first = 0;
    while (first < shown.size() && shown.at(first).isSpace()) ++first;
    qsizetype last = shown.size();
    while (last > first && shown.at(last - 1).isSpace()) --last;
    t.blank = last <= first;
    if (!t.blank) {
        const QFontMetricsF metrics(f.font);
        t.lead = metrics.horizontalAdvance(shown.left(first)) * f.widthScale;
        t.width = metrics.horizontalAdvance(shown.mid(first, last - first)) * f.widthScale;
    }
    return m_laidOut.emplace(std::string(ansi), std::move(t)).first->second;
}

void ImageCanvas::text(Pixel topLeft, const FontSpec& wanted, Rgb colour, std::string_view ansi) {
    if (wanted.heightPx <= 0) return;
    const TextFont& f = textFont(wanted);
    LaidOutText& laid = laidOut(ansi, f);
    QPoint at(topLeft.x, topLeft.y);
    if (wanted.escapement == 0) {
        if (laid.blank) return;  // blanks only
        // The ink: without the blanks that only space the text from a symbol or a neighbour.
        const int height = static_cast<int>(std::ceil(f.height));
        const QRect cell(at.x() + static_cast<int>(laid.lead), at.y(), static_cast<int>(std::ceil(laid.width)), height);
        if (m_placer) {
            // Lines may touch the descent below the baseline, not the characters.
            const QRect ink(cell.left(), cell.top() + 1, cell.width(), std::max(1, static_cast<int>(f.ascent) - 1));
            at.ry() += m_placer->place(at, std::string(ansi), cell, ink);
        }
        m_textCells.push_back(cell.translated(0, at.y() - topLeft.y));
        m_extent |= m_textCells.back();
        // Zoomed in, most texts lie off the picture: they are not painted at all.
        const QPaintDevice* device = m_painter->device();
        if (!m_widthByTransform && device &&
            !m_painter->transform().mapRect(m_textCells.back()).intersects(QRect(0, 0, device->width(), device->height()))) {
            return;
        }
    }
    paintText(at, wanted, f, colour, laid);
}

void ImageCanvas::paintText(QPoint at, const FontSpec& wanted, const TextFont& f, Rgb colour, LaidOutText& laid) {
    // Font and colour stay set on the painter from one text to the next.
    if (!m_painterHasFont) {
        m_painter->setFont(f.font);
        m_painterHasFont = true;
    }
    if (!m_textPenSet || !(m_textColour == colour)) {
        m_painter->setPen(qColour(colour));
        m_textPenSet = true;
        m_textColour = colour;
    }
    if (!m_widthByTransform && wanted.escapement == 0 && f.widthScale == 1.0) {
        // A level text on a picture: its glyphs laid out once, painted where it begins.
        if (!laid.glyphs) {
            QStaticText glyphs(laid.shown);
            glyphs.setTextFormat(Qt::PlainText);
            glyphs.setPerformanceHint(QStaticText::AggressiveCaching);
            laid.glyphs = std::move(glyphs);
        }
        if (++laid.painted > 1 && paintInked(at, f, colour, laid)) return;
        m_painter->drawStaticText(QPointF(at), *laid.glyphs);
        return;
    }
    m_painter->save();
    m_painter->translate(at.x(), at.y());
    m_painter->rotate(-wanted.escapement / 10.0);
    if (f.widthScale != 1.0) m_painter->scale(f.widthScale, 1.0);
    if (m_widthByTransform) {
        m_painter->drawText(QPointF(0, f.ascent), laid.shown);
    } else {
        if (!laid.glyphs) {
            QStaticText glyphs(laid.shown);
            glyphs.setTextFormat(Qt::PlainText);
            laid.glyphs = std::move(glyphs);
        }
        // The text's top, where its ascent begins.
        m_painter->drawStaticText(QPointF(0, 0), *laid.glyphs);
    }
    m_painter->restore();
}

// A text that repeats (a word, a tolerance, a number on many elements) is
// painted from a picture of it made the second time it comes: one blend of the
// picture costs a fraction of blending each glyph again. Only under a plain
// scale, and within a budget of memory; otherwise the glyphs are painted.
bool ImageCanvas::paintInked(QPoint at, const TextFont& f, Rgb colour, LaidOutText& laid) {
    const QTransform& t = m_painter->worldTransform();
    if (t.type() > QTransform::TxScale || t.m11() <= 0 || t.m22() <= 0) return false;
    constexpr int kMargin = 2;  // overhanging glyphs and the blur of their edges
    constexpr std::size_t kMostInkedBytes = std::size_t{32} << 20;
    const QSizeF size = laid.glyphs->size();
    if (laid.inked.isNull() || !(laid.inkedColour == colour) || laid.inkedScaleX != t.m11() ||
        laid.inkedScaleY != t.m22()) {
        const int w = static_cast<int>(std::ceil(size.width() * t.m11())) + 2 * kMargin;
        const int h = static_cast<int>(std::ceil(size.height() * t.m22())) + 2 * kMargin;
        const std::size_t bytes = static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
        const std::size_t kept = laid.inked.isNull() ? 0 : static_cast<std::size_t>(laid.inked.sizeInBytes());
        if (w <= 0 || h <= 0 || m_inkedBytes - kept + bytes > kMostInkedBytes) return false;
        QImage inked(w, h, QImage::Format_ARGB32_Premultiplied);
        inked.fill(Qt::transparent);
        {
            QPainter p(&inked);
            p.setFont(f.font);
            p.setPen(qColour(colour));
            p.translate(kMargin, kMargin);
            p.scale(t.m11(), t.m22());
            p.drawStaticText(QPointF(0, 0), *laid.glyphs);
        }
        m_inkedBytes = m_inkedBytes - kept + bytes;
        laid.inked = std::move(inked);
        laid.inkedColour = colour;
        laid.inkedScaleX = t.m11();
        laid.inkedScaleY = t.m22();
    }
    const QPointF corner = t.map(QPointF(at));
    const QPoint where(static_cast<int>(std::lround(corner.x())) - kMargin, static_cast<int>(std::lround(corner.y())) - kMargin);
    m_painter->save();
    m_painter->resetTransform();
    m_painter->drawImage(where, laid.inked);
    m_painter->restore();
    return true;
}

bool renderWindowToPng(GraphicsWindow& window, const std::string& path, long* paintedPixels) {
    const WindowSettings& s = window.settings();
    QImage image(s.width + 1, s.height + 1, QImage::Format_RGB32);
    const QColor background = qColour(paletteColour(s.backgroundColour));
    image.fill(background);
    bool complete = false;
    {
        ImageCanvas canvas(image);
        canvas.placeTexts(image.rect());
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
