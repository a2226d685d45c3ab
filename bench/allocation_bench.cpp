// Tolerance allocation: the cost method on a 20-element chain (5 closing
// dimensions, each proposal checked by a fresh analysis), and the whole command
// line "--allocate --method iso" on the largest project (2500 elements with ISO
// codes, 250 closing dimensions with a target each); each also with correlated
// pairs (the 20-element chain with five, the largest project with one in ten
// elements paired with the next).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

#include "core/analysis/allocation.h"
#include "core/analysis/allocation_check.h"
#include "core/analysis/sidecar.h"
#include "core/app/command_line.h"
#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/file_io.h"
#include "core/records/documentation.h"
#include "core/session/program_state.h"
#include "core/standards/iso286.h"

namespace {

using namespace zam1;

// A linear chain of `elements` with mixed directions, every element an ISO
// code (h, H, js, g, k; shaft and hole letters balanced, so that the mean stays
// near the limits' middle) of grades 6..10 at 2..8 mm, one in three uniform;
// closing dimensions between ends drawn at random (the same every run), each
// with limits ±0.8 about its mean and a Cpk of 1 to reach.
std::unique_ptr<Chain> chainOf(int elements, int closings, AnalysisData& data) {
    auto chain = std::make_unique<Chain>();
    const char* letters[] = {"h", "js", "H", "k", "js", "h", "H", "g"};
    for (int n = 1; n <= elements; ++n) {
        Element& e = chain->element(n);
        e.predecessor = n - 1;
        e.positive = static_cast<std::uint8_t>(n % 3 != 0);
        e.distance = 2 + (n % 13) * 0.5L;
        std::string code = letters[n % 8];
        IsoStepPositions positions;
        const auto r = IsoDeviations(code, 6 + n % 5, e.distance, positions);
        e.isoLetters = code;
        e.isoGrade = static_cast<std::uint8_t>(6 + n % 5);
        e.upperDev = r->upperUm / 1000;
        e.lowerDev = r->lowerUm / 1000;
        if (n % 3 == 0) data.elements[n] = {Distribution::Uniform, 0};
    }
    chain->setElementCount(elements);
    std::uint32_t seed = 20;
    for (int k = 1; k <= closings; ++k) {
        seed = seed * 1103515245u + 12345u;
        chain->closing(k).fromElement = static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(elements / 2));
        seed = seed * 1103515245u + 12345u;
        chain->closing(k).toElement = elements / 2 + 1 + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(elements / 2));
    }
    chain->setClosingCount(closings);
    deriveElementValues(*chain);
    const std::vector<ClosingSolution> solutions = solveAllClosings(*chain);
    for (int k = 1; k <= closings; ++k) {
        const long double mean = solutions[static_cast<std::size_t>(k - 1)].sums.closingMean;
        data.limits[k] = {mean - 0.8L, mean + 0.8L};
        data.allocation.targets[k] = {std::nullopt, 1.0L};
    }
    return chain;
}

// Five pairs on the 20-element chain, as the Monte Carlo benchmark has them.
void correlate20(AnalysisData& data) {
    data.correlations = {{3, 4, 0.8L}, {4, 7, 0.5L}, {9, 12, 0.9L}, {10, 11, -0.6L}, {15, 18, 0.7L}};
}

// Element 10 k + 1 with 10 k + 2, r 0.7 and -0.5 by turns.
void correlateLargest(AnalysisData& data) {
    for (int n = 1; n + 1 <= kMaxElements; n += 10) data.correlations.push_back({n, n + 1, (n / 10) % 2 == 0 ? 0.7L : -0.5L});
}

void allocateCost20Elements(benchmark::State& state, bool correlated) {
    AnalysisData data;
    auto chain = chainOf(20, 5, data);
    if (correlated) correlate20(data);
    for (int k = 1; k <= 5; ++k) data.limits[k] = {data.limits[k].lower.value() + 0.77L, data.limits[k].upper.value() - 0.77L};
    const std::vector<ClosingSolution> solutions = solveAllClosings(*chain);
    for (auto _ : state) {
        Allocator allocator(*chain, data);
        AllocationCheck check(*chain, data);
        for (int k = 1; k <= 5; ++k) {
            Allocation a = allocator.allocate(solutions[static_cast<std::size_t>(k - 1)], k, AllocationMethod::Cost);
            check.check(a);
            benchmark::DoNotOptimize(a.cost);
        }
    }
}

void BM_AllocateCost20Elements(benchmark::State& state) { allocateCost20Elements(state, false); }
void BM_AllocateCost20ElementsCorrelated(benchmark::State& state) { allocateCost20Elements(state, true); }

void allocateIsoLargestProject(benchmark::State& state, bool correlated) {
    AnalysisData data;
    auto chain = chainOf(kMaxElements, kMaxClosing, data);
    if (correlated) correlateLargest(data);
    const auto folder = std::filesystem::temp_directory_path() / ("zam1-allocation-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string project = (folder / "largest.zm1").string();
    writeFileSafely(project, projectFileText(*chain, ProjectTexts{}, Documentation{}, {{6, false}, "bench"}));
    writeSidecar(sidecarPath(project), data);
    auto program = std::make_unique<ProgramState>();
    int exitCode = 0;
    for (auto _ : state) {
        // The report as a user gets it in a file; /dev/null keeps the disk out of the figure.
        std::ofstream out("/dev/null");
        std::ostringstream err;
        exitCode = runCommandLine(*program, {project, "--allocate", "--method", "iso"}, out, err).exitCode;
        benchmark::DoNotOptimize(exitCode);
    }
    state.counters["exit"] = exitCode;
    // How many of the 250 targets were reached, counted once outside the timing.
    std::ostringstream report;
    std::ostringstream err;
    runCommandLine(*program, {project, "--allocate", "--method", "iso"}, report, err);
    const std::string text = report.str();
    int reached = 0;
    for (std::size_t at = 0; (at = text.find("  reached\n", at)) != std::string::npos; ++at) ++reached;
    state.counters["reached"] = reached;
    std::filesystem::remove_all(folder);
}

void BM_AllocateIsoLargestProject(benchmark::State& state) { allocateIsoLargestProject(state, false); }
void BM_AllocateIsoLargestProjectCorrelated(benchmark::State& state) { allocateIsoLargestProject(state, true); }

BENCHMARK(BM_AllocateCost20Elements)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AllocateCost20ElementsCorrelated)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AllocateIsoLargestProject)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_AllocateIsoLargestProjectCorrelated)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
