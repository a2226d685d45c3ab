// The chain as engineers look at it: the scheme of the whole chain, the path of
// one closing dimension to scale, and the overall graphic of that path.

#include <algorithm>
#include <cmath>

#include "core/graphics/diagram_run.h"
#include "core/graphics/diagram_view.h"
#include "core/graphics/drawing_layer.h"
#include "core/model/chain.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr long double kRowStep = 0.045L;       // marker and dimension rows, y value units
constexpr long double kCloseMarkers = 0.12L;   // markers closer than this share of the width climb a row
constexpr long double kArrowH = 0.02L;
constexpr std::string_view kPlusMinus = "\xF1";  // "±" in the stored code page

// Upper and lower deviation beside a dimension line, or "±" and one value; the
// sizes and offsets are h-units times `scale`.
void deviationLabels(DiagramView& view, const DiagramInput& in, long double upper, long double lower, long double x,
                     long double y, long double scale = 1) {
    view.textStyle(0.012L * scale, 0.014L * scale, 0);
    view.layer().setTextAlignment(0, 1);
    if (symmetricDeviations(upper, lower)) {
        view.text(std::string(kPlusMinus) + diagramNumber(in, upper), x, y + 0.02L * scale);
    } else {
        view.text(signedDiagramNumber(in, upper), x, y + 0.03L * scale);
        view.text(signedDiagramNumber(in, lower), x, y + 0.012L * scale);
    }
}

// The marker rows: a marker closer to the one before than kCloseMarkers of the
// window's width climbs one row, so that close markers do not cover each other.
class MarkerClimb {
public:
    MarkerClimb(long double firstMarker, long double width) : m_previous(firstMarker), m_width(width) {}

    // The row of the marker at `position`, counted from 0.
    int next(long double position) {
        if ((position - m_previous) / m_width < kCloseMarkers) ++m_row;
        m_previous = position;
        return m_row;
    }

private:
    long double m_previous;
    long double m_width;
    int m_row = 0;
};

// Marker and dimension rows of a list of elements, shared by the scheme and the
// to-scale diagram. Row step, symbols and labels are the scheme's times `scale`.
class ElementRows {
public:
    // The marker lines reach down to just below `rows` dimension rows.
    ElementRows(DiagramView& view, const DiagramInput& in, long double firstMarker, int rows, long double scale = 1)
        : m_view(view), m_in(in), m_climb(firstMarker, view.window().xmax - view.window().xmin), m_scale(scale),
          m_step(kRowStep * scale), m_baseLine(-(rows + 1.2L) * m_step) {}

    // Element n's marker and, unless `withDimension` is false, its dimension from its predecessor.
    void draw(int n, bool withDimension = true) {
        const Chain& chain = m_in.chain;
        const Element& e = chain.element(n);
        ++m_drawn;
        m_view.layer().setLayer(elementLayer(n));
        marker(n, e);
        const int predecessor = e.predecessor;
        if (!withDimension || n == 0 || predecessor < 0 || predecessor > chain.elementCount()) return;
        dimension(n, e, chain.element(predecessor).position, -m_drawn * m_step);
    }

private:
    void marker(int n, const Element& e) {
        const long double level = (m_climb.next(e.position) + 1) * m_step;
        m_view.line(e.position, level, e.position, m_baseLine);
        const long double y = level + 0.02L * m_scale;
        m_view.circle(e.position, y, 0.02L * m_scale);
        m_view.textStyle(0.012L * m_scale, 0.015L * m_scale, 0);
        m_view.layer().setTextAlignment(1, 1);
        m_view.text(intText(n), e.position, y);
        m_view.layer().setTextAlignment(0, 1);
        m_view.text("   " + e.text.str(), e.position, y);
    }

