// The dimension-chain listing: an element-by-element walk from one end of a
// closing dimension to the other, with the running nominal value.
#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/report/calculation_reports.h"
#include "core/report/output_channel.h"

namespace zam1 {
namespace {

class ChainWalk {
public:
    ChainWalk(OutputChannel& out, const Chain& chain, const ClosingSums& sums)
        : m_out(out), m_chain(chain), m_sums(sums), m_format(lengthFormat(chain, out)),
          m_plusMinus(plusMinusSign(out.settings().plusMinusCharacter)) {}

    void elementLine(int n) {
        const std::string_view text = n >= 1 ? m_chain.element(n).text.view() : std::string_view();
        m_out.writeLine(intRight(n, 3) + "    " + textLeft(text, 20) + lengthField(m_sum, 28, m_format));
    }

    // Moves the running value over element n: `forward` when walking in the
    // element's own direction.
    void step(int n, bool forward) {
        const Element& e = m_chain.element(n);
        const bool adds = (e.positive != 0) == forward;
        m_sum += adds ? e.distance : -e.distance;
        m_out.writeLine(std::string(29, ' ') + (adds ? "+" : "-") + lengthField(e.distance, 6, m_format) +
                        textLeft(tolerancePair(e.lowerDev, e.upperDev, m_plusMinus, m_out.settings().numbers), 15) +
                        elementShare(e, m_sums, m_out.settings().numbers));
    }

private:
    OutputChannel& m_out;
    const Chain& m_chain;
    const ClosingSums& m_sums;
    NumberFormat m_format;
    std::string m_plusMinus;
    long double m_sum = 0;
};

} // namespace

void writeChainListing(OutputChannel& out, Chain& chain, int k) {
    const ReportTexts& t = out.texts().report;
    const ClosingDimension& c = chain.closing(k);
    const int a = c.fromElement;
    const int b = c.toElement;
    deriveElementValues(chain);
    const ClosingSolution solution = solveDistance(chain, a, b);

    out.emptyLine();
    out.writeLine(c.text.str() + " " + t.dimensionChain);
    out.doubleLine();
    out.writeLine(t.chainCaption);
    out.doubleLine();
    if (!solution.resolved) {
        // No walk: the sides of a broken structure are not known.
        out.writeLine(intRight(a, 3) + " -> " + intRight(b, 3) + ": " + solution.structureError.str());
        out.doubleLine();
        return;
    }

    const ClosingSums& r = solution.sums;
    ChainWalk walk(out, chain, r);
    for (const int e : solution.pathFrom) {
        walk.elementLine(e);
        walk.step(e, false);
    }
    // The shared element stands between the two walks; it closes the listing when
    // the far end is the shared element itself.
    walk.elementLine(solution.sharedElement);
    for (auto e = solution.pathTo.rbegin(); e != solution.pathTo.rend(); ++e) {
        walk.step(*e, true);
        walk.elementLine(*e);
    }

    const NumberFormat& numbers = out.settings().numbers;
    out.doubleLine();
    out.writeLine(intRight(a, 3) + " -> " + intRight(b, 3) + ": " + textLeft(c.text.view(), 20) + " " +
                  autoNumber(r.closingNominal, numbers, 6) + " " +
                  tolerancePair(r.closingLowerDev, r.closingUpperDev, plusMinusSign(out.settings().plusMinusCharacter),
                                numbers));
    out.doubleLine();
}

} // namespace zam1
