#pragma once
// The Monte Carlo dialog's content as the user types it: required limits per
// closing dimension, a distribution per element, the method the check judges
// by, the number of samples and the seed. Taking it over checks every field
// first; a bad one is named in the message and nothing changes.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/analysis/analysis_data.h"

namespace zam1 {

struct LanguageTexts;
struct ProgramState;

struct MonteCarloForm {
    struct Limits {
        std::string lower;  // empty: not required
        std::string upper;
    };
    struct Element {
        Distribution kind = Distribution::Normal;
        std::string shiftPercent;  // read for the shifted normal distribution only
    };
    std::vector<Limits> limits;      // closing dimensions 1..n
    std::vector<Element> elements;   // elements 1..n
    AnalysisMethod method = AnalysisMethod::Statistical;
    std::string samples;
    std::string seed;
};

// Which field a fault is in, so the dialog can put the cursor there.
enum class MonteCarloField { Lower, Upper, ShiftPercent, Samples, Seed };

struct MonteCarloFault {
    MonteCarloField field = MonteCarloField::Samples;
    int number = 0;        // the closing dimension or element; 0 for samples and seed
    std::string message;   // stored code page, names the field
};

MonteCarloForm monteCarloForm(const AnalysisData& data, int elementCount, int closingCount);

// Checks the whole form; on success replaces the limits, distributions and run
// settings of `data` and returns nothing, otherwise leaves `data` alone.
std::optional<MonteCarloFault> takeMonteCarloForm(const MonteCarloForm& form, const LanguageTexts& texts,
                                                  AnalysisData& data);

// A length for an input field: the shortest text that reads back to the same value.
std::string limitText(long double value);

// The settings of the current project from its file beside it (none: the
// defaults). False, with the message shown and the error flag set, when the
// project has no file name yet or its settings file cannot be read.
bool readProjectAnalysis(ProgramState& state, AnalysisData& data);

// The same for a dialog about the closing dimensions: the error flag cleared
// first; false, with the message shown and the flag set, also when the chain
// has none.
bool readClosingAnalysis(ProgramState& state, AnalysisData& data);

// Writes them beside the project through the safe writer; false (message shown,
// error flag set) when that failed.
bool writeProjectAnalysis(ProgramState& state, const AnalysisData& data);

// What the Monte Carlo dialog gives back after OK: the settings taken over and
// the closing dimension (1-based) whose histogram the user wants to see.
struct MonteCarloAnswer {
    AnalysisData data;
    int closing = 1;
};
using MonteCarloDialog = std::function<std::optional<MonteCarloAnswer>(const AnalysisData& data, int closing)>;

// The View menu's "Monte Carlo ...": the project's settings shown in `dialog`
// and written back after OK (`closing` then the one chosen). False, with the
// error flag set, after Abbrechen, for a project without closing dimensions or
// without a file name, and when the settings file cannot be read or written.
bool editProjectMonteCarlo(ProgramState& state, int& closing, const MonteCarloDialog& dialog);

} // namespace zam1