    void dimension(int n, const Element& e, long double from, long double y) {
        const long double left = std::min(from, e.position);
        const long double right = std::max(from, e.position);
        m_view.line(from, y, e.position, y);
        const long double arrow = m_view.lengthY(kArrowH * m_scale);
        m_view.arrow(left, y, kArrowLeft, arrow);
        m_view.arrow(right, y, kArrowRight, arrow);
        m_view.layer().setLayer(elementLayer(e.predecessor));
        m_view.circle(from, y, 0.006L * m_scale);
        m_view.layer().setLayer(elementLayer(n));
        const long double middle = (left + right) / 2;
        m_view.textStyle(0.015L * m_scale, 0.018L * m_scale, 0);
        m_view.layer().setTextAlignment(2, 1);
        m_view.text(diagramNumber(m_in, e.distance) + " ", middle, y + 0.02L * m_scale);
        deviationLabels(m_view, m_in, e.upperDev, e.lowerDev, middle, y, m_scale);
    }

    DiagramView& m_view;
    const DiagramInput& m_in;
    MarkerClimb m_climb;
    long double m_scale;
    long double m_step;
    long double m_baseLine;
    int m_drawn = 0;
};

// The y window and row scale of the to-scale diagram.
struct ToScaleRows {
    long double ymin = 0;
    long double ymax = 0;
    long double scale = 1;
};

// The window grows with the path until 10 rows, as long as the marker rows fit
// under its top. A longer path, or one whose markers climb higher, gets the
// largest row step (and symbols scaled with it) that puts every marker and
// dimension row between the result header and its program line, the lowest
// row's marker lines ending on the header.
ToScaleRows toScaleRows(int rows, int highestMarkerRow) {
    constexpr int kGrowingRows = 10;
    constexpr long double kTop = 0.5L;
    // Above the closing dimension: the marker levels and the circle on the highest
    // (0.04 h-units); below it: the dimension rows and the marker lines' ends.
    const long double stepsAbove = highestMarkerRow + 1 + 0.04L / kRowStep;
    const long double stepsBelow = rows + 1.2L;
    if (rows <= kGrowingRows && stepsAbove * kRowStep <= kTop) return {-0.05L * rows - 0.12L, kTop, 1};
    constexpr long double kRange = 0.05L * kGrowingRows + 0.12L + kTop;
    constexpr long double kBand = (kDiagramProgramLineY - kDiagramHeaderTop) * kRange;
    const long double step = std::min(kRowStep, kBand / (stepsAbove + stepsBelow));
    const long double ymin = -stepsBelow * step - kDiagramHeaderTop * kRange;
    return {ymin, ymin + kRange, step / kRowStep};
}

// Overall graphic: a node per element of the path, one row each.
struct Ladder {
    long double startX = 0;
    long double dx = 0;
    long double dy = 0;
    long double s = 1;   // symbol scale
    long double x(int column) const { return startX + column * dx; }
};

void ladderNode(DrawingLayer& layer, const Ladder& g, const Element& e, int n, long double x, long double top) {
    const long double middle = top - g.dy / 2;
    const long double h = 0.2L * g.dy;
    layer.setLayer(21);
    layer.textStyle(0, 0.16L * g.dy, h, 0);
    layer.setTextAlignment(1, 1);
    layer.text(intText(n), x, middle);
    layer.setTextAlignment(0, 0);
    layer.text(e.text, x + 5, middle - 0.2L * h);
    layer.setLayer(19);
    layer.circle(x, middle, 0.3L * g.dy);
    layer.line(x, top - g.dy + 0.2L * g.dy, x, top - g.dy - 0.1L * g.dy);
    layer.line(x, top + 0.1L * g.dy, x, top - 0.2L * g.dy);
}

