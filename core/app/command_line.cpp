#include "core/app/command_line.h"
#include "core/platform/private_folder.h"
#include "core/platform/leftovers.h"
#include <filesystem>
#include "core/app/batch_support.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <string_view>

#include "core/app/batch_allocation.h"
#include "core/app/batch_analysis.h"
#include "core/app/batch_export.h"
#include "core/app/batch_cad.h"
#include "core/app/batch_report.h"
#include "core/app/command_guard.h"
#include "core/app/window_start.h"
#include "core/config/config_file.h"
#include "core/graphics/cad_formats.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/desktop.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/standards/iso_lookup.h"
#include "core/text/ascii_case.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

void printHelp(std::ostream& out) {
    const std::string name(kShortName);
    const std::string ext(kProjectExtension);
    const std::string lines[] = {
        "ZAM1 Command Line Mode",
        "",
        "w" + name + " Filename [/I] [/CADi:j] [/NOGUI]",
        "",
        "/I       -> TXT file",
        "",
        "/CADi:j  -> CAD File",
        "            i: " + cadFileFormatList(),
        "            j: index (1,2,3, ..)",
        "",
        "/NOGOUI  -> No GUI, exit on fatal error",
        "",
        "",
        "",
        "/?       -> Help",
        "",
        "",
        "Example: w" + name + " test." + ext + "             ->  GUI",
        "Example: w" + name + " test." + ext + " /I /NOGUI   ->  test.txt",
        "Example: w" + name + " test." + ext + " /CAD1:1     ->  test.dxf",
        "Example: w" + name + " test.edi /E /NOGUI   ->  test.edi",
    };
    for (const std::string& line : lines) out << line << '\n';
}

// "--help": the help screen, then what this build adds to it.
void printLongHelp(std::ostream& out) {
    printHelp(out);
    std::string extensions;
    for (const CadFormat& f : cadFormats()) {
        if (f.output != DeviceOutput::File) continue;
        extensions += (extensions.empty() ? "." : " / .") + std::string(f.extension);
    }
    out << "\n"
           "/CADi:j  j: 1 = project drawing, 3 = scheme of the chain,\n"
           "            10*k+1 / +2 / +4 = closing dimension k to scale / normal distribution / overall graphic\n"
           "         file: project base name + " << extensions << " in the working directory\n"
           "\n"
           "w" << kShortName << " --iso CODE SIZE   ISO 286 limit deviations of CODE (e.g. H7 or \"js 6\") at the\n"
           "                        nominal SIZE in mm; CODE may be a fit such as H7/g6\n"
           "w" << kShortName << " project." << kProjectExtension << " --analyse [--method wc|rss|mc] [--samples N] [--seed S] [--json FILE|-]\n"
           "                        [--report FILE.pdf|FILE.html]\n"
           "                        worst case, statistical and Monte Carlo analysis against the\n"
           "                        required limits of project." << kProjectExtension << ".json (exit 3: a limit is violated,\n"
           "                        4: undecided, the Monte Carlo sample is too small to show it holds);\n"
           "                        --report writes the sign-off report (A4 PDF or one HTML file)\n"
           "w" << kShortName << " project." << kProjectExtension << " --export FILE [options]\n"
           "                        writes FILE without a window; its extension picks what:\n"
           "           .txt .html .pdf  a report: --report standard|excerpt|zero-distances|\n"
           "                        closing-statistics|chain|cross-reference|cross-references\n"
           "                        (default standard; --closing N, --element N for those on one)\n"
           "           .svg .png .pdf   a drawing: --diagram project|overall|scheme|scale|normal\n"
           "                        (default project) --closing N (default 1) --background white|screen\n"
           "                        (default white); .png --dpi N (30..600, default 300); .pdf is a\n"
           "                        drawing when --diagram, --paper or --background is given:\n"
           "                        --paper A4|A3 (default A4, landscape when the picture is wider)\n"
           "           .xlsx            elements and closing dimensions with their results\n"
           "           .csv             one table: --table elements|results (default: results when\n"
           "                        the file name ends in \"results\", else elements)\n"
           "w" << kShortName << " --version         the program's name and version\n"
           "w" << kShortName << " project." << kProjectExtension << " --allocate [--method proportional|cost|iso] [--closing N] [--json FILE|-]\n"
           "                        tolerance allocation for the closing dimensions with a target\n"
           "                        (targetPpm or targetCpk) in project." << kProjectExtension << ".json: proposes\n"
           "                        tolerances (cost, the default: least cost; proportional: one\n"
           "                        factor; iso: ISO 286 grades IT5..IT16, ISO 2768-1 classes) and\n"
           "                        checks them by a fresh analysis; writes nothing to the project\n"
           "                        (exit 3: a target cannot be reached within the elements' limits)\n"
           "w" << kShortName << " --help            this text\n"
           "\n"
           "Exit codes of every form: 0 done\n"
           "            1 the project or its settings file could not be read, or a file or\n"
           "              standard output not written (--iso: the code is not defined for that size)\n"
           "            2 refused, nothing written: unusable or extra arguments, or an output that\n"
           "              is the project or its settings file; or written, but closing dimensions\n"
           "              could not be calculated (their rows show the structure error)\n"
           "            3 --analyse: a required limit is violated; --allocate: a target\n"
           "              cannot be reached\n"
           "            4 --analyse: none is shown violated, but the Monte Carlo sample is too\n"
           "              small to show that every one holds (more samples decide it)\n";
}

