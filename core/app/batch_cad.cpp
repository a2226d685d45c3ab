#include "core/app/batch_cad.h"
#include "core/text/ascii_case.h"
#include "core/app/batch_support.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "core/app/command_guard.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/model/closing_solution.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/program_drawings.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/desktop.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::string_view kIndexHint =
    "j: 1 = Projektzeichnung, 3 = Schema, 10*k+1 / 10*k+2 / 10*k+4 = Schließmaß k maßstäblich / Normalverteilung / "
    "Gesamtgrafik";

int unresolvedClosings(Chain& chain) {
    const std::vector<ClosingSolution> solutions = solveAllClosings(chain);
    return static_cast<int>(
        std::count_if(solutions.begin(), solutions.end(), [](const ClosingSolution& s) { return !s.resolved; }));
}

} // namespace

bool parseCadArgument(const std::string& argument, CadRequest& request) {
    if (argument.size() < 5) return false;
    const std::string prefix = asciiUpper(argument.substr(0, 4));
    if (prefix != "/CAD") return false;
    const char digit = argument[4];
    if (digit < '0' || digit > '9') return false;
    const auto device = static_cast<OutputDevice>(digit - '0');
    if (drawingFileExtension(device).empty()) return false;  // the window and the plot write no file of theirs
    request = CadRequest{};
    request.format = device;
    if (argument.size() == 5) return true;  // no index: the project drawing
    long long j = 0;
    if (argument[5] != ':' || !parseInteger(std::string_view(argument).substr(6), j) || j < 1) return false;
    if (j == 1) return true;
    const long long kind = j % 10;
    if (kind < 1 || kind > 4 || j / 10 > 1000000) return false;
    request.drawing = CadDrawing::Diagram;
    request.kind = static_cast<DiagramKind>(kind);
    request.closing = static_cast<int>(j / 10);
    return true;
}

int runBatchCad(ProgramState& state, const std::string& projectPath, const std::string& cadArgument, bool quiet,
                std::ostream& err) {
    CadRequest request;
    if (!parseCadArgument(cadArgument, request)) {
        err << "w" << kShortName << ": " << cadArgument << " ?\n  i: " << cadFileFormatList() << "\n  " << kIndexHint
            << '\n';
        return kExitRefused;
    }
    BatchPorts ports(state, err);
    state.error.clear();
    const std::string base = projectBaseName(projectPath);
    const std::string outputFile = base + "." + std::string(drawingFileExtension(request.format));
    if (outputIsAnInput(projectPath, outputFile, err)) return kExitRefused;
    if (!readProjectFile(state, projectPath)) return 1;
    state.file.currentFile = base;

    DrawingSettings settings = drawingSettingsFrom(state.config, temporaryFolder(state));
    DrawingTarget target;
    target.device = request.format;
    target.batch = true;
    target.projectName = base;
    // The drawing's foot names the project with its folder, whatever was typed.
    std::error_code noPath;
    const std::filesystem::path absolute = std::filesystem::absolute(projectPath, noPath);
    target.projectFile = noPath ? projectPath : absolute.lexically_normal().string();
    bool written = false;
    if (request.drawing == CadDrawing::Project) {
        written = drawProgramProjectDrawing(state, settings, target);
    } else {
        const DiagramOutcome outcome = drawProgramDiagram(state, settings, target, request.kind, request.closing);
        written = outcome == DiagramOutcome::Drawn;
        if (outcome == DiagramOutcome::Messages) {
            // The window would show these instead of the diagram; here they are the reason for no file.
            writeCalculationWarnings(state, err);
            return 1;
        }
    }
    if (!written || state.error.isSet()) {
        err << "w" << kShortName << ": " << outputFile << " - keine Datei geschrieben\n";
        return 1;
    }
    if (!quiet) writeCalculationWarnings(state, err);
    // As the report: a drawing of the whole project with closing dimensions whose
    // structure cannot be resolved shows errors in place of their figures.
    const bool wholeProject = request.drawing == CadDrawing::Project || request.closing == 0;
    const int unresolved = wholeProject ? unresolvedClosings(state.chain) : 0;
    writeUnresolvedNote(outputFile, unresolved, "drawing", err);
    return unresolved > 0 ? kExitUnresolved : kExitDone;
}

} // namespace zam1
