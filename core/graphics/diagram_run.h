#pragma once
// The diagram run: one closing dimension of the chain drawn as the chain to
// scale (kind 1), its normal distribution (2), the scheme of the whole chain (3)
// or the overall graphic of its path (4), on the 160 x 120 mm sheet through the
// drawing output layer, so that the same picture goes to every device.

#include <string>
#include <string_view>
#include <vector>

#include "core/model/closing_solution.h"
#include "core/text/number_format.h"

namespace zam1 {

class Chain;
class DiagramView;
class DrawingLayer;
class ErrorFlag;
class Prompter;
enum OutputDevice : int;
struct LanguageTexts;
struct ProjectTexts;

enum DiagramKind : int {
    kDiagramToScale = 1,
    kDiagramNormalDistribution = 2,
    kDiagramScheme = 3,
    kDiagramOverall = 4,
};

// What the diagrams read besides the chain, and whom they tell about refusals.
struct DiagramInput {
    Chain& chain;
    const ProjectTexts& project;      // the report header lines
    const LanguageTexts& texts;
    Prompter& prompter;
    ErrorFlag& error;
    std::string projectName{};        // "File: " line of the normal distribution; may be empty
    bool inches = false;              // unit label "in" instead of "mm"
    NumberFormat numbers{};           // configured decimals and decimal comma (scale labels)
};

// The result header of kinds 1 and 4 takes the bottom of the sheet up to this
// share of its height, and its program line stands at the other: the diagram's
// rows keep between the two.
inline constexpr long double kDiagramHeaderTop = 0.105L;
inline constexpr long double kDiagramProgramLineY = 0.975L;

enum class DiagramOutcome {
    Drawn,      // drawn; messages the drawing added (sigma 0) are in chain.messages
    Refused,    // message shown and error flag set: no elements, no such closing dimension, cancelled
    Messages,   // the calculation left warnings or errors: the caller shows chain.messages instead
};

// A diagram checked and calculated. The closing dimension is solved once, here,
// and every part of the drawing reads this solution rather than the chain's
// working record: a closing dimension that cannot be resolved is never drawn
// with the numbers of some distance resolved before it.
struct PreparedDiagram {
    DiagramOutcome outcome = DiagramOutcome::Refused;
    DiagramKind kind{};
    int closing = 0;            // 1..closingCount for the kinds that draw one
    ClosingSolution solution;   // of that closing dimension; unresolved for the scheme
};

// Checks and calculates: no elements, a closing dimension outside the table
// (kinds 1, 2, 4), then the element values and the closing dimension's solution.
// A closing dimension that cannot be resolved leaves its structure error in
// chain.messages: the outcome is then Messages.
PreparedDiagram prepareDiagram(const DiagramInput& in, DiagramKind kind, int closing);

// Opens the sheet, draws the prepared diagram on one page and finishes the run.
// The run must have been started. A closing dimension without a solution draws
// an empty page: callers draw only what prepared to Drawn.
void drawDiagram(DrawingLayer& layer, const DiagramInput& in, const PreparedDiagram& diagram);

// prepareDiagram, start the run on `device` (kDeviceAsk asks), drawDiagram. A diagram is a
// command of its own: the error flag is cleared first.
DiagramOutcome runDiagram(DrawingLayer& layer, const DiagramInput& in, DiagramKind kind, int closing,
                          OutputDevice device);

// The parts, for the run and for tests; each expects a prepared chain and,
// except the scheme, a resolved solution.
void drawResultHeader(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram);
void drawScheme(DiagramView& view, const DiagramInput& in);
void drawToScale(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram);
void drawOverallGraphic(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram);
void drawNormalDistribution(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram);

// Layer of element n in the scheme: (n mod 15) + 16, but never 22 (that becomes 30).
int elementLayer(int n);

// A diagram number: `decimals` decimals of the chain, the configured separator.
std::string diagramNumber(const DiagramInput& in, long double value);
// Deviation label: "+0.100"; zero without a sign.
std::string signedDiagramNumber(const DiagramInput& in, long double value);
// True when upper = -lower (within 1e-9): labelled "±" and one value.
bool symmetricDeviations(long double upper, long double lower);

} // namespace zam1