void ladderDimension(DrawingLayer& layer, const DiagramInput& in, const Ladder& g, const Element& e, long double x1,
                     long double x2, long double y) {
    const long double left = std::min(x1, x2);
    const long double right = std::max(x1, x2);
    const bool outward = right - left > 10 * g.s;
    layer.line(left, y, right, y);
    layer.arrowhead(left, y, outward ? 0 : 180);
    layer.arrowhead(right, y, outward ? 180 : 0);

    const bool symmetric = symmetricDeviations(e.upperDev, e.lowerDev) && e.upperDev != 0;
    const std::string upper = symmetric ? std::string(kPlusMinus) + diagramNumber(in, e.upperDev)
                                        : (e.upperDev == 0 ? std::string() : signedDiagramNumber(in, e.upperDev));
    const std::string lower = symmetric || e.lowerDev == 0 ? std::string() : signedDiagramNumber(in, e.lowerDev);
    const std::string distance = diagramNumber(in, e.distance);
    layer.setTextAlignment(0, 0);
    layer.textStyle(0, 2.5L * g.s, 3.5L * g.s, 0);
    const long double distanceWidth = static_cast<long double>(distance.size()) * layer.textHeight() * layer.widthFactor();
    layer.textStyle(0, 1.8L * g.s, 2.5L * g.s, 0);
    const long double columnWidth =
        static_cast<long double>(std::max(upper.size(), lower.size())) * layer.textHeight() * layer.widthFactor();
    const long double start = (left + right) / 2 - (distanceWidth + columnWidth) / 2;
    const long double column = start + distanceWidth;
    if (symmetric) {
        layer.text(upper, column, y + 1.25L * g.s);
    } else {
        layer.text(upper, column, y + 2.5L * g.s);
        layer.text(lower, column, y + 0.5L * g.s);
    }
    layer.textStyle(0, 2.5L * g.s, 3.5L * g.s, 0);
    layer.text(distance, start, y + g.s);
}

// The column change into each node after the first: walking back from the
// first end a "+" dimension leads left, walking out to the second end right.
std::vector<int> columnSteps(const Chain& chain, const ClosingSolution& s) {
    std::vector<int> steps;
    for (const int e : s.pathFrom) steps.push_back(chain.element(e).positive != 0 ? -1 : 1);
    for (auto e = s.pathTo.rbegin(); e != s.pathTo.rend(); ++e) {
        steps.push_back(chain.element(*e).positive != 0 ? 1 : -1);
    }
    return steps;
}

// Column and row steps and the symbol scale for the columns the steps visit.
Ladder ladderLayout(DrawingLayer& layer, const std::vector<int>& steps) {
    int column = 0;
    int low = 0;
    int high = 0;
    for (int step : steps) {
        column += step;
        low = std::min(low, column);
        high = std::max(high, column);
    }
    Ladder g;
    g.dx = std::min(160.0L / (high - low + 1), 20.0L);
    g.dy = std::min(103.0L / (static_cast<long double>(steps.size()) + 1), 10.0L);
    layer.setSymbolScale(g.dy * 0.075L);
    g.s = layer.symbolScale();
    g.startX = (1.0L - low) / std::max(high - low, 10) * 160 + 5;
    // The start leaves room for ten columns of 16 mm; with fewer, wider columns the
    // outer ones would leave the sheet: they are moved back onto it.
    constexpr long double kMargin = 5;
    constexpr long double kRight = DiagramView::kAreaWidthMm - kMargin;
    if ((high - low) * g.dx > kRight - kMargin) {
        g.startX = DiagramView::kAreaWidthMm / 2 - (low + high) * g.dx / 2;
    } else if (g.x(high) > kRight) {
        g.startX -= g.x(high) - kRight;
    } else if (g.x(low) < kMargin) {
        g.startX += kMargin - g.x(low);
    }
    return g;
}

