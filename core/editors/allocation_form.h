#pragma once
// The "Toleranzverteilung ..." dialog's content as the user types it: the
// closing dimension, its target (a Cpk or a reject rate in ppm) and the method.
// A proposal is the allocation of that closing dimension under the project's
// settings file (limits, distributions, element freedoms and costs) with the
// typed target, proven by a fresh analysis of the changed chain. Taking it over
// writes the proposed deviations into the chain; the caller makes that one
// undoable step.

#include <functional>
#include <optional>
#include <string>

#include "core/analysis/allocation.h"

namespace zam1 {

class Chain;
struct LanguageTexts;
struct ProgramState;

struct AllocationForm {
    int closing = 1;       // 1-based
    bool byCpk = true;     // the target is a Cpk, else a reject rate in ppm
    std::string target;    // as typed, decimal point or comma
    AllocationMethod method = AllocationMethod::Cost;
};

// The Cpk every closing dimension without a target of its own is offered.
inline constexpr long double kOfferedCpk = 1.33L;
inline constexpr long double kMostTargetCpk = 100;

// Filled from the settings file's target of `closing`, else a Cpk of 1.33.
AllocationForm allocationForm(const AnalysisData& data, int closing);

struct AllocationProposal {
    std::string fault;  // stored code page; when set there is no allocation to take over
    bool targetFault = false;  // the fault is in the typed target: its field gets the cursor
    std::optional<Allocation> allocation;
};

// The allocation of the form's closing dimension of `chain` (its working values
// current), checked afresh. A bad target, a closing dimension without required
// limits and one whose path cannot be resolved are faults.
AllocationProposal proposeAllocation(Chain& chain, const AnalysisData& data, const AllocationForm& form,
                                     const LanguageTexts& texts);

// What the proposal reaches, in the dialog's words (UTF-8): the achieved ppm or
// Cpk against the target, the cost against the proportional baseline, and where
// the target cannot be met, the best reachable figure.
std::string proposalSummary(const Allocation& allocation);

// The dialog: shows the question for closing dimension `closing` of `chain`
// (its working values current) under the project's settings `data` and gives
// back the proposal the user took over, or nothing.
using AllocationDialog = std::function<std::optional<Allocation>(Chain& chain, const AnalysisData& data, int closing)>;

// The View menu's "Toleranzverteilung ...": the project's settings file read,
// the chain checked, `dialog` asked. True when a proposal was taken over: the
// chain then has the proposed deviations (and ISO grades), its working values
// follow them, and `closing` is the one it was for; the caller makes that one
// undoable step. False, with the error flag set, after Abbrechen, for a project
// without closing dimensions or a file name, when its settings file cannot be
// read, and for a chain that cannot be analysed (the first fault shown).
bool allocateProjectTolerances(ProgramState& state, int& closing, const AllocationDialog& dialog);

// A deviation or an ISO code as the dialog's cells show them (UTF-8).
std::string deviationCell(long double value, int decimals);
std::string isoCell(const ToleranceState& state);

} // namespace zam1
