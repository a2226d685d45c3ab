#pragma once
// The plot device's own printing: the drawing recorded at paper size is painted
// with the graphics window's painter on white paper, each colour with its
// configured pen width, and placed on the printer's page (a PDF file as well).

class QImage;
class QPrinter;

namespace zam1 {

class GraphicsWindow;
struct PlotSettings;

inline constexpr int kPlotDotsPerInch = 200;  // the drawing's resolution, as the plot device records it

// The drawing as the paper shows it: white ground, pens by colour in millimetres.
// An empty image when the replay stopped on a degenerate record.
QImage renderPlotImage(GraphicsWindow& drawing, const PlotSettings& plot);

// Paints the drawing on the printer's page: fitted, or at the configured scale
// (sheet millimetres to paper millimetres) around the page centre. False when
// nothing could be painted.
bool paintPlot(QPrinter& printer, GraphicsWindow& drawing, const PlotSettings& plot);

} // namespace zam1
