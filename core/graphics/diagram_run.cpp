// The diagram run: checks, calculation, sheet and page; the result header of the
// to-scale diagram and the overall graphic; the number forms of all diagrams.

#include "core/graphics/diagram_run.h"

#include <cmath>

#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/graphics/diagram_view.h"
#include "core/graphics/drawing_layer.h"
#include "core/lang/language.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

constexpr int kHeaderLayer = 19;
constexpr std::size_t kChainTextLength = 250;  // a CAD text line takes no more
constexpr long double kTextInset = 0.005L;     // texts keep this share of the width from the frame lines
// The chain line's box: the strip under the left header boxes, up to the divider
// before the classic method's column, whose last line stands level with it.
constexpr long double kChainBoxRight = 0.595L;
constexpr std::string_view kChainGap = "-...-";

std::string joinedElements(const std::vector<int>& elements, std::string_view joint) {
    std::string text;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) text += joint;
        text += intText(elements[i]);
    }
    return text;
}

// The path as one text of at most `room` characters, "5 - 4 - 0 - 6"; the short
// joint when the long one is too long, and when even that is, elements left out
// in the middle: the ends of the path, which the header names, stay readable.
std::string chainText(const std::vector<int>& elements, std::size_t room) {
    std::string text = joinedElements(elements, " - ");
    if (text.size() <= room) return text;
    text = joinedElements(elements, "-");
    if (text.size() <= room || elements.size() < 3) return text;
    std::string head = intText(elements.front());
    std::string tail = intText(elements.back());
    std::size_t front = 1;                   // the next element taken from the front
    std::size_t back = elements.size() - 1;  // one past the next taken from the back
    for (bool fromFront = true; front + 1 < back; fromFront = !fromFront) {
        const std::string next = intText(fromFront ? elements[front] : elements[back - 1]);
        if (head.size() + kChainGap.size() + tail.size() + 1 + next.size() > room) break;
        if (fromFront) {
            head += "-" + next;
            ++front;
        } else {
            tail = next + "-" + tail;
            --back;
        }
    }
    return head + std::string(kChainGap) + tail;
}

void drawHeaderFrame(DiagramView& view) {
    view.rectangle(0, 0, 1, kDiagramHeaderTop);
    view.line(0.395L, kDiagramHeaderTop, 0.395L, 0.026L);
    view.line(kChainBoxRight, 0.026L, 0, 0.026L);
    view.line(kChainBoxRight, kDiagramHeaderTop, kChainBoxRight, 0);
    view.line(0.795L, kDiagramHeaderTop, 0.795L, 0);
    view.line(1, 0.08L, kChainBoxRight, 0.08L);
}

// "Maßkette: " and the path, in the strip at the foot of the left header boxes.
void drawChainLine(DiagramView& view, const std::vector<int>& elements) {
    view.textStyle(0.008L, 0.01L, 0);
    const std::string label = utf8ToOem("Maßkette: ");
    const long double charWidth = view.layer().textHeight() * view.layer().widthFactor();
    const long double boxMm = view.sheetX(kChainBoxRight - kTextInset) - view.sheetX(kTextInset);
    std::size_t room = kChainTextLength - label.size();
    if (charWidth > 0) {
        const long double fit = boxMm / charWidth - static_cast<long double>(label.size());
        if (fit < static_cast<long double>(room)) room = fit > 0 ? static_cast<std::size_t>(fit) : 0;
    }
    view.text(label + chainText(elements, room), kTextInset, 0.013L);
}

bool needsClosing(DiagramKind kind) { return kind != kDiagramScheme; }

} // namespace

std::string diagramNumber(const DiagramInput& in, long double value) {
    return fixedText(value, 0, in.chain.decimals, in.numbers.decimalComma);
}

std::string signedDiagramNumber(const DiagramInput& in, long double value) {
    std::string text = diagramNumber(in, value);
    if (value > 0 && text.find_first_not_of("0.,") != std::string::npos) text.insert(0, 1, '+');
    return text;
}

bool symmetricDeviations(long double upper, long double lower) { return std::fabs(upper + lower) < 1e-9L; }

int elementLayer(int n) {
    const int remainder = n % 15;
    return remainder == 6 ? 30 : remainder + 16;
}

