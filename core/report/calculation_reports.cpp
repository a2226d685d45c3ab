#include "core/report/calculation_reports.h"

#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/report/output_channel.h"

namespace zam1 {
namespace {

constexpr std::size_t kChoiceWidth = 65;
constexpr int kCaptionWidth = 11; // "Kleinstmass", the longest of the German captions

// "Größtmass   : " and its siblings: captions of any language line up on the colon.
std::string caption(std::string_view text) { return textLeft(text, kCaptionWidth) + " : "; }

std::string closingText(const Chain& chain, int k) {
    return k >= 1 && k <= chain.closingCount() ? chain.closing(k).text.str() : std::string();
}

std::string ends(int a, int b) { return intRight(a, 3) + " ===> " + intRight(b, 3) + "      "; }

const std::string kBlank20(20, ' ');
const std::string kBlank10(10, ' ');
const std::string kBlank18(18, ' ');

} // namespace

NumberFormat lengthFormat(const Chain& chain, const OutputChannel& out) {
    return {chain.decimals, out.settings().numbers.decimalComma};
}

std::vector<std::string> closingChoiceLines(const Chain& chain, const ReportTexts& texts) {
    const int count = chain.closingCount();
    std::vector<std::string> entries;
    entries.reserve(static_cast<std::size_t>(count) + 1);
    for (int k = 1; k <= count; ++k) {
        const ClosingDimension& c = chain.closing(k);
        const std::string entry = intRight(c.fromElement, 3) + " => " + intRight(c.toElement, 3) + "  " + c.text.str() +
                                  "  " + c.remark.str();
        entries.push_back(entry.substr(0, kChoiceWidth));
    }
    entries.push_back(texts.back + " ..");
    return entries;
}

int selectClosingDimension(Chain& chain, OutputChannel& out, int current, ClosingSolution& solution) {
    const ReportTexts& t = out.texts().report;
    Prompter& prompter = out.prompter();
    const int count = chain.closingCount();
    if (count == 0) {
        prompter.showError(t.noClosing + " ...");
        out.error().set();
        return 0;
    }
    deriveElementValues(chain);
    if (current < 1 || current > count) current = 1;
    const std::vector<std::string> entries = closingChoiceLines(chain, t);
    int choice = current;
    if (!prompter.askChoice(t.selectClosing + " ...", entries, choice) || choice < 1 || choice > count) {
        out.error().set();
        return 0;
    }
    solution = solveClosing(chain, choice);
    if (!solution.resolved) {
        prompter.showError(solution.structureError.view());
        return choice;
    }
    if (!checkTolerance(chain, solution.sums, t.tolerance)) {
        prompter.showError(t.tolerance + " = 0 ? !");
        out.error().set();
        return 0;
    }
    return choice;
}

void writePathLine(OutputChannel& out, const ClosingSolution& solution) {
    out.emptyLine();
    out.doubleLine();
    std::string line = out.texts().report.dimensionalStructure + " : ";
    for (const int e : solution.pathFrom) line += intText(e) + " => ";
    line += intText(solution.sharedElement);
    for (auto e = solution.pathTo.rbegin(); e != solution.pathTo.rend(); ++e) line += " <= " + intText(*e);
    out.writeLine(line);
    out.doubleLine();
}

void writeStructureFault(OutputChannel& out, const ClosingSolution& solution) {
    out.emptyLine();
    out.doubleLine();
    out.writeLine(ends(solution.fromElement, solution.toElement) + solution.structureError.str());
    out.doubleLine();
}

void writeClassicBlock(OutputChannel& out, const Chain& chain, const ClosingSolution& solution, int k) {
    const ReportTexts& t = out.texts().report;
    const ClosingSums& r = solution.sums;
    const NumberFormat f = lengthFormat(chain, out);
    out.thinLine();
    out.writeLine("1. " + t.classicHeading + ":");
    out.emptyLine();
    out.writeLine(ends(solution.fromElement, solution.toElement) + caption(t.maxDim) + lengthField(r.closingMax, 4, f) +
                  kBlank20 + lengthField(r.closingUpperDev, 2, f));
    out.writeLine(kBlank18 + caption(t.nominalDim) + lengthField(r.closingNominal, 4, f) + kBlank10 +
                  lengthField(r.closingNominal, 4, f) + " --------");
    out.writeLine(textLeft(closingText(chain, k), 18) + caption(t.minDim) + lengthField(r.closingMin, 4, f) + kBlank20 +
                  lengthField(r.closingLowerDev, 2, f));
    out.thinLine();
    out.writeLine(k >= 1 && k <= chain.closingCount() ? chain.closing(k).remark.view() : std::string_view());
}

void writeStatisticalBlock(OutputChannel& out, const Chain& chain, const ClosingSolution& solution, int k) {
    const ReportTexts& t = out.texts().report;
    const ClosingSums& r = solution.sums;
    const NumberFormat f = lengthFormat(chain, out);
    out.thinLine();
    out.writeLine("2. " + t.statisticalHeading);
    out.emptyLine();
    out.writeLine(ends(solution.fromElement, solution.toElement) + caption(t.maxDim) +
                  lengthField(statisticalMax(r), 4, f) + kBlank20 + lengthField(r.closingStatDev, 2, f));
    out.writeLine(kBlank18 + caption(t.meanDim) + lengthField(r.closingMean, 4, f) + kBlank10 +
                  lengthField(r.closingMean, 4, f) + " --------");
    out.writeLine(textLeft(closingText(chain, k), 18) + caption(t.minDim) + lengthField(statisticalMin(r), 4, f) +
                  kBlank20 + lengthField(-r.closingStatDev, 2, f));
    out.thinLine();
    out.emptyLine();
}

void writeProbabilityTables(OutputChannel& out, Chain& chain, const ClosingSums& sums) {
    const ReportTexts& t = out.texts().report;
    // Without a production sigma there are no rows; the message list says why.
    const ProbabilityTables rows = probabilityTables(chain, sums, out.settings().numbers);
    out.emptyLine();
    out.doubleLine();
    out.writeLine(statisticsHeading(sums, chain.productionSigma, t.closingDimension, t.at, lengthFormat(chain, out),
                                    out.settings().numbers));
    out.doubleLine();
    out.writeLine("1. " + t.probabilityRange);
    out.doubleLine();
    out.writeLine(t.rangeCaption1);
    out.writeLine(t.rangeCaption2);
    out.thinLine();
    for (const std::string& row : rows.rangeRows) out.writeLine(row);
    out.thinLine();
    out.emptyLine();
    out.writeLine("2. " + t.probabilityInterval);
    out.doubleLine();
    out.writeLine(t.intervalCaption1);
    out.writeLine(t.intervalCaption2);
    out.thinLine();
    for (const std::string& row : rows.intervalRows) out.writeLine(row);
    out.thinLine();
    out.emptyLine();
    out.emptyLine();
}

void writeClosingStatistics(OutputChannel& out, Chain& chain, int k, const ClosingSolution& solution) {
    if (!solution.resolved) {
        writeStructureFault(out, solution);
        return;
    }
    writePathLine(out, solution);
    writeClassicBlock(out, chain, solution, k);
    writeStatisticalBlock(out, chain, solution, k);
    writeProbabilityTables(out, chain, solution.sums);
}

void writeZeroDistances(OutputChannel& out, Chain& chain) {
    deriveElementValues(chain);
    for (int i = 1; i <= chain.elementCount(); ++i) {
        const ClosingSolution solution = solveDistance(chain, 0, i);
        if (!solution.resolved) {
            writeStructureFault(out, solution);
            continue;
        }
        writePathLine(out, solution);
        writeClassicBlock(out, chain, solution, 0);
        writeStatisticalBlock(out, chain, solution, 0);
    }
}

bool reportClosingStatistics(Chain& chain, OutputChannel& out, int& choice) {
    ClosingSolution solution;
    const int k = selectClosingDimension(chain, out, choice, solution);
    if (k == 0) return false;
    choice = k;
    if (!out.openOutput(kReportAsk, "zam1kr.txt")) return false;
    writeClosingStatistics(out, chain, k, solution);
    out.pageBreak();
    return out.closeOutput();
}

bool reportChainListing(Chain& chain, OutputChannel& out, int& choice) {
    ClosingSolution solution;
    const int k = selectClosingDimension(chain, out, choice, solution);
    if (k == 0) return false;
    choice = k;
    if (!out.openOutput(kReportAsk, "ZAM1KR.TXT")) return false;
    writeChainListing(out, chain, k);
    out.pageBreak();
    return out.closeOutput();
}

bool reportZeroDistances(Chain& chain, OutputChannel& out) {
    if (chain.elementCount() == 0) {
        out.prompter().showError(out.texts().report.enterElementsFirst + " !");
        out.error().set();
        return false;
    }
    if (!out.openOutput(kReportAsk, "ZAM1ABS.TXT")) return false;
    writeZeroDistances(out, chain);
    out.pageBreak();
    return out.closeOutput();
}

bool reportMessages(const MessageList& messages, OutputChannel& out) {
    if (messages.empty()) {
        out.prompter().showNote(out.texts().main.calculationClean);
        return false;
    }
    if (!out.openOutput(kReportScreen, out.project().baseName + ".txt")) return false;
    out.writePageHeader();
    out.writeMessages(messages);
    out.pageBreak();
    return out.closeOutput();
}

} // namespace zam1
