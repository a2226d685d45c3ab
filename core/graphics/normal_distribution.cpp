// The statistical result of one closing dimension as a bell curve over -4 to +4
// standard deviations, with the scales of its values, of the cumulative
// percentage and of the standard deviations, and a panel with the figures.

#include <algorithm>
#include <cmath>

#include "core/graphics/diagram_run.h"
#include "core/graphics/diagram_view.h"
#include "core/graphics/drawing_layer.h"
#include "core/lang/language.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/records/documentation.h"
#include "core/text/number_format.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr long double kTick = 0.04L;
constexpr long double kLabelOffset = 0.05L;
constexpr long double kLabelHeight = 0.04L;
constexpr long double kUnitX = 4.5L;
constexpr int kMaxValueTicks = 1000;

long double density(long double x) { return std::exp(-x * x / 2); }

// A horizontal scale line from -4 to 4.02 with an arrowhead at its end.
void axisLine(DiagramView& view, long double y) {
    view.line(-4, y, 4.02L, y);
    view.arrow(4.02L, y, kArrowRight, view.lengthX(0.02L));
}

void ticks(DiagramView& view, long double x, long double upper, long double lower) {
    view.line(x, upper, x, upper - kTick);
    view.line(x, lower, x, lower + kTick);
}

// Integer part of a quotient that should be whole, without losing the whole
// number to a rounding error just below it.
long double wholePart(long double q) {
    const long double nearest = std::round(q);
    if (std::fabs(q - nearest) < 1e-9L * std::max(1.0L, std::fabs(q))) return nearest;
    return std::trunc(q);
}

// A step for about ten divisions of lo..hi: 1, 2, 5 or 10 times a power of ten.
long double tickStep(long double lo, long double hi) {
    const long double e = (hi - lo) / 10;
    const long double p = std::pow(10.0L, std::trunc(std::log10(e)));
    const long double g = e / p;
    if (g < 1.5L) return p;
    if (g < 3) return 2 * p;
    if (g < 8) return 5 * p;
    return 10 * p;
}

void valueScale(DiagramView& view, const DiagramInput& in, long double mean, long double sigma) {
    long double lo = mean - 3 * sigma;
    long double hi = mean + 3 * sigma;
    if (std::fabs(hi - lo) < 1e-5L) {
        lo -= 1;
        hi += 1;
    }
    hi -= 1e-5L * (hi - lo);
    const long double step = tickStep(lo, hi);
    const long double first = wholePart(lo / step) - 1;
    const long double last = wholePart(hi / step) + 1;
    if (!std::isfinite(step) || step <= 0 || !(last - first < kMaxValueTicks)) return;
    // The labels stand upright: their height runs along x. A value left of the
    // window, or one whose label would run into the unit label, is left out.
    const long double labelWidth = view.lengthY(kLabelHeight) / view.lengthX(1);
    for (long double k = first; k <= last; ++k) {
        const long double v = k * step;
        const long double s = (v - mean) / sigma;
        if (s < view.window().xmin || s + kLabelOffset > kUnitX - labelWidth) continue;
        ticks(view, s, 0, -0.4L);
        view.text(fixedNumber(v, 0, 2, in.numbers), s + kLabelOffset, -0.25L);
    }
    view.text("  " + std::string(unitLabel(in.inches)), kUnitX, -0.3L);
}

void percentScale(DiagramView& view, const DiagramInput& in) {
    view.layer().setLayer(18);
    axisLine(view, -0.4L);
    for (int x = -4; x <= 4; ++x) {
        ticks(view, x, -0.4L, -0.75L);
        view.text(fixedNumber(probabilityBelow(x), 0, 3, in.numbers), x + kLabelOffset, -0.675L);
    }
    view.text("Prozent", kUnitX, -0.675L);
}

void sigmaScale(DiagramView& view, const DiagramInput& in) {
    view.layer().setLayer(19);
    axisLine(view, -0.75L);
    axisLine(view, -0.95L);
    for (int x = -4; x <= 4; ++x) {
        ticks(view, x, -0.75L, -0.95L);
        view.text(fixedNumber(x, 0, 0, in.numbers), x + kLabelOffset, -0.87L);
    }
    view.text("Sigma", kUnitX, -0.95L);
}

void curveAndAxes(DiagramView& view) {
    view.layer().setLayer(21);
    long double px = -4;
    long double py = density(px);
    // x runs in whole tenths so that the last step lands on 4 exactly.
    for (int i = 1; px < 4; ++i) {
        const long double x = -4 + i / 10.0L;
        const long double y = density(x);
        view.line(px, py, x, y);
        view.line(x, y, x, 0);
        px = x;
        py = y;
    }
    view.layer().setLayer(17);
    view.line(0, 1.05L, 0, 0);
    view.textStyle(0.035L, kLabelHeight, 90);
    view.layer().setTextAlignment(0, 0);
    axisLine(view, 0);
}

// One standard deviation, or false with the reason in the message list: the
// scales would divide by it.
bool usableSigma(const DiagramInput& in, const ClosingSums& r, long double& sigma) {
    Chain& chain = in.chain;
    if (!standardDeviation(r, chain.productionSigma, sigma)) {
        addMessage(chain, kNoSigmaMessage);
        return false;
    }
    if (!checkTolerance(chain, r, in.texts.report.tolerance)) return false;
    return std::isfinite(sigma) && sigma > 0;
}

void textPanel(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram) {
    const Chain& chain = in.chain;
    const ClosingSums& r = diagram.solution.sums;
    const ClosingDimension& c = chain.closing(diagram.closing);
    const auto num = [&](long double v) { return diagramNumber(in, v); };
    view.reset();
    DrawingLayer& layer = view.layer();
    layer.setLayer(19);
    layer.textStyle(0, view.lengthX(0.01L), view.lengthY(0.016L), 0);
    layer.setTextAlignment(0, 0);
    view.moveTo(0.015L, 0.96L);
    view.textLine(c.remark);
    for (const auto& line : in.project.remarkLines) view.textLine(line);
    if (!in.projectName.empty()) {
        view.textLine(" ");
        view.textLine("File: " + in.projectName);
    }
    view.textLine(" ");
    view.textLine("(" + intText(c.fromElement) + ") => (" + intText(c.toElement) + ")");
    view.textLine(c.text);
    view.textLine(" ");
    view.textLine(utf8ToOem("Nennmaß : ") + num(r.closingNominal));
    view.textLine(utf8ToOem("Mittelmaß : ") + num(r.closingMean));
    view.textLine(utf8ToOem("Größtmaß : ") + num(statisticalMax(r)));
    view.textLine(utf8ToOem("Kleinstmaß : ") + num(statisticalMin(r)));
    view.textLine("Sigma : " + num(chain.productionSigma));
    view.textLine("Toleranz : " + num(statisticalTolerance(r)));
}

} // namespace

void drawNormalDistribution(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram) {
    const ClosingSums& r = diagram.solution.sums;
    view.setWindow(-4.5L, 5, -1, 1.05L);
    curveAndAxes(view);
    long double sigma = 0;
    if (usableSigma(in, r, sigma)) {
        valueScale(view, in, r.closingMean, sigma);
        percentScale(view, in);
        sigmaScale(view, in);
    }
    textPanel(view, in, diagram);
}

} // namespace zam1
