#pragma once
// The element sigma dialog `TForm_zam1elsi` and the angle dialog `TForm_zam1el2`,
// both opened by the element table for the element of its current row.

#include <QString>

#include <optional>
#include <string_view>

#include "core/editors/sigma_angle.h"
#include "core/model/records.h"

namespace zam1 {

struct DialogEnvironment;
struct LanguageTexts;

// Element `number` as the user leaves it: OK, then Yes, rescales its deviations
// from the sigma typed to the chain's `productionSigma`; OK, then No, gives it
// back unchanged; Abbrechen gives nothing. `plusMinus` is the sign the texts show.
std::optional<Element> runSigmaDialog(int number, const Element& element, long double productionSigma,
                                      std::string_view plusMinus, const LanguageTexts& texts,
                                      const DialogEnvironment& environment);

// The horizontal distance of an inclined dimension, or nothing when cancelled
// or when there was no result to take.
std::optional<InclinedDistance> runAngleDialog(const QString& predecessor, const QString& elementNumber,
                                               const LanguageTexts& texts, const DialogEnvironment& environment);

} // namespace zam1