// The closing dimension at y = 0 from the path's first end at `a` to its second at `b`.
void closingDimensionLine(DiagramView& view, const DiagramInput& in, const ClosingSums& r, long double a, long double b,
                          long double scale) {
    view.layer().setLayer(16);
    view.line(b, 0, a, 0);
    const long double arrow = view.lengthY(kArrowH * scale);
    view.arrow(std::min(a, b), 0, kArrowLeft, arrow);
    view.arrow(std::max(a, b), 0, kArrowRight1, arrow);
    const long double middle = (a + b) / 2;
    view.textStyle(0.012L * scale, 0.018L * scale, 0);
    view.layer().setTextAlignment(2, 1);
    view.text("X=" + diagramNumber(in, r.closingNominal) + "   ", middle, 0.02L * scale);
    deviationLabels(view, in, r.closingUpperDev, r.closingLowerDev, middle, 0, scale);
    view.layer().setTextAlignment(0, 0);
}

} // namespace

void drawScheme(DiagramView& view, const DiagramInput& in) {
    const Chain& chain = in.chain;
    const int n = chain.elementCount();
    long double low = 1e30L;
    long double high = -1e30L;
    for (int i = 0; i <= n; ++i) {
        low = std::min(low, chain.element(i).position);
        high = std::max(high, chain.element(i).position);
    }
    if (low == high) return;
    const long double margin = 0.05L * (high - low);
    view.setWindow(low - margin, high + margin, -(n + 1.5L) * 0.05L, (n + 1) * 0.05L);
    ElementRows rows(view, in, chain.element(n).position, n);
    for (int i = 0; i <= n; ++i) rows.draw(i);
}

void drawToScale(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram) {
    const Chain& chain = in.chain;
    const ClosingSolution& s = diagram.solution;
    drawResultHeader(view, in, diagram);
    const std::vector<int> elements = s.elements();
    if (elements.empty()) return;
    long double low = 1e30L;
    long double high = -1e30L;
    for (int e : elements) {
        low = std::min(low, chain.element(e).position);
        high = std::max(high, chain.element(e).position);
    }
    const long double margin = 0.04L * (high - low);
    const long double xmin = low - margin;
    const long double xmax = high + 3 * margin;
    // The marker rows start from the last element drawn, as the scheme's do; how
    // high they climb decides, with the number of rows, how the rows fit.
    const long double firstMarker = chain.element(elements.back()).position;
    MarkerClimb climb(firstMarker, xmax - xmin);
    int highestMarkerRow = 0;
    for (int e : elements) highestMarkerRow = climb.next(chain.element(e).position);
    const int rowCount = static_cast<int>(elements.size());
    const ToScaleRows layout = toScaleRows(rowCount, highestMarkerRow);
    view.setWindow(xmin, xmax, layout.ymin, layout.ymax);
    if (!view.usable()) return;
    // The shared element's own dimension starts at its predecessor, which is not
    // on the path: it gets its marker only.
    ElementRows rows(view, in, firstMarker, rowCount, layout.scale);
    for (int e : elements) rows.draw(e, e != s.sharedElement);
    closingDimensionLine(view, in, s.sums, chain.element(elements.front()).position,
                         chain.element(elements.back()).position, layout.scale);
}

void drawOverallGraphic(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram) {
    const Chain& chain = in.chain;
    const ClosingSolution& s = diagram.solution;
    drawResultHeader(view, in, diagram);
    const std::vector<int> steps = columnSteps(chain, s);
    DrawingLayer& layer = view.layer();
    const Ladder g = ladderLayout(layer, steps);
    layer.setLayer(19);
    const std::vector<int> nodes = s.elements();
    int column = 0;
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const long double top = 118 - static_cast<long double>(k) * g.dy;
        const int previous = column;
        if (k > 0) column += steps[k - 1];
        ladderNode(layer, g, chain.element(nodes[k]), nodes[k], g.x(column), top);
        if (k == 0) continue;
        // The dimension belongs to the element walked: on path A the node left, on path B the node reached.
        const int walked = k <= s.pathFrom.size() ? nodes[k - 1] : nodes[k];
        ladderDimension(layer, in, g, chain.element(walked), g.x(previous), g.x(column), top);
    }
    layer.setSymbolScale(1);
}

} // namespace zam1
