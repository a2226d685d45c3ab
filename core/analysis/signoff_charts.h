#pragma once
// The two charts of the sign-off report as SVG text: the Monte Carlo histogram
// with the normal curve of the statistical method and the required limits, and
// the Pareto chart of the elements' shares. Plain SVG 1.1 (rectangles, lines,
// polylines, texts; no CSS, no scripts, no references), so that it stands inline
// in HTML and renders through Qt's SVG renderer on a PDF page alike.

#include <string>

namespace zam1 {

struct ClosingAnalysis;

inline constexpr int kHistogramSvgWidth = 640;
inline constexpr int kHistogramSvgHeight = 300;
inline constexpr int kParetoSvgWidth = 640;
inline constexpr int kParetoSvgHeight = 260;
// The Pareto chart shows the largest shares one by one and the rest as one bar.
inline constexpr int kParetoBars = 15;

// Empty for a closing dimension without samples.
std::string histogramSvg(const ClosingAnalysis& closing);
// Empty when the closing dimension has no element with a share.
std::string paretoSvg(const ClosingAnalysis& closing);

} // namespace zam1
