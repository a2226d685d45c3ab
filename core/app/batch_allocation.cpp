#include "core/app/batch_allocation.h"
#include "core/app/batch_support.h"
#include "core/app/batch_analysis.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "core/analysis/allocation.h"
#include "core/analysis/allocation_check.h"
#include "core/analysis/allocation_report.h"
#include "core/analysis/input_check.h"
#include "core/analysis/sidecar.h"
#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/model/closing_solution.h"
#include "core/platform/file_io.h"
#include "core/platform/file_name_text.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

struct Request {
    AllocationMethod method = AllocationMethod::Cost;
    std::optional<int> closing;
    std::optional<std::string> json;  // "-": standard output
};

int usage(std::ostream& err, const std::string& problem) {
    err << "w" << kShortName << ": " << problem << "\n"
        << "usage: w" << kShortName << " project." << kProjectExtension
        << " --allocate [--method proportional|cost|iso] [--closing N] [--json FILE|-]\n"
        << "       exit 0 every target is reached, 3 one cannot be reached\n";
    return kExitRefused;
}

std::string parseOptions(const std::vector<std::string>& args, Request& request) {
    for (std::size_t i = 2; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) return name + " needs a value";
        const std::string& value = args[i + 1];
        long long number = 0;
        if (name == "--method") {
            const auto method = allocationMethodFromName(value);
            if (!method) return "--method " + value + ": proportional, cost or iso";
            request.method = *method;
        } else if (name == "--closing") {
            if (!parseInteger(value, number) || number < 1 || number > kMaxClosing) {
                return "--closing " + value + ": a closing dimension number from 1 to " + std::to_string(kMaxClosing);
            }
            request.closing = static_cast<int>(number);
        } else if (name == "--json") {
            request.json = value;
        } else {
            return name + " ?";
        }
    }
    return {};
}

// The closing dimensions to allocate: the one asked for, or every one with a target.
std::vector<int> closingsToAllocate(const Request& request, const Chain& chain, const AnalysisData& data,
                                    std::string& problem) {
    if (request.closing) {
        if (*request.closing > chain.closingCount()) {
            problem = "--closing " + std::to_string(*request.closing) + ": the project has " +
                      std::to_string(chain.closingCount()) + " closing dimension(s)";
        } else if (!data.allocation.targetOf(*request.closing).any()) {
            problem = "closing dimension " + std::to_string(*request.closing) +
                      " has no target (targetPpm or targetCpk in the settings file)";
        } else {
            return {*request.closing};
        }
        return {};
    }
    std::vector<int> closings;
    for (const auto& [k, target] : data.allocation.targets) {
        if (target.any() && k <= chain.closingCount()) closings.push_back(k);
    }
    if (closings.empty()) problem = "no closing dimension has a target (targetPpm or targetCpk in the settings file)";
    return closings;
}

} // namespace

int runBatchAllocation(ProgramState& state, const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& err) {
    if (arguments.size() < 2 || arguments[1] != kAllocateSwitch) {
        return usage(err, std::string(kAllocateSwitch) + " needs the project before it");
    }
    Request request;
    if (const std::string problem = parseOptions(arguments, request); !problem.empty()) return usage(err, problem);
    const std::string& projectPath = arguments.at(0);
    if (request.json && *request.json != "-" && outputIsAnInput(projectPath, *request.json, err)) return kExitRefused;
    BatchPorts ports(state, err);
    AnalysisData data;
    if (!readProjectForAnalysis(state, projectPath, data, err)) return kExitFailed;
    std::string problem;
    const std::vector<int> closings = closingsToAllocate(request, state.chain, data, problem);
    if (closings.empty()) {
        err << "w" << kShortName << ": " << problem << '\n';
        return kExitRefused;
    }

    const std::vector<ClosingSolution> solutions = solveAllClosings(state.chain);
    Allocator allocator(state.chain, data);
    AllocationCheck check(state.chain, data);
    std::vector<Allocation> allocations;
    for (int k : closings) {
        Allocation a = allocator.allocate(solutions[static_cast<std::size_t>(k - 1)], k, request.method);
        check.check(a);
        allocations.push_back(std::move(a));
    }
    // The name goes into JSON, which holds only UTF-8.
    const std::string name = fileNameToUtf8(projectBaseName(projectPath));
    if (request.json && *request.json == "-") {
        out << allocationJson(allocations, name);
    } else {
        writeAllocationReport(allocations, name, out);
        if (request.json && writeFileSafely(*request.json, allocationJson(allocations, name)) != kIoOk) {
            err << *request.json << ": cannot be written\n";
            return kExitFailed;
        }
    }
    writeCalculationWarnings(state, err);
    const bool all = std::all_of(allocations.begin(), allocations.end(), [](const Allocation& a) { return a.reached(); });
    return all ? kExitDone : kExitViolated;
}

} // namespace zam1
