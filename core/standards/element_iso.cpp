#include "core/standards/element_iso.h"

#include <ostream>

#include "core/model/chain.h"
#include "core/standards/iso286.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {

std::string elementIsoError(const Element& element) {
    if (!element.hasIsoCode()) return {};
    // Stored letters are never step commands, so the program's step positions stay out of it.
    IsoStepPositions positions;
    std::string code = std::string(element.isoLetters.view()) + " " + intText(element.isoGrade);
    const auto evaluation = EvaluateIsoCode(code, element.distance, positions);
    return evaluation && evaluation->isError() ? evaluation->message : std::string();
}

std::vector<ElementIsoProblem> isoCodeProblems(const Chain& chain) {
    std::vector<ElementIsoProblem> problems;
    for (int n = 1; n <= chain.elementCount(); ++n) {
        const Element& e = chain.element(n);
        std::string message = elementIsoError(e);
        if (message.empty()) continue;
        problems.push_back({n, std::string(e.isoLetters.view()) + " " + intText(e.isoGrade), std::move(message)});
    }
    return problems;
}

int writeIsoCodeProblems(const Chain& chain, std::ostream& err) {
    const std::vector<ElementIsoProblem> problems = isoCodeProblems(chain);
    for (const ElementIsoProblem& p : problems) {
        err << "Element " << p.element << ", ISO-Tol. \"" << oemToUtf8(p.code) << "\" bei "
            << autoNumber(chain.element(p.element).distance, {}, 6) << ": " << oemToUtf8(p.message)
            << " (ISO code cannot be evaluated at this nominal size)\n";
    }
    return static_cast<int>(problems.size());
}

} // namespace zam1