bool isIsoLookup(const std::vector<std::string>& a) { return !a.empty() && a.front() == "--iso"; }
// "--analyse" first names no project: a usage line, not a project called "--analyse".
bool isAnalysis(const std::vector<std::string>& a) {
    return (a.size() > 1 && a[1] == kAnalyseSwitch) || (!a.empty() && a[0] == kAnalyseSwitch);
}
bool isAllocation(const std::vector<std::string>& a) {
    return (a.size() > 1 && a[1] == kAllocateSwitch) || (!a.empty() && a[0] == kAllocateSwitch);
}
bool isLongHelp(const std::vector<std::string>& a) { return !a.empty() && (a.front() == "--help" || a.front() == "-h"); }
bool isVersion(const std::vector<std::string>& a) { return !a.empty() && a.front() == "--version"; }
// A "--" option the forms above do not know ends with the usage line, never in a window.
bool hasLongOption(const std::vector<std::string>& a) {
    return std::any_of(a.begin(), a.end(), [](const std::string& s) { return s.rfind("--", 0) == 0; });
}
bool isHelp(const std::string& a1) { return a1 == "?" || a1 == "/?"; }
bool isReportSwitch(const std::string& a2) { return a2 == "/I" || a2 == "/i"; }
bool isCadSwitch(const std::string& a2) { return asciiUpper(a2).rfind("/CAD", 0) == 0; }
// "/E" and "/G" name no project file, so it needs no extension.
bool extensionMissing(const std::string& a1, const std::string& a2) {
    return a2 != "/E" && a2 != "/e" && a2 != "/G" && a1.find('.') == std::string::npos;
}

struct Positional {
    std::vector<std::string> arguments;
    bool quiet = false;
};

// "/NOGUI" counts wherever it stands and in any case; the others count by position.
Positional positionalOf(const std::vector<std::string>& arguments) {
    Positional p;
    for (const std::string& a : arguments) {
        if (asciiUpper(a) == "/NOGUI") {
            p.quiet = true;
        } else {
            p.arguments.push_back(a);
        }
    }
    return p;
}

} // namespace

bool wantsWindow(const std::vector<std::string>& arguments) {
    if (isIsoLookup(arguments) || isAnalysis(arguments) || isAllocation(arguments) || isLongHelp(arguments) ||
        hasLongOption(arguments)) {
        return false;
    }
    const Positional p = positionalOf(arguments);
    if (p.arguments.empty()) return true;
    const std::string& a1 = p.arguments[0];
    const std::string a2 = p.arguments.size() > 1 ? p.arguments[1] : std::string();
    return !isHelp(a1) && !isReportSwitch(a2) && !isCadSwitch(a2) && !extensionMissing(a1, a2);
}

WindowStartPlan windowStart(const std::vector<std::string>& arguments) {
    if (!wantsWindow(arguments)) return {};
    return windowStartPlan(positionalOf(arguments).arguments);
}

