#pragma once
// The graphics window's canvas: paints the replayed display list with QPainter
// onto an image (the window copies it to the screen), or onto a PDF or SVG
// device when a drawing is saved. Tests and tools paint diagrams into PNG files
// with it. Needs a QGuiApplication (the offscreen platform will do).

#include <memory>
#include <string>

#include "core/graphics/replay.h"

class QImage;
class QPaintDevice;
class QPainter;

namespace zam1 {

class GraphicsWindow;

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

private:
    std::unique_ptr<QPainter> m_painter;
    Pixel m_current;
    bool m_widthByTransform = false;  // vector output: text width as a transform
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

// Replays the window's list into an image of the window's client size filled
// with its background colour, and writes it to `path`. False when the replay
// stopped early or the file could not be written. `paintedPixels` counts the
// pixels that differ from the background.
bool renderWindowToPng(GraphicsWindow& window, const std::string& path, long* paintedPixels = nullptr);

} // namespace zam1
