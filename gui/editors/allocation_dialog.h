#pragma once
// The "Toleranzverteilung ..." dialog of the View menu: closing dimension,
// target and method; "Vorschlag" shows the proposed tolerances beside today's,
// "Übernehmen" gives them back to be written into the chain.

#include <optional>

#include "core/editors/allocation_form.h"

namespace zam1 {

struct DialogEnvironment;

// Shows the question for closing dimension `closing` (1-based) of `chain`, its
// working values current, with the targets, limits, distributions and element
// freedoms of the settings `data`. The proposal shown when the user chose
// "Übernehmen"; nothing after Abbrechen.
std::optional<Allocation> allocateTolerances(Chain& chain, const AnalysisData& data, int closing,
                                             const LanguageTexts& texts, const DialogEnvironment& environment);

} // namespace zam1
