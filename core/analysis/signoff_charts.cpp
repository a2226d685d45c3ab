#include "core/analysis/signoff_charts.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "core/analysis/analysis.h"
#include "core/analysis/histogram_diagram.h"
#include "core/report/output_channel.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr const char* kInk = "#222222";
constexpr const char* kGrid = "#dddddd";
constexpr const char* kBarFill = "#a9c4e0";
constexpr const char* kBarEdge = "#5b7fa6";
constexpr const char* kCurve = "#1f3f7a";
constexpr const char* kLimit = "#c0392b";
constexpr const char* kInterval = "#e67e22";
constexpr int kCurveSteps = 120;

std::string num(double v) { return fixedText(v, 0, 1, false); }
std::string esc(std::string_view text) { return OutputChannel::escapeHtml(text); }

// SVG elements written one after the other; coordinates in the picture's units.
class Svg {
public:
    Svg(int width, int height, std::string_view title) {
        m_out << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << width << "\" height=\""
              << height << "\" viewBox=\"0 0 " << width << ' ' << height << "\">\n"
              << "<title>" << esc(title) << "</title>\n"
              << "<rect x=\"0\" y=\"0\" width=\"" << width << "\" height=\"" << height << "\" fill=\"#ffffff\"/>\n"
              << "<g font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    }
    void rect(double x, double y, double w, double h, const char* fill, const char* stroke) {
        m_out << "<rect x=\"" << num(x) << "\" y=\"" << num(y) << "\" width=\"" << num(w) << "\" height=\"" << num(h)
              << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\" stroke-width=\"0.8\"/>\n";
    }
    void line(double x1, double y1, double x2, double y2, const char* stroke, double width, bool dashed = false) {
        m_out << "<line x1=\"" << num(x1) << "\" y1=\"" << num(y1) << "\" x2=\"" << num(x2) << "\" y2=\"" << num(y2)
              << "\" stroke=\"" << stroke << "\" stroke-width=\"" << num(width) << '"'
              << (dashed ? " stroke-dasharray=\"6 3\"" : "") << "/>\n";
    }
    void polyline(const std::vector<std::pair<double, double>>& points, const char* stroke, double width) {
        m_out << "<polyline fill=\"none\" stroke=\"" << stroke << "\" stroke-width=\"" << num(width) << "\" points=\"";
        for (std::size_t i = 0; i < points.size(); ++i) {
            m_out << (i ? " " : "") << num(points[i].first) << ',' << num(points[i].second);
        }
        m_out << "\"/>\n";
    }
    void dot(double x, double y, const char* fill) {
        m_out << "<circle cx=\"" << num(x) << "\" cy=\"" << num(y) << "\" r=\"3\" fill=\"" << fill << "\"/>\n";
    }
    // anchor: "start", "middle" or "end".
    void text(double x, double y, std::string_view text, const char* anchor, int size = 11) {
        m_out << "<text x=\"" << num(x) << "\" y=\"" << num(y) << "\" font-size=\"" << size << "\" fill=\"" << kInk
              << "\" text-anchor=\"" << anchor << "\">" << esc(text) << "</text>\n";
    }
    std::string finish() {
        m_out << "</g>\n</svg>\n";
        return m_out.str();
    }

private:
    std::ostringstream m_out;
};

// Round values from `low` to `high`, at most about `most` of them, and the
// decimals their step needs.
struct Ticks {
    std::vector<double> values;
    int decimals = 0;
};

Ticks niceTicks(double low, double high, int most) {
    Ticks t;
    const double range = high - low;
    if (!(range > 0) || !std::isfinite(range)) return t;
    const double magnitude = std::pow(10.0, std::floor(std::log10(range / most)));
    double step = magnitude;
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        step = m * magnitude;
        if (range / step <= most) break;
    }
    t.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step) {
        t.values.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
    }
    return t;
}

