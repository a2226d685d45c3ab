#include "core/app/batch_report.h"
#include "core/app/batch_support.h"

#include <ostream>

#include "core/analysis/sidecar.h"
#include "core/app/command_guard.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"
#include "core/standards/element_iso.h"
#include "core/text/codepage.h"

namespace zam1 {

std::string refusedOverProjectText(const std::string& outputFile) {
    return "w" + std::string(kShortName) + ": " + outputFile +
           " ist die Projektdatei selbst - nichts geschrieben (the output file would be the project file)";
}

bool outputIsAnInput(const std::string& projectPath, const std::string& outputFile, std::ostream& err) {
    if (sameFile(projectPath, outputFile)) {
        err << refusedOverProjectText(outputFile) << '\n';
        return true;
    }
    if (sameFile(sidecarPath(projectPath), outputFile)) {
        err << "w" << kShortName << ": " << outputFile
            << " ist die Einstellungsdatei des Projekts - nichts geschrieben (the output file would be the project's "
               "settings file)\n";
        return true;
    }
    return false;
}

void writeUnresolvedNote(const std::string& outputFile, int count, std::string_view what, std::ostream& err) {
    if (count <= 0) return;
    err << "w" << kShortName << ": " << outputFile << " geschrieben, aber " << count << " Schließmaß(e) nicht berechenbar ("
        << what << " written, but closing dimensions could not be calculated)\n";
}

void writeCalculationWarnings(const ProgramState& state, std::ostream& err) {
    const MessageList& messages = state.chain.messages;
    if (messages.empty()) return;
    err << oemToUtf8(state.texts.main.calculationWarnings) << '\n';
    for (int i = 0; i < messages.count(); ++i) err << "  " << oemToUtf8(messages.at(i)) << '\n';
}

int runBatchReport(ProgramState& state, const std::string& projectPath, bool quiet, std::ostream& err) {
    state.error.clear();
    const std::string reportFile = projectBaseName(projectPath) + ".txt";
    if (outputIsAnInput(projectPath, reportFile, err)) return kExitRefused;
    if (!readProjectFile(state, projectPath)) return 1;
    state.file.currentFile = projectBaseName(projectPath);

    OutputSettings settings = outputSettingsFrom(state.config);
    settings.workFolder = temporaryFolder(state);
    settings.defaultDevice = kReportProjectText;
    settings.askDevice = false;
    OutputChannel out(settings, state.texts, {*state.prompter, *state.desktop, clockOf(state), state.error});
    out.setProject(projectHeading(state.projectTexts, projectPath, true));
    int unresolved = 0;
    if (!writeStandardReport(state.chain, out, kReportProjectText, &unresolved)) return 1;
    if (!quiet) writeCalculationWarnings(state, err);
    writeUnresolvedNote(reportFile, unresolved, "report", err);
    // Deviations of an ISO code that cannot be evaluated are not to be trusted either.
    const int isoFaults = writeIsoCodeProblems(state.chain, err);
    return unresolved > 0 || isoFaults > 0 ? kExitUnresolved : kExitDone;
}

} // namespace zam1
