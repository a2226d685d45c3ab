#include "core/report/main_report.h"

#include <algorithm>
#include <vector>

#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/report/calculation_reports.h"
#include "core/report/output_channel.h"
#include "core/report/report_table.h"

namespace zam1 {
namespace {

constexpr std::string_view kNoText = ".................."; // 18 dots for an element without text
constexpr std::string_view kNoIso = ".....";
constexpr std::string_view kPlusMinusCaption = "   \xF1"; // DOS code 241

bool blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

void writeHead(OutputChannel& out) {
    const ReportTexts& t = out.texts().report;
    const ProjectHeading& p = out.project();
    const std::string when = out.todayText() + " " + out.timeText();
    out.thinLine();
    out.writeLine(std::string(kProgramTitle) + "      " + t.version + " " + std::string(kProgramVersion));
    if (p.fromCommandLine) {
        out.writeLine(t.file + ": " + p.fileName + "   " + when);
    } else {
        out.writeLine(p.fileName + "  " + when);
    }
    out.thinLine();
    for (std::size_t i = 0; i < 3; ++i) out.writeLine(p.descriptionLines[i]);
}

void writeElementList(OutputChannel& out, Chain& chain) {
    const ReportTexts& t = out.texts().report;
    const NumberFormat f = lengthFormat(chain, out);
    ReportTable table(out, {{3, t.colElement}, {6, t.colPredecessor}, {4, std::string(kPlusMinusCaption)},
                            {10, t.colNominal}, {9, t.colUpperDev}, {9, t.colLowerDev}, {8, t.colIso},
                            {21, t.colText}});
    for (int n = 1; n <= chain.elementCount(); ++n) {
        Element& e = chain.element(n);
        if (e.text.empty()) e.text = kNoText;
        const std::string iso = e.hasIsoCode() ? textLeft(e.isoLetters.str() + intText(e.isoGrade), 5) : std::string(kNoIso);
        table.writeRow({intRight(n, 3), intRight(e.predecessor, 6), std::string("   ") + (e.positive != 0 ? "+" : "-"),
                        lengthField(e.distance, 6, f), lengthField(e.upperDev, 5, f), lengthField(e.lowerDev, 5, f),
                        "   " + iso, ("   " + e.text.str()).substr(0, 21)});
    }
    table.writeRow({"999"});
    table.close();
    out.emptyLine();
    if (chain.elementCount() >= 1 && !blank(chain.element(1).remark.view())) {
        ReportTable info(out, {{6, t.colElement}, {62, t.info}});
        for (int n = 1; n <= chain.elementCount(); ++n) info.writeRow({intRight(n, 3), chain.element(n).remark.str()});
        info.close();
    }
}

// A closing dimension that could not be resolved shows its ends and why, in
// place of numbers that would belong to some other distance.
void writeClosingTable(OutputChannel& out, const Chain& chain, const std::vector<ClosingSolution>& solutions,
                       bool gaussian) {
    const ReportTexts& t = out.texts().report;
    const NumberFormat f = lengthFormat(chain, out);
    out.emptyLine();
    out.writeLine(gaussian ? t.closingGaussian : t.closingConstant);
    ReportTable table(out, {{3, t.colDis}, {4, t.colTanz}, {10, gaussian ? t.colMean : t.colNominal},
                            {8, t.colUpperTol}, {8, t.colLowerTol}, {10, t.colMax}, {10, t.colMin}, {18, t.colRemark}});
    for (int k = 1; k <= chain.closingCount(); ++k) {
        const ClosingDimension& c = chain.closing(k);
        const ClosingSolution& s = solutions[static_cast<std::size_t>(k - 1)];
        std::vector<std::string> cells{intRight(c.fromElement, 3), " " + intRight(c.toElement, 3)};
        if (!s.resolved) {
            cells.push_back("   " + s.structureError.str());
            table.writeSpanningRow(cells);
            continue;
        }
        ClosingSums r = s.sums;
        if (gaussian) switchToStatistical(r);
        cells.insert(cells.end(), {lengthField(gaussian ? r.closingMean : r.closingNominal, 6, f),
                                   lengthField(r.closingUpperDev, 4, f), lengthField(r.closingLowerDev, 4, f),
                                   lengthField(r.closingMax, 6, f), lengthField(r.closingMin, 6, f), " " + c.text.str()});
        table.writeRow(cells);
    }
    table.close();
}

void writeClosingRemarks(OutputChannel& out, const Chain& chain) {
    if (chain.closingCount() < 1 || blank(chain.closing(1).remark.view())) return;
    out.emptyLine();
    ReportTable table(out, {{18, out.texts().report.closingDimensions}, {54, ""}});
    for (int k = 1; k <= chain.closingCount(); ++k) table.writeRow({chain.closing(k).text.str(), chain.closing(k).remark.str()});
    table.close();
}

void writeAllProbabilityTables(OutputChannel& out, Chain& chain, const std::vector<ClosingSolution>& solutions) {
    out.pageBreak();
    bool first = true;
    for (const ClosingSolution& s : solutions) {
        if (!s.resolved) continue; // its row in the tables says why
        if (!first) out.pageBreak();
        first = false;
        ClosingSums r = s.sums;
        switchToStatistical(r);
        writeProbabilityTables(out, chain, r);
    }
}

bool writeOnDevice(Chain& chain, OutputChannel& out, ReportDevice device, const char* fileName, bool statistics,
                   int* unresolved) {
    if (!out.openOutput(device, fileName)) return false;
    bool newPage = false;
    if (out.isPrinted()) {
        if (!out.prompter().askYesNo(out.texts().report.newPageQuestion, newPage)) {
            out.abortOutput();
            return false;
        }
    }
    const int failed = writeMainReport(chain, out, statistics, newPage);
    if (unresolved != nullptr) *unresolved = failed;
    out.pageBreak();
    return out.closeOutput();
}

} // namespace

int writeMainReport(Chain& chain, OutputChannel& out, bool statistics, bool newPage) {
    writeHead(out);
    writeElementList(out, chain);
    out.emptyLine();
    if (newPage) out.pageBreak();
    deriveElementValues(chain);
    const std::vector<ClosingSolution> solutions = solveAllClosings(chain);
    writeClosingTable(out, chain, solutions, false);
    writeClosingTable(out, chain, solutions, true);
    writeClosingRemarks(out, chain);
    const auto unresolved = std::count_if(solutions.begin(), solutions.end(), [](const ClosingSolution& s) { return !s.resolved; });
    if (statistics && static_cast<std::size_t>(unresolved) < solutions.size()) writeAllProbabilityTables(out, chain, solutions);
    out.writeMessages(chain.messages);
    return static_cast<int>(unresolved);
}

bool writeStandardReport(Chain& chain, OutputChannel& out, ReportDevice device, int* unresolved) {
    return writeOnDevice(chain, out, device, kStandardReportFile, true, unresolved);
}

bool writeExcerptReport(Chain& chain, OutputChannel& out, ReportDevice device) {
    return writeOnDevice(chain, out, device, kExcerptReportFile, false, nullptr);
}

bool writeExportReport(Chain& chain, OutputChannel& out, const std::string& path) {
    if (!out.openNamedFile(path)) return false;
    writeMainReport(chain, out, false, false);
    return out.closeOutput();
}

} // namespace zam1
