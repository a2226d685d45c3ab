#include "core/app/batch_analysis.h"
#include "core/app/batch_support.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "core/analysis/analysis.h"
#include "core/analysis/analysis_report.h"
#include "core/analysis/input_check.h"
#include "core/analysis/sidecar.h"
#include "core/analysis/signoff_report.h"
#include "core/app/signoff_commands.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/file_name_text.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

struct Request {
    std::optional<AnalysisMethod> method;
    std::optional<std::int64_t> samples;
    std::optional<std::uint64_t> seed;
    std::optional<std::string> json;  // "-": standard output
    std::optional<std::string> report;  // the sign-off report, .pdf or .html
};

int usage(std::ostream& err, const std::string& problem) {
    err << "w" << kShortName << ": " << problem << "\n"
        << "usage: w" << kShortName << " project." << kProjectExtension
        << " --analyse [--method wc|rss|mc] [--samples N] [--seed S] [--json FILE|-] [--report FILE.pdf|FILE.html]\n"
        << "       exit 0 every required limit holds, 3 one is violated, 4 undecided (more samples needed)\n";
    return kExitRefused;
}

// The options after "--analyse"; an empty text when they are usable, else what is wrong.
std::string parseOptions(const std::vector<std::string>& args, Request& request) {
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) return name + " needs a value";
        const std::string& value = args[i + 1];
        long long number = 0;
        if (name == "--method") {
            request.method = methodFromName(value);
            if (!request.method) return "--method " + value + ": wc, rss or mc";
        } else if (name == "--samples") {
            if (!parseInteger(value, number) || number < kMinSamples || number > kMaxSamples) {
                return "--samples " + value + ": 1 to 100000000";
            }
            request.samples = number;
        } else if (name == "--seed") {
            request.seed = seedFromText(value);
            if (!request.seed) return "--seed " + value + ": " + std::string(kSeedRangeText);
        } else if (name == "--json") {
            request.json = value;
        } else if (name == "--report") {
            if (!signoffFormatOf(value)) return "--report " + value + ": the sign-off report is FILE.pdf or FILE.html";
            request.report = value;
        } else {
            return name + " ?";
        }
    }
    return {};
}

// The sign-off report of the run into `path`; false, with the reason on `err`, when not written.
bool writeSignoffReport(const ProgramState& state, const AnalysisResult& result, const AnalysisData& data,
                        const std::string& projectPath, const std::string& path, ExportPainter* painter,
                        std::ostream& err) {
    const SignoffDocument document = signoffDocument(result, state.chain, data, signoffHeading(state, projectPath));
    std::string bytes;
    if (!signoffBytes(document, *signoffFormatOf(path), painter, bytes)) {
        err << "w" << kShortName << ": " << path
            << (painter == nullptr ? " - PDF schreibt nur das Programm wzam1 (only the wzam1 program writes PDF)\n"
                                   : " - PDF nicht erstellt (the PDF could not be made)\n");
        return false;
    }
    if (const int io = writeFileSafely(path, bytes); io != kIoOk) {
        err << oemToUtf8(withSystemReason(utf8ToOem(path) + "  " + writeErrorText(io), lastIoError())) << '\n';
        return false;
    }
    return true;
}

} // namespace

bool analysisNeedsPainter(const std::vector<std::string>& arguments) {
    if (arguments.size() < 2 || arguments[1] != kAnalyseSwitch) return false;
    for (std::size_t i = 2; i + 1 < arguments.size(); i += 2) {
        if (arguments[i] == "--report" && signoffFormatOf(arguments[i + 1]) == SignoffFormat::Pdf) return true;
    }
    return false;
}

bool readProjectForAnalysis(ProgramState& state, const std::string& projectPath, AnalysisData& data,
                            std::ostream& err) {
    state.error.clear();
    state.file.dataDirectory.clear(); // the name is used as given
    if (!readProjectFile(state, projectPath)) return false;
    if (const auto problems = analysisInputProblems(state.chain, state.texts); !problems.empty()) {
        for (const std::string& p : problems) err << projectPath << ": " << oemToUtf8(p) << '\n';
        return false;
    }
    const std::string sidecar = sidecarPath(projectPath);
    const SidecarRead read = readSidecar(sidecar, state.chain, data, state.config.language);
    if (!read.ok) {
        err << sidecar << ": " << read.error << '\n';
        return false;
    }
    for (const std::string& note : read.notes) err << sidecar << ": " << note << '\n';
    return true;
}

int runBatchAnalysis(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                     std::ostream& err, ExportPainter* painter) {
    if (arguments.size() < 2 || arguments[1] != kAnalyseSwitch) {
        return usage(err, std::string(kAnalyseSwitch) + " needs the project before it");
    }
    Request request;
    if (const std::string problem = parseOptions(arguments, request); !problem.empty()) return usage(err, problem);
    const std::string& projectPath = arguments.at(0);
    if (request.json && *request.json != "-" && outputIsAnInput(projectPath, *request.json, err)) return kExitRefused;
    if (request.report && outputIsAnInput(projectPath, *request.report, err)) return kExitRefused;
    BatchPorts ports(state, err);
    AnalysisData data;
    if (!readProjectForAnalysis(state, projectPath, data, err)) return kExitFailed;
    AnalysisOptions options = data.options;
    if (request.method) options.method = *request.method;
    if (request.samples) options.samples = *request.samples;
    if (request.seed) options.seed = *request.seed;

    const AnalysisResult result = analyseChain(state.chain, data, options);
    // The name goes into JSON, which holds only UTF-8.
    const std::string name = fileNameToUtf8(projectBaseName(projectPath));
    if (request.json && *request.json == "-") {
        out << analysisJson(result, name);
    } else {
        writeAnalysisReport(result, name, out, &state.texts.report);
        if (request.json && writeFileSafely(*request.json, analysisJson(result, name)) != kIoOk) {
            err << *request.json << ": cannot be written\n";
            return 1;
        }
    }
    if (request.report && !writeSignoffReport(state, result, data, projectPath, *request.report, painter, err)) {
        return kExitFailed;
    }
    writeCalculationWarnings(state, err);
    if (result.verdict() == Verdict::Fails) return kExitViolated;
    if (result.verdict() == Verdict::Undecided) return kExitUndecided;
    const auto unresolved = std::count_if(result.closings.begin(), result.closings.end(),
                                          [](const ClosingAnalysis& c) { return !c.resolved; });
    if (unresolved == 0) return kExitDone;
    err << "w" << kShortName << ": " << projectPath << ": " << unresolved
        << " Schließmaß(e) nicht berechenbar (closing dimensions could not be calculated)\n";
    return kExitUnresolved;
}

} // namespace zam1
