#pragma once
// Whether a chain's numbers can be analysed, and the messages that name a number
// the program does not take. The element table, the sigma, angle and general
// tolerance dialogs, the window's Monte Carlo and the batch analysis all say it
// the same way: where the number belongs, what was typed, what is allowed.

#include <string>
#include <string_view>
#include <vector>

#include "core/model/input_limits.h"

namespace zam1 {

class Chain;
struct LanguageTexts;

// "Element Nr. 3, Nennmaß" (stored code page); without an element number just the field.
std::string fieldName(int element, std::string_view field, const LanguageTexts& texts);

// `Nennmaß: Ungültige Eingabe "1O.5" !` and
// `Nennmaß: "1e400" - Gültiger Wertebereich: -1000000000 .. 1000000000 !`.
std::string notANumberText(std::string_view field, std::string_view typed, const LanguageTexts& texts);
std::string beyondLimitText(std::string_view field, std::string_view typed, const LanguageTexts& texts);
// The one that fits a reading that failed.
std::string lengthRefusalText(LengthReading reading, std::string_view field, std::string_view typed,
                              const LanguageTexts& texts);

// "Element Nr. 3: ob.Tol. < unt.Tol. !" and the like, for one problem of elementInputProblems.
std::string elementProblemText(const Chain& chain, const ElementInputProblem& problem, const LanguageTexts& texts);

// Why the analysis cannot be trusted with `chain`, one message per element (and
// one for the production sigma), stored code page: lengths beyond the limit, an
// upper deviation below the lower one, an ISO code that cannot be evaluated, a
// sigma between 0 and 0.01 or beyond 10. Empty: the chain can be analysed.
std::vector<std::string> analysisInputProblems(const Chain& chain, const LanguageTexts& texts);

} // namespace zam1
