#pragma once
// The general-tolerance dialog `TForm_zam1frei`: chooses the standard, class,
// group and ranges that Berechnen applies to an element without a tolerance.

#include <optional>

#include "core/standards/general_tolerance.h"

namespace zam1 {

struct DialogEnvironment;
struct LanguageTexts;

// Shows the dialog over `setting`. OK gives back the chosen setting (a constant
// that does not read is named and the dialog stays open); Abbrechen nothing.
std::optional<GeneralToleranceSetting> editGeneralTolerance(const GeneralToleranceSetting& setting,
                                                            const LanguageTexts& texts,
                                                            const DialogEnvironment& environment);

} // namespace zam1
