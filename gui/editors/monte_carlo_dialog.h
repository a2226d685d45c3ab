#pragma once
// The "Monte Carlo ..." dialog of the View menu: required limits per closing
// dimension, the distribution of each element, the method the check judges by,
// the number of samples and the seed; kept in the settings file beside the project.
// The correlated pairs of that file are listed, to be read only.

#include <functional>
#include <optional>

#include "core/editors/monte_carlo_form.h"

namespace zam1 {

class Chain;
struct DialogEnvironment;
struct LanguageTexts;

// Saves the sign-off report of settings the dialog shows.
using SignoffReportSaver = std::function<void(const AnalysisData& data)>;

// Shows `data` over the elements and closing dimensions of `chain`, closing
// dimension `closing` (1-based) chosen for the histogram. OK checks every field
// (a bad one is named and the dialog stays open) and gives back the settings
// and the closing dimension chosen; Abbrechen nothing. "Prüfbericht speichern
// ..." hands the settings in the form (checked as OK checks them) to
// `saveReport`; the dialog stays open.
std::optional<MonteCarloAnswer> editMonteCarloSettings(const Chain& chain, const AnalysisData& data, int closing,
                                                       const LanguageTexts& texts, const SignoffReportSaver& saveReport,
                                                       const DialogEnvironment& environment);

} // namespace zam1
