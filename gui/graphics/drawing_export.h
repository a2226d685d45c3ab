#pragma once
// Saving what the graphics window shows (any diagram, the project drawing) as a
// PDF page, an SVG file or a PNG picture. The display list is replayed through
// the same canvas that paints the screen, at the window's current zoom; the
// picture is the window's client area, one window pixel taken as 1/96 inch.

#include <QPointF>
#include <QRect>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QIODevice;

namespace zam1 {

class GraphicsWindow;

enum class DrawingExportFormat { Pdf, Svg, Png };

// The page of a PDF: the window's own size, or a sheet (landscape when the
// window is wider than high) with the picture fitted inside a margin.
enum class DrawingPaper { Window, A4, A3 };

// The list's pixels drawn smaller and shifted so that texts past the window's
// edge stay in the picture: a list pixel p is drawn at p * scale + offset.
struct DrawingFit {
    double scale = 1.0;
    QPointF offset{};
    friend bool operator==(const DrawingFit&, const DrawingFit&) = default;
};

// The fit that brings `extent` (what a picture painted, in list pixels) into
// `area` (the window's client area): none when it is there already (within a
// pixel or two), else scaled about the area's middle (never below half size)
// and moved as little as needed.
DrawingFit fitExtent(const QRect& extent, const QRect& area);

// How a saved drawing looks: on white as printed (what would be white is drawn
// black), or with the screen's background colour; fitted as the window shows it.
struct DrawingLook {
    bool whiteBackground = true;
    DrawingPaper paper = DrawingPaper::Window;
    DrawingFit fit{};
};

inline constexpr int kScreenDpi = 96;   // the size a window pixel stands for
inline constexpr int kMinimumExportDpi = 30;
inline constexpr int kMaximumExportDpi = 600;   // a 641 x 481 window is then 4006 x 3006 pixels

// The format a file name asks for by its extension (any case); nothing for others.
std::optional<DrawingExportFormat> drawingFormatOf(std::string_view path);

// Told between parts of a long replay how many records of the list are drawn;
// false cancels the save.
using ExportProgress = std::function<bool(std::size_t done, std::size_t total)>;

// Replays the window's display list into `path`. `dpi` sets the PNG's pixels
// (the window's size at that resolution, stored in the file) and is ignored by
// the vector formats. The file is replaced only when complete. False when the
// replay stopped early, was cancelled or the file could not be written; the
// window's step mode is left as it was.
bool exportDrawing(GraphicsWindow& window, const std::string& path, DrawingExportFormat format, int dpi,
                   const ExportProgress& progress = {}, const DrawingLook& look = {});

// The same into an open device (the command line commits the bytes itself).
bool writeDrawing(GraphicsWindow& window, QIODevice& device, DrawingExportFormat format, int dpi,
                  const ExportProgress& progress = {}, const DrawingLook& look = {});

} // namespace zam1
