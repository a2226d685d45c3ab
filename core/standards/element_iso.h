#pragma once
// Whether the ISO codes the elements carry can be evaluated at their nominal
// sizes. An element whose code cannot be ("Q7", "H7" at 5000 mm) holds zero
// deviations that nobody typed: the editors, the import and the batch report
// name it instead of calculating with them silently.

#include <iosfwd>
#include <string>
#include <vector>

namespace zam1 {

class Chain;
struct Element;

struct ElementIsoProblem {
    int element = 0;
    std::string code;     // CP850, as the element table shows it: "Q 7"
    std::string message;  // CP850, the lookup's message: "unbekannte Toleranzlage"
};

// The lookup's error message for the element's code at its distance; empty when
// the element has no code or the code gives deviations (a hint is no error).
std::string elementIsoError(const Element& element);

// Every element of 1..elementCount whose code cannot be evaluated, in order.
std::vector<ElementIsoProblem> isoCodeProblems(const Chain& chain);

// One line per problem for a batch run's standard error, UTF-8:
// `Element 3, ISO-Tol. "Q 7" bei 30: unbekannte Toleranzlage (...)`. Returns the count.
int writeIsoCodeProblems(const Chain& chain, std::ostream& err);

} // namespace zam1
