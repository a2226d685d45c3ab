#pragma once
// The Monte Carlo histogram of one closing dimension as a diagram of the sheet:
// the bars of the samples, the normal curve of the statistical method over
// them, the required limits as vertical lines, and a text panel. It is drawn
// through the drawing layer, so it goes to the screen and to every CAD format.

namespace zam1 {

class DrawingLayer;
struct ClosingAnalysis;

// Opens the sheet, draws one page and finishes the run (the run must have been
// started). A closing dimension without samples draws only its text panel.
void drawHistogramDiagram(DrawingLayer& layer, const ClosingAnalysis& closing, long double productionSigma);

} // namespace zam1
