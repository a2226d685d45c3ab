#include "core/report/cross_reference.h"

#include <algorithm>
#include <vector>

#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/report/calculation_reports.h"
#include "core/report/output_channel.h"
#include "core/text/number_format.h"

namespace zam1 {

bool elementInvolved(const ClosingSolution& solution, int n) {
    if (!solution.resolved) return false;
    const auto on = [n](const std::vector<std::int32_t>& side) { return std::find(side.begin(), side.end(), n) != side.end(); };
    return on(solution.pathFrom) || on(solution.pathTo) || solution.sharedElement == n;
}

namespace {

// For every element 0..elementCount, the closing dimensions it takes part in:
// each closing dimension is resolved once, not once per element.
std::vector<std::vector<int>> involvement(Chain& chain) {
    std::vector<std::vector<int>> involved(static_cast<std::size_t>(chain.elementCount()) + 1);
    const auto mark = [&](int n, int k) {
        if (n >= 0 && n <= chain.elementCount()) involved[static_cast<std::size_t>(n)].push_back(k);
    };
    const std::vector<ClosingSolution> solutions = solveAllClosings(chain);
    for (int k = 1; k <= chain.closingCount(); ++k) {
        const ClosingSolution& s = solutions[static_cast<std::size_t>(k - 1)];
        if (!s.resolved) continue;
        for (const int e : s.pathFrom) mark(e, k);
        for (const int e : s.pathTo) mark(e, k);
        mark(s.sharedElement, k);
    }
    return involved;
}

void writeSection(OutputChannel& out, const Chain& chain, int n, const std::vector<int>& closings) {
    const ReportTexts& t = out.texts().report;
    out.thinLine();
    out.writeLine(t.elementNo + intText(n) + " " + t.involvedIn + ":");
    out.thinLine();
    for (const int k : closings) {
        const ClosingDimension& c = chain.closing(k);
        out.writeLine(intRight(c.fromElement, 3) + " ==> " + intRight(c.toElement, 3) + "     " + c.text.str());
    }
    out.thinLine();
}

} // namespace

void writeCrossReference(OutputChannel& out, Chain& chain, int n) {
    const auto involved = involvement(chain);
    static const std::vector<int> none;
    writeSection(out, chain, n, n >= 0 && n < static_cast<int>(involved.size()) ? involved[static_cast<std::size_t>(n)] : none);
}

bool writeCrossReferenceOne(Chain& chain, OutputChannel& out) {
    long long n = 0;
    if (!askInteger(out.prompter(), out.texts().report.elementNo, n, 0, chain.elementCount())) {
        out.error().set();
        return false;
    }
    if (!out.openOutput(kReportAsk, kCrossReferenceFile)) return false;
    deriveElementValues(chain);
    writeCrossReference(out, chain, static_cast<int>(n));
    out.pageBreak();
    return out.closeOutput();
}

bool writeCrossReferenceAll(Chain& chain, OutputChannel& out) {
    if (!out.openOutput(kReportAsk, kCrossReferenceFile)) return false;
    deriveElementValues(chain);
    const auto involved = involvement(chain);
    for (int n = 1; n <= chain.elementCount(); ++n) {
        writeSection(out, chain, n, involved[static_cast<std::size_t>(n)]);
        out.emptyLine();
        out.emptyLine();
    }
    out.pageBreak();
    return out.closeOutput();
}

} // namespace zam1