// The plot area inside a picture.
struct Plot {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

void legendSwatch(Svg& svg, double x, double y, const char* kind) {
    const std::string k = kind;
    if (k == "bar") {
        svg.rect(x, y - 8, 14, 9, kBarFill, kBarEdge);
    } else if (k == "curve") {
        svg.line(x, y - 4, x + 14, y - 4, kCurve, 2);
    } else if (k == "limit") {
        svg.line(x + 7, y - 10, x + 7, y + 2, kLimit, 1.5, true);
    } else if (k == "interval") {
        svg.rect(x, y - 6, 14, 4, kInterval, kInterval);
    } else {
        svg.line(x, y - 4, x + 14, y - 4, kLimit, 1.5);
        svg.dot(x + 7, y - 4, kLimit);
    }
}

} // namespace

std::string histogramSvg(const ClosingAnalysis& c) {
    const std::optional<HistogramFrame> frame = histogramFrame(c);
    if (!frame || !(frame->high > frame->low) || !(frame->top > 0)) return {};
    const SampleSummary& mc = c.monteCarlo;
    const Plot plot{58, 40, kHistogramSvgWidth - 16.0, kHistogramSvgHeight - 40.0};
    const auto px = [&](long double x) {
        return plot.left + static_cast<double>((x - frame->low) / (frame->high - frame->low)) * plot.width();
    };
    const auto py = [&](long double count) { return plot.bottom - static_cast<double>(count / frame->top) * plot.height(); };
    Svg svg(kHistogramSvgWidth, kHistogramSvgHeight, "Monte Carlo histogram, closing dimension " + std::to_string(c.number));

    const Ticks counts = niceTicks(0, static_cast<double>(frame->top), 4);
    for (const double v : counts.values) {
        svg.line(plot.left, py(v), plot.right, py(v), kGrid, 0.8);
        svg.text(plot.left - 5, py(v) + 4, fixedText(v, 0, 0, false), "end", 10);
    }
    svg.text(plot.left - 5, plot.top - 8, "samples", "end", 10);

    for (std::size_t i = 0; i < mc.histogram.counts.size(); ++i) {
        const long double x0 = mc.histogram.low + frame->binWidth * static_cast<long double>(i);
        const auto h = static_cast<long double>(mc.histogram.counts[i]);
        if (h > 0) svg.rect(px(x0), py(h), std::max(px(x0 + frame->binWidth) - px(x0), 0.5), plot.bottom - py(h), kBarFill, kBarEdge);
    }
    if (frame->peak > 0) {
        std::vector<std::pair<double, double>> curve;
        for (int k = 0; k <= kCurveSteps; ++k) {
            const long double x = frame->low + (frame->high - frame->low) * k / kCurveSteps;
            curve.emplace_back(px(x), py(normalCurveCount(c, *frame, x)));
        }
        svg.polyline(curve, kCurve, 2);
    }
    // The 95 % intervals of the two outer points, just above the axis; an open end runs to the edge.
    for (const Interval& i : {mc.p00135Interval, mc.p99865Interval}) {
        const double a = std::isfinite(i.low) ? std::max(px(i.low), plot.left) : plot.left;
        const double b = std::isfinite(i.high) ? std::min(px(i.high), plot.right) : plot.right;
        if (b >= a) svg.rect(a, plot.bottom - 6, std::max(b - a, 1.0), 4, kInterval, kInterval);
    }

    svg.line(plot.left, plot.bottom, plot.right, plot.bottom, kInk, 1);
    svg.line(plot.left, plot.top, plot.left, plot.bottom, kInk, 1);
    const Ticks values = niceTicks(static_cast<double>(frame->low), static_cast<double>(frame->high), 7);
    for (const double v : values.values) {
        svg.line(px(v), plot.bottom, px(v), plot.bottom + 4, kInk, 1);
        svg.text(px(v), plot.bottom + 16, fixedText(v, 0, values.decimals, false), "middle", 10);
    }
    svg.text((plot.left + plot.right) / 2, kHistogramSvgHeight - 6.0, "closing dimension", "middle", 10);

    for (const auto& [limit, label] : {std::pair{c.limits.lower, "LSL"}, std::pair{c.limits.upper, "USL"}}) {
        if (!limit) continue;
        const double x = px(*limit);
        svg.line(x, plot.top - 2, x, plot.bottom, kLimit, 1.5, true);
        // A label keeps to the side of its line where there is room.
        const bool right = x < (plot.left + plot.right) / 2;
        svg.text(right ? x + 4 : x - 4, plot.top + 10, std::string(label) + " " + fixedText(*limit, 0, 4, false),
                 right ? "start" : "end", 11);
    }

    // The legend's entries one after the other, each as wide as its text (about 5.6 units a letter).
    double x = plot.left;
    const auto entry = [&](const char* kind, const std::string& text) {
        legendSwatch(svg, x, 18, kind);
        svg.text(x + 19, 18, text, "start", 10);
        x += 19 + 5.6 * static_cast<double>(text.size()) + 14;
    };
    entry("bar", "Monte Carlo, N = " + std::to_string(mc.count));
    if (frame->peak > 0) entry("curve", "normal, statistical method");
    if (c.limits.any()) entry("limit", "required limit");
    entry("interval", "95 % intervals");
    return svg.finish();
}

