#pragma once
// The Monte Carlo histogram of one closing dimension as a diagram of the sheet:
// the bars of the samples, the normal curve of the statistical method over
// them, the required limits as vertical lines, and a text panel. It is drawn
// through the drawing layer, so it goes to the screen and to every CAD format.

#include <optional>

namespace zam1 {

class DrawingLayer;
struct ClosingAnalysis;

// What every picture of the histogram shares, in values of the closing
// dimension and in sample counts: the range shown (the samples, the limits and
// the statistical ±4 s, with a margin), the width of a bar, the height of the
// normal curve's peak (0 without s) and of the plot's top.
struct HistogramFrame {
    long double low = 0;
    long double high = 0;
    long double binWidth = 0;
    long double peak = 0;
    long double top = 0;
};

// None for a closing dimension without samples.
std::optional<HistogramFrame> histogramFrame(const ClosingAnalysis& closing);
// The normal curve of the statistical method at `x`, in counts of a bar.
long double normalCurveCount(const ClosingAnalysis& closing, const HistogramFrame& frame, long double x);

// Opens the sheet, draws one page and finishes the run (the run must have been
// started). A closing dimension without samples draws only its text panel.
void drawHistogramDiagram(DrawingLayer& layer, const ClosingAnalysis& closing, long double productionSigma);

} // namespace zam1