PreparedDiagram prepareDiagram(const DiagramInput& in, DiagramKind kind, int closing) {
    Chain& chain = in.chain;
    PreparedDiagram d;
    d.kind = kind;
    d.closing = closing;
    in.error.clear();
    if (chain.elementCount() == 0) {
        in.prompter.showError(in.texts.main.noElementsDefined);
        in.error.set();
        return d;
    }
    if (kind < kDiagramToScale || kind > kDiagramOverall ||
        (needsClosing(kind) && (closing < 1 || closing > chain.closingCount()))) {
        if (chain.closingCount() == 0) {
            in.prompter.showError(in.texts.report.noClosing + " ...");
        } else {
            in.prompter.showError(in.texts.report.closingDimension + " " + intText(closing) + " ? " +
                                  in.texts.main.validRange + "1.." + intText(chain.closingCount()));
        }
        in.error.set();
        return d;
    }
    deriveElementValues(chain);
    if (needsClosing(kind)) d.solution = solveClosing(chain, closing);
    const bool solved = !needsClosing(kind) || d.solution.resolved;
    d.outcome = solved && chain.messages.empty() ? DiagramOutcome::Drawn : DiagramOutcome::Messages;
    return d;
}

void drawDiagram(DrawingLayer& layer, const DiagramInput& in, const PreparedDiagram& diagram) {
    DiagramView view(layer);
    view.reset();
    layer.openSheet(0, 0, DiagramView::kAreaWidthMm, DiagramView::kAreaHeightMm);
    layer.setLayer(2);
    layer.beginPage();
    if (!needsClosing(diagram.kind) || diagram.solution.resolved) {
        switch (diagram.kind) {
        case kDiagramToScale: drawToScale(view, in, diagram); break;
        case kDiagramNormalDistribution: drawNormalDistribution(view, in, diagram); break;
        case kDiagramScheme: drawScheme(view, in); break;
        case kDiagramOverall: drawOverallGraphic(view, in, diagram); break;
        default: break;
        }
    }
    layer.endPage();
    layer.finishRun();
}

DiagramOutcome runDiagram(DrawingLayer& layer, const DiagramInput& in, DiagramKind kind, int closing,
                          OutputDevice device) {
    const PreparedDiagram diagram = prepareDiagram(in, kind, closing);
    if (diagram.outcome != DiagramOutcome::Drawn) return diagram.outcome;
    if (!layer.startRun(device)) {
        in.error.set();
        return DiagramOutcome::Refused;
    }
    drawDiagram(layer, in, diagram);
    return in.error.isSet() ? DiagramOutcome::Refused : DiagramOutcome::Drawn;
}

void drawResultHeader(DiagramView& view, const DiagramInput& in, const PreparedDiagram& diagram) {
    const ClosingSums& r = diagram.solution.sums;
    const ClosingDimension& c = in.chain.closing(diagram.closing);
    const auto num = [&](long double v) { return diagramNumber(in, v); };
    view.reset();
    view.layer().setLayer(kHeaderLayer);
    drawHeaderFrame(view);
    view.textStyle(0.012L, 0.016L, 0);
    view.layer().setTextAlignment(0, 0);
    view.moveTo(kTextInset, kDiagramProgramLineY);
    view.textLine("KORVANT ZAM1 V" + std::string(kProgramVersion));
    view.moveTo(kTextInset, 0.085L);
    view.textLine(in.project.remarkLines[0]);
    view.textLine(in.project.remarkLines[1]);
    view.textLine(c.remark);
    view.moveTo(0.4L, 0.085L);
    view.textLine("(" + intText(c.fromElement) + ") - (" + intText(c.toElement) + "): " + num(r.closingNominal));
    view.textLine(c.text);
    view.textLine(utf8ToOem("Mittelmaß: ") + num(r.closingMean));
    view.moveTo(0.6L, 0.085L);
    view.textLine("klassische Methode");
    view.textLine(utf8ToOem("Größtmaß: ") + num(r.closingMax));
    view.textLine(utf8ToOem("Kleinstmaß: ") + num(r.closingMin));
    view.textLine("Toleranz : " + num(classicTolerance(r)));
    view.moveTo(0.8L, 0.085L);
    view.textLine("statistische Methode");
    view.textLine(utf8ToOem("Größtmaß : ") + num(statisticalMax(r)));
    view.textLine(utf8ToOem("Kleinstmaß: ") + num(statisticalMin(r)));
    view.textLine("Toleranz : " + num(statisticalTolerance(r)));
    drawChainLine(view, diagram.solution.elements());
}

} // namespace zam1