std::string paretoSvg(const ClosingAnalysis& c) {
    struct Bar {
        std::string label;
        double share = 0;
    };
    std::vector<Bar> bars;
    double total = 0;
    for (const Contribution& e : c.contributions) total += std::max(0.0, static_cast<double>(e.sharePercent));
    if (!c.resolved || !(total > 0)) return {};
    const std::size_t shown = std::min<std::size_t>(c.contributions.size(), kParetoBars);
    for (std::size_t i = 0; i < shown; ++i) {
        const Contribution& e = c.contributions[i];
        bars.push_back({std::to_string(e.element), std::max(0.0, static_cast<double>(e.sharePercent))});
    }
    if (c.contributions.size() > shown) {
        double rest = 0;
        for (std::size_t i = shown; i < c.contributions.size(); ++i) {
            rest += std::max(0.0, static_cast<double>(c.contributions[i].sharePercent));
        }
        bars.push_back({std::to_string(c.contributions.size() - shown) + " more", rest});
    }

    const Plot plot{48, 40, kParetoSvgWidth - 16.0, kParetoSvgHeight - 40.0};
    const double scaleTop = std::max(100.0, total);
    const auto py = [&](double percent) { return plot.bottom - percent / scaleTop * plot.height(); };
    Svg svg(kParetoSvgWidth, kParetoSvgHeight, "Shares of the variance, closing dimension " + std::to_string(c.number));
    for (int v = 0; v <= 100; v += 20) {
        svg.line(plot.left, py(v), plot.right, py(v), kGrid, 0.8);
        svg.text(plot.left - 5, py(v) + 4, std::to_string(v) + " %", "end", 10);
    }
    const double slot = plot.width() / static_cast<double>(bars.size());
    std::vector<std::pair<double, double>> cumulative;
    double sum = 0;
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const double middle = plot.left + slot * (static_cast<double>(i) + 0.5);
        const double width = slot * 0.6;
        svg.rect(middle - width / 2, py(bars[i].share), width, plot.bottom - py(bars[i].share), kBarFill, kBarEdge);
        // The value inside a tall bar's top, where the cumulative line's first point does not cover it.
        const double top = py(bars[i].share);
        svg.text(middle, plot.bottom - top > 16 ? top + 11 : top - 3, fixedText(bars[i].share, 0, 1, false), "middle", 9);
        svg.text(middle, plot.bottom + 15, bars[i].label, "middle", 10);
        sum += bars[i].share;
        cumulative.emplace_back(middle, py(sum));
    }
    svg.polyline(cumulative, kLimit, 1.5);
    for (const auto& [x, y] : cumulative) svg.dot(x, y, kLimit);
    svg.line(plot.left, plot.bottom, plot.right, plot.bottom, kInk, 1);
    svg.line(plot.left, plot.top, plot.left, plot.bottom, kInk, 1);
    svg.text((plot.left + plot.right) / 2, kParetoSvgHeight - 6.0, "element", "middle", 10);

    legendSwatch(svg, plot.left, 18, "bar");
    svg.text(plot.left + 19, 18, "share of the variance", "start", 10);
    legendSwatch(svg, plot.left + 170, 18, "cumulative");
    svg.text(plot.left + 189, 18, "cumulative share", "start", 10);
    return svg.finish();
}

} // namespace zam1
