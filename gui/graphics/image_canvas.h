#pragma once
// The graphics window's canvas: paints the replayed display list with QPainter
// onto an image (the window copies it to the screen), or onto a PDF or SVG
// device when a drawing is saved. Tests and tools paint diagrams into PNG files
// with it. Needs a QGuiApplication (the offscreen platform will do).

#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/graphics/replay.h"

class QPaintDevice;
class QPainter;

namespace zam1 {

class GraphicsWindow;
class TextPlacer;

class ImageCanvas final : public ReplayCanvas {
public:
    explicit ImageCanvas(QImage& image);
    // Any paint device; `scale` maps the window's pixels onto the device's units.
    ImageCanvas(QPaintDevice& device, double scale);
    ~ImageCanvas() override;

    void setPen(const PenSpec& pen) override;
    void setBrush(Rgb colour) override;
    void moveTo(Pixel p) override;
    void lineTo(Pixel p) override;
    void ellipse(Pixel corner1, Pixel corner2) override;
    void arc(const ArcSpec& arc) override;
    void polygon(const Pixel (&points)[4]) override;
    void text(Pixel topLeft, const FontSpec& font, Rgb colour, std::string_view ansi) override;

    // The painter in window pixels, for what is painted around the list (a background).
    QPainter& painter() { return *m_painter; }

    // Texts inside `area` (the window's pixels) keep off the texts and lines drawn
    // before them (see TextPlacer); without this call they go where the list says.
    void placeTexts(const QRect& area);
    // The box around everything painted so far, texts as measured, in window pixels.
    QRect paintedExtent() const { return m_extent; }
    // The character cells of the level texts painted, where they were painted.
    const std::vector<QRect>& textCells() const { return m_textCells; }

private:
    // The font of a text style, with its ascent and horizontal scale; the last one is kept.
    struct TextFont {
        FontSpec requested;
        QFont font;
        double ascent = 0;
        double height = 0;
        double widthScale = 1.0;
    };
    // A text as the present font lays it out: its shown form, where the ink
    // begins and how wide it is (blanks around it only space it), and for
    // pictures the laid-out glyphs.
    struct LaidOutText {
        QString shown;
        double lead = 0;
        double width = 0;
        bool blank = true;
        std::optional<QStaticText> glyphs;
        int painted = 0;      // times painted since it was laid out
        QImage inked;         // the text in `inkedColour` at the device's scale, once it repeats
        Rgb inkedColour{};
        double inkedScaleX = 0;
        double inkedScaleY = 0;
    };
    const TextFont& textFont(const FontSpec& wanted);
    LaidOutText& laidOut(std::string_view ansi, const TextFont& font);
    void paintText(QPoint at, const FontSpec& wanted, const TextFont& font, Rgb colour, LaidOutText& text);
    bool paintInked(QPoint at, const TextFont& font, Rgb colour, LaidOutText& text);
    // Lines, arcs and outlines are drawn with the pen of setPen, texts with their colour.
    void useLinePen();
    void extend(QPoint p) { m_extent |= QRect(p, QSize(1, 1)); }

    std::unique_ptr<QPainter> m_painter;
    Pixel m_current;
    bool m_widthByTransform = false;  // vector output: text width as a transform
    std::optional<TextFont> m_font;
    bool m_painterHasFont = false;
    QPen m_linePen;
    bool m_textPenSet = false;
    Rgb m_textColour{};
    // Texts of the present font by their bytes: a drawing repeats its numbers
    // and words, and measuring and laying out a text costs more than painting it.
    struct BytesHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
    };
    std::unordered_map<std::string, LaidOutText, BytesHash, std::equal_to<>> m_laidOut;
    std::size_t m_inkedBytes = 0;
    std::unique_ptr<TextPlacer> m_placer;
    QRect m_extent;
    std::vector<QRect> m_textCells;
};


// Passes every call on to another canvas with its colours mapped: drawings that
// go on white paper draw dark what would vanish there. Subclasses say how.
class RecolouringCanvas : public ReplayCanvas {
public:
    explicit RecolouringCanvas(ReplayCanvas& target) : m_target(target) {}

    void setPen(const PenSpec& pen) override {
        PenSpec p = adjustPen(pen);
        p.colour = recolour(pen.colour);
        m_target.setPen(p);
    }
    void setBrush(Rgb colour) override { m_target.setBrush(recolour(colour)); }
    void moveTo(Pixel p) override { m_target.moveTo(p); }
    void lineTo(Pixel p) override { m_target.lineTo(p); }
    void ellipse(Pixel a, Pixel b) override { m_target.ellipse(a, b); }
    void arc(const ArcSpec& arc) override { m_target.arc(arc); }
    void polygon(const Pixel (&points)[4]) override { m_target.polygon(points); }
    void text(Pixel topLeft, const FontSpec& font, Rgb colour, std::string_view ansi) override {
        m_target.text(topLeft, font, recolour(colour), ansi);
    }
    bool processEvents() override { return m_target.processEvents(); }

protected:
    virtual Rgb recolour(Rgb colour) const = 0;
    virtual PenSpec adjustPen(const PenSpec& pen) const { return pen; }

private:
    ReplayCanvas& m_target;
};

// The screen's colours: each one that would not read on the window's background
// (a blue line on navy) is drawn lighter or darker until it does (readableOn);
// the background colour itself, with which the window erases, stays.
class ReadableCanvas final : public RecolouringCanvas {
public:
    ReadableCanvas(ReplayCanvas& target, Rgb background) : RecolouringCanvas(target), m_background(background) {}

private:
    Rgb recolour(Rgb colour) const override { return readableOn(colour, m_background); }
    Rgb m_background;
};

// Replays the window's list into an image of the window's client size filled
// with its background colour, and writes it to `path`. False when the replay
// stopped early or the file could not be written. `paintedPixels` counts the
// pixels that differ from the background.
bool renderWindowToPng(GraphicsWindow& window, const std::string& path, long* paintedPixels = nullptr);

} // namespace zam1
