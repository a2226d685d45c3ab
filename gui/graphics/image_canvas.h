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

// Replays the window's list into an image of the window's client size filled
// with its background colour, and writes it to `path`. False when the replay
// stopped early or the file could not be written. `paintedPixels` counts the
// pixels that differ from the background.
bool renderWindowToPng(GraphicsWindow& window, const std::string& path, long* paintedPixels = nullptr);

} // namespace zam1