namespace {

// A report or drawing takes the project and its switch, "/NOGUI" aside; anything
// more is refused before the project is read, so that no switch is dropped unseen.
int refuseExtraArgument(std::ostream& err, const std::string& extra) {
    err << "w" << kShortName << ": " << extra
        << " ? - zu viele Argumente, nichts geschrieben (unexpected argument, nothing written)\n"
        << "usage: w" << kShortName << " Filename [/I] [/CADi:j] [/NOGUI]\n";
    return kExitRefused;
}

// A run killed earlier (kill -9, a crash) may have left its private folder and
// half-written files beside the project, where the reports go.
void tidyBeforeBatchRun(const std::string& project) {
    removeOrphanedPrivateFoldersBeforeStart(temporaryFolderFromEnvironment());
    const std::filesystem::path folder = std::filesystem::path(project).parent_path();
    removeStaleTemporaryFiles(folder.empty() ? "." : folder.string());
}

int refuseUnknownOption(std::ostream& err, const std::vector<std::string>& arguments) {
    const auto unknown = std::find_if(arguments.begin(), arguments.end(),
                                      [](const std::string& s) { return s.rfind("--", 0) == 0; });
    err << "w" << kShortName << ": " << *unknown
        << " ? - unbekannte Option, nichts geschrieben (unknown option, nothing written)\n"
        << "usage: w" << kShortName << " Filename [/I] [/CADi:j] [/NOGUI]\n"
        << exportUsageLine() << '\n';
    return kExitRefused;
}

// Every form that runs without a window; inside the batch guard.
int runBatchForm(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                 std::ostream& err, ExportPainter* painter) {
    if (isIsoLookup(arguments)) return runIsoLookup({arguments.begin() + 1, arguments.end()}, out, err);
    if (isAnalysis(arguments)) {
        if (arguments.size() > 1 && arguments[1] == kAnalyseSwitch) tidyBeforeBatchRun(arguments[0]);
        return runBatchAnalysis(state, arguments, out, err, painter);
    }
    if (isAllocation(arguments)) {
        if (arguments.size() > 1 && arguments[1] == kAllocateSwitch) tidyBeforeBatchRun(arguments[0]);
        return runBatchAllocation(state, arguments, out, err);
    }
    if (isLongHelp(arguments)) {
        printLongHelp(out);
        return 0;
    }
    if (isVersion(arguments) && arguments.size() == 1) {
        out << "w" << kShortName << " (" << kProgramTitle << ") " << kProgramVersion << '\n';
        return 0;
    }
    const Positional p = positionalOf(arguments);
    const std::vector<std::string>& positional = p.arguments;
    const bool quiet = p.quiet;
    std::optional<ExportRequest> request;
    if (isExportForm(positional)) {
        request = parseExportRequest(positional, err);
        if (!request) return kExitRefused;
        request->quiet = quiet;
    } else if (hasLongOption(positional)) {
        return refuseUnknownOption(err, positional);
    }
    BatchPorts ports(state, err);
    readStartConfiguration(state, ScreenInfo{});
    const std::string& a1 = positional[0];
    const std::string a2 = positional.size() > 1 ? positional[1] : std::string();
    if (isHelp(a1)) {
        printHelp(out);
        return 0;
    }
    if ((isReportSwitch(a2) || isCadSwitch(a2)) && positional.size() > 2) return refuseExtraArgument(err, positional[2]);
    state.file.dataDirectory.clear(); // the name is used as given
    tidyBeforeBatchRun(a1);
    // The batch run's temporary files go into a folder of its own, so that two
    // runs at once do not write over each other's.
    const PrivateFolder folder(temporaryFolderFromEnvironment());
    struct UsePrivate {
        ProgramState& s;
        ~UsePrivate() { s.privateFolder.clear(); }
    } use{state};
    state.privateFolder = folder.path();
    if (request) return runBatchExport(state, *request, painter, err);
    if (isReportSwitch(a2)) return runBatchReport(state, a1, quiet, err);
    if (isCadSwitch(a2)) return runBatchCad(state, a1, a2, quiet, err);
    // What is left is a project name without an extension: a start that opens
    // nothing has failed, whatever it printed.
    err << oemToUtf8(state.texts.main.extensionRequired) << '\n';
    return 1;
}

// What went to standard output must have arrived: a full disk or a closed pipe
// turns a run that wrote its result there into a failure.
int checkStandardOutput(std::ostream& out, std::ostream& err, int exitCode) {
    out.flush();
    if (out.good()) return exitCode;
    err << "w" << kShortName
        << ": Standardausgabe nicht vollständig geschrieben (standard output could not be written)\n";
    return 1;
}

} // namespace

CommandLineResult runCommandLine(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err, ExportPainter* painter) {
    if (wantsWindow(arguments)) return {0, true, windowStart(arguments)};
    const int exitCode =
        runGuardedBatch(state, err, [&] { return runBatchForm(state, arguments, out, err, painter); });
    return CommandLineResult{checkStandardOutput(out, err, exitCode), false, {}};
}

} // namespace zam1
