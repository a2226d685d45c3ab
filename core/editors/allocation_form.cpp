#include "core/editors/allocation_form.h"

#include <cmath>

#include "core/analysis/allocation_check.h"
#include "core/analysis/input_check.h"
#include "core/editors/dialog_answer.h"
#include "core/editors/monte_carlo_form.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {

AllocationForm allocationForm(const AnalysisData& data, int closing) {
    AllocationForm form;
    form.closing = closing;
    const AllocationTarget target = data.allocation.targetOf(closing);
    if (target.ppm) {
        form.byCpk = false;
        form.target = autoNumber(*target.ppm, {}, 6);
    } else {
        form.target = autoNumber(target.cpk.value_or(kOfferedCpk), {}, 6);
    }
    return form;
}

namespace {

AllocationProposal fault(const std::string& utf8, bool inTarget = false) {
    AllocationProposal p;
    p.fault = utf8ToOem(utf8);
    p.targetFault = inTarget;
    return p;
}

} // namespace

AllocationProposal proposeAllocation(Chain& chain, const AnalysisData& data, const AllocationForm& form,
                                     const LanguageTexts& texts) {
    const std::string closingName = "Schließmaß " + intText(form.closing);
    if (form.closing < 1 || form.closing > chain.closingCount()) {
        return fault(closingName + ": " + oemToUtf8(texts.report.noClosing));
    }
    // The target first: a typing fault is named before anything is computed.
    const std::string field = form.byCpk ? "Ziel Cpk" : "Ziel Ausschuss (ppm)";
    long double value = 0;
    if (!parseNumber(form.target, value) || !std::isfinite(value)) {
        return fault(field + ": " + oemToUtf8(texts.main.invalidInput) + "\"" + form.target + "\" !", true);
    }
    const bool inRange = form.byCpk ? value > 0 && value <= kMostTargetCpk : value > 0 && value < 1e6L;
    if (!inRange) {
        return fault(field + ": " + oemToUtf8(texts.main.validRange) + (form.byCpk ? "0 < Cpk <= 100" : "0 < ppm < 1000000") +
                         " !",
                     true);
    }
    if (!data.limitsOf(form.closing).any()) {
        return fault(closingName + " hat keine geforderten Grenzen: erst unter Monte Carlo ... eintragen.");
    }
    if (!(chain.productionSigma > 0)) {
        return fault("Sigma ist 0: die statistische Methode kann nicht urteilen.");
    }
    const ClosingSolution solution = solveClosing(chain, form.closing);
    if (!solution.structureError.empty()) return fault(closingName + ": " + oemToUtf8(solution.structureError.view()));

    AnalysisData asked = data;
    AllocationTarget target;
    if (form.byCpk) {
        target.cpk = value;
    } else {
        target.ppm = value;
    }
    asked.allocation.targets[form.closing] = target;
    Allocation a = allocateClosing(chain, solution, form.closing, asked, form.method);
    if (!a.problem.empty()) return fault(closingName + ": " + a.problem);
    AllocationCheck check(chain, asked);
    check.check(a);
    AllocationProposal p;
    p.allocation = std::move(a);
    return p;
}

namespace {

std::string figure(long double value, int decimals) {
    if (std::isinf(value)) return value > 0 ? "+unendlich" : "-unendlich";
    return fixedText(value, 0, decimals, false);
}

std::string reachedText(const Allocation& a, const AllocationFigures& f) {
    if (a.target.cpk) return "Cpk " + (f.cpk ? figure(*f.cpk, 3) : std::string("-"));
    return "Ausschuss " + figure(f.ppmBelow + f.ppmAbove, 1) + " ppm";
}

} // namespace

std::string proposalSummary(const Allocation& a) {
    const std::string target =
        a.target.cpk ? "Cpk >= " + figure(*a.target.cpk, 3) : "Ausschuss <= " + figure(a.target.ppm.value_or(0), 1) + " ppm";
    std::string s = "Ziel " + target + "; heute " + reachedText(a, a.before);
    const AllocationFigures& after = a.achieved ? *a.achieved : a.predicted;
    s += a.reached() ? ", mit dem Vorschlag " : ", bestenfalls ";
    s += reachedText(a, after) + (a.achieved ? " (neu berechnet)" : "") + ".\n";
    s += "Kosten " + figure(a.cost, 4) + " (heute " + figure(a.costBefore, 4) + ", proportional " +
         figure(a.proportionalCost, 4) + ").";
    if (!a.reached()) {
        std::string limited;
        for (const AllocatedElement& e : a.elements) {
            if (e.atLimit) limited += (limited.empty() ? "" : ", ") + intText(e.element);
        }
        s += "\nDas Ziel ist in den Grenzen der Elemente nicht erreichbar; an ihrer Grenze: " +
             (limited.empty() ? std::string("keine") : limited) + ".";
    }
    return s;
}

std::string deviationCell(long double value, int decimals) { return fixedText(value, 0, decimals, false); }

std::string isoCell(const ToleranceState& state) {
    if (!state.iso.empty()) return state.iso;
    if (!state.generalClass.empty()) return "ISO 2768-" + state.generalClass;
    return {};
}

bool allocateProjectTolerances(ProgramState& state, int& closing, const AllocationDialog& dialog) {
    AnalysisData data;
    if (!readClosingAnalysis(state, data)) return false;
    if (const auto problems = analysisInputProblems(state.chain, state.texts); !problems.empty()) {
        if (state.prompter) state.prompter->showError(problems.front());
        state.error.set();
        return false;
    }
    deriveElementValues(state.chain);
    const std::optional<Allocation> answer = dialog(state.chain, data, closing);
    const Allocation* taken = takeAnswer(answer, state.error);
    if (!taken) return false;
    closing = taken->closing;
    applyAllocation(state.chain, *taken);
    deriveElementValues(state.chain);
    return true;
}

} // namespace zam1
