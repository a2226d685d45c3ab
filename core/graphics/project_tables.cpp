// The two tables of the project drawing: the dimension elements, and the closing
// dimensions with their classic and statistical limits.

#include <algorithm>
#include <vector>

#include "core/config/configuration.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_table.h"
#include "core/graphics/project_drawing.h"
#include "core/lang/language.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::string_view kPlusMinusCaption = "   \xF1";  // "±" in the stored code page
constexpr long double kMaxRowText = 2.8L;

void headingAt(DrawingLayer& layer, const std::string& heading, long double y) {
    layer.setLayer(19);
    layer.textStyle(0, 2.5L, 3.5L, 0);
    layer.text(heading, 25, y);
}

void elementTable(DrawingLayer& layer, const ProjectDrawingInput& in) {
    const Chain& chain = in.chain;
    const ReportTexts& t = in.texts.report;
    const NumberFormat f = in.config.numberFormat();
    const int count = chain.elementCount();
    headingAt(layer, t.dimensionElements, 285);
    DrawingTable table(layer, 25, 284, std::min(70.0L / count, kMaxRowText),
                       {{3, t.colElement}, {6, t.colPredecessor}, {4, std::string(kPlusMinusCaption)},
                        {10, t.colNominal}, {9, t.colUpperDev}, {9, t.colLowerDev}, {8, t.colIso}, {18, t.colText}});
    for (int n = 1; n <= count; ++n) {
        const Element& e = chain.element(n);
        const std::string iso = e.hasIsoCode() ? e.isoLetters.str() + intText(e.isoGrade) : std::string();
        table.addRow({intRight(n, 3), intRight(e.predecessor, 6), std::string("   ") + (e.positive != 0 ? "+" : "-"),
                      fixedNumber(e.distance, 6, 3, f), fixedNumber(e.upperDev, 5, 3, f),
                      fixedNumber(e.lowerDev, 5, 3, f), "   " + textLeft(iso, 5), (" " + e.text.str()).substr(0, 21)});
    }
}

// The closing dimensions are solved together, once; one that cannot be resolved
// shows why in place of its numbers.
void closingTable(DrawingLayer& layer, const ProjectDrawingInput& in) {
    Chain& chain = in.chain;
    const ReportTexts& t = in.texts.report;
    const NumberFormat f = in.config.numberFormat();
    const int count = chain.closingCount();
    deriveElementValues(chain);
    const std::vector<ClosingSolution> solutions = solveAllClosings(chain);
    headingAt(layer, t.closingDimensions, 130);
    DrawingTable table(layer, 25, 129, std::min(37.5L / count, kMaxRowText),
                       {{3, t.colDis}, {3, t.colTanz}, {9, t.colNominal}, {8, t.colUpperTol}, {8, t.colLowerTol},
                        {9, t.colUpperTol}, {9, t.colLowerTol}, {18, t.colRemark}});
    const auto number = [&](long double v) { return fixedNumber(v, 6, 3, f); };
    for (int k = 1; k <= count; ++k) {
        const ClosingDimension& c = chain.closing(k);
        const ClosingSolution& s = solutions[static_cast<std::size_t>(k - 1)];
        std::vector<std::string> cells{intRight(c.fromElement, 3), " " + intRight(c.toElement, 3)};
        if (!s.resolved) {
            cells.push_back(s.structureError.str());
            table.addSpanningRow(cells);
            continue;
        }
        const ClosingSums& r = s.sums;
        cells.insert(cells.end(), {number(r.closingNominal), number(r.closingMax), number(r.closingMin),
                                   number(statisticalMax(r)), number(statisticalMin(r)), c.text.str()});
        table.addRow(cells);
    }
}

} // namespace

void drawDrawingTables(DrawingLayer& layer, const ProjectDrawingInput& in) {
    if (in.chain.elementCount() > 0) elementTable(layer, in);
    if (in.chain.closingCount() > 0) closingTable(layer, in);
}

} // namespace zam1
