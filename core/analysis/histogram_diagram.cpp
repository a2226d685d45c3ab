#include "core/analysis/histogram_diagram.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>

#include "core/analysis/analysis.h"
#include "core/graphics/diagram_view.h"
#include "core/graphics/drawing_layer.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr int kBarLayer = 17;
constexpr int kCurveLayer = 21;
constexpr int kLimitLayer = 16;
constexpr int kTextLayer = 19;
constexpr int kCurveSteps = 120;

std::string number(long double v) { return fixedText(v, 0, 4, false); }

void textPanel(DiagramView& view, const ClosingAnalysis& c, long double productionSigma) {
    view.reset();
    view.layer().setLayer(kTextLayer);
    view.textStyle(0.011L, 0.016L, 0);
    view.layer().setTextAlignment(0, 0);
    view.moveTo(0.01L, 0.97L);
    view.textLine(utf8ToOem("(" + std::to_string(c.fromElement) + ") => (" + std::to_string(c.toElement) + ")  " + c.text));
    if (!c.resolved) {
        view.textLine(utf8ToOem(c.structureError));
        return;
    }
    const SampleSummary& mc = c.monteCarlo;
    view.textLine("Monte Carlo: n = " + std::to_string(mc.count));
    view.textLine("Mittel: " + number(mc.mean) + "   s: " + number(mc.stdDev));
    view.textLine("0.135 %: " + number(mc.p00135) + "   99.865 %: " + number(mc.p99865));
    view.textLine("Normal: " + number(c.mean) + " +/- " + number(c.statDev) + " (" + fixedText(productionSigma, 0, 2, false) +
                  " Sigma)");
    if (c.limits.lower) view.textLine("UGW: " + number(*c.limits.lower) + "   ppm: " + std::to_string(mc.below * 1000000 / std::max<std::int64_t>(mc.count, 1)));
    if (c.limits.upper) view.textLine("OGW: " + number(*c.limits.upper) + "   ppm: " + std::to_string(mc.above * 1000000 / std::max<std::int64_t>(mc.count, 1)));
}

} // namespace

std::optional<HistogramFrame> histogramFrame(const ClosingAnalysis& c) {
    const SampleSummary& mc = c.monteCarlo;
    const std::size_t bins = mc.histogram.counts.size();
    if (!c.resolved || mc.count <= 0 || bins == 0) return std::nullopt;
    HistogramFrame f;
    f.low = std::min<long double>(mc.histogram.low, c.mean - 4 * c.sigma);
    f.high = std::max<long double>(mc.histogram.high, c.mean + 4 * c.sigma);
    if (c.limits.lower) f.low = std::min(f.low, *c.limits.lower);
    if (c.limits.upper) f.high = std::max(f.high, *c.limits.upper);
    const long double margin = (f.high - f.low) * 0.05L;
    f.low -= margin;
    f.high += margin;
    const std::int64_t tallest = *std::max_element(mc.histogram.counts.begin(), mc.histogram.counts.end());
    f.binWidth = (mc.histogram.high - mc.histogram.low) / static_cast<long double>(bins);
    // The curve's peak in counts: samples × bin width × the density's top.
    f.peak = c.sigma > 0 && f.binWidth > 0
                 ? mc.count * f.binWidth / (c.sigma * std::sqrt(2 * std::numbers::pi_v<long double>))
                 : 0;
    f.top = std::max<long double>(static_cast<long double>(tallest), f.peak) * 1.1L;
    return f;
}

long double normalCurveCount(const ClosingAnalysis& c, const HistogramFrame& f, long double x) {
    if (f.peak <= 0) return 0;
    const long double z = (x - c.mean) / c.sigma;
    return f.peak * std::exp(-0.5L * z * z);
}

void drawHistogramDiagram(DrawingLayer& layer, const ClosingAnalysis& c, long double productionSigma) {
    DiagramView view(layer);
    view.reset();
    layer.openSheet(0, 0, DiagramView::kAreaWidthMm, DiagramView::kAreaHeightMm);
    layer.beginPage();
    textPanel(view, c, productionSigma);
    const SampleSummary& mc = c.monteCarlo;
    if (const std::optional<HistogramFrame> frame = histogramFrame(c)) {
        const long double low = frame->low;
        const long double high = frame->high;
        const long double binWidth = frame->binWidth;
        const long double peak = frame->peak;
        const long double top = frame->top;
        // The plot takes the lower part of the sheet; the text panel stays above it.
        view.setWindow(low, high, -0.12L * top, 1.6L * top);
        if (view.usable() && top > 0) {
            layer.setLayer(kBarLayer);
            for (std::size_t i = 0; i < mc.histogram.counts.size(); ++i) {
                const long double x0 = mc.histogram.low + binWidth * static_cast<long double>(i);
                const auto h = static_cast<long double>(mc.histogram.counts[i]);
                if (h > 0) view.rectangle(x0, 0, x0 + binWidth, h);
            }
            view.line(low, 0, high, 0);
            if (peak > 0) {
                layer.setLayer(kCurveLayer);
                long double px = low;
                long double py = 0;
                for (int k = 0; k <= kCurveSteps; ++k) {
                    const long double x = low + (high - low) * k / kCurveSteps;
                    const long double y = normalCurveCount(c, *frame, x);
                    if (k > 0) view.line(px, py, x, y);
                    px = x;
                    py = y;
                }
            }
            layer.setLayer(kLimitLayer);
            view.textStyle(0.025L * top, 0.032L * top, 0);
            // The lower limit's label runs right from its line, the upper's ends at
            // its line, so that both stay between the limits and on the sheet.
            for (const auto& [limit, label, align] :
                 {std::tuple{c.limits.lower, "UGW", 0}, std::tuple{c.limits.upper, "OGW", 2}}) {
                if (!limit) continue;
                view.line(*limit, 0, *limit, 1.15L * top);
                layer.setTextAlignment(align, 0);
                view.text(std::string(label) + " " + number(*limit), *limit, 1.17L * top);
            }
            layer.setTextAlignment(0, 0);
        }
    }
    layer.endPage();
    layer.finishRun();
}

} // namespace zam1
