// Monte Carlo of whole projects on both cores: a 20-element chain with a
// million samples, and the largest project with 100,000. The 20-element chain
// also without the analysis around the samples (intervals, capability,
// sensitivities): the difference is what those add; and with five correlated
// pairs (normal, uniform and shifted elements, one group of three).

#include <benchmark/benchmark.h>

#include <memory>

#include "core/analysis/analysis.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"

namespace {

using namespace zam1;

// A linear chain of `elements` with mixed directions and tolerances, one element
// in three uniform, one in five shifted; closing dimensions between ends drawn
// at random (the same every run).
std::unique_ptr<Chain> chainOf(int elements, int closings, AnalysisData& data) {
    auto chain = std::make_unique<Chain>();
    for (int n = 1; n <= elements; ++n) {
        Element& e = chain->element(n);
        e.predecessor = n - 1;
        e.positive = static_cast<std::uint8_t>(n % 4 != 0);
        e.distance = 2 + (n % 13) * 0.5L;
        e.upperDev = 0.01L * (1 + n % 5);
        e.lowerDev = -0.01L * (n % 3);
        if (n % 3 == 0) data.elements[n] = {Distribution::Uniform, 0};
        if (n % 5 == 0) data.elements[n] = {Distribution::ShiftedNormal, 10};
    }
    chain->setElementCount(elements);
    std::uint32_t seed = 20;
    for (int k = 1; k <= closings; ++k) {
        seed = seed * 1103515245u + 12345u;
        chain->closing(k).fromElement = static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(elements / 2));
        seed = seed * 1103515245u + 12345u;
        chain->closing(k).toElement = elements / 2 + 1 + static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(elements / 2));
        data.limits[k] = {-1000.0L, 1000.0L};
    }
    chain->setClosingCount(closings);
    deriveElementValues(*chain);
    return chain;
}

void analyse(benchmark::State& state, int elements, int closings, std::int64_t samples) {
    AnalysisData data;
    auto chain = chainOf(elements, closings, data);
    AnalysisOptions options;
    options.samples = samples;
    options.method = AnalysisMethod::MonteCarlo;
    for (auto _ : state) {
        const AnalysisResult r = analyseChain(*chain, data, options);
        benchmark::DoNotOptimize(r.closings.back().monteCarlo.mean);
    }
    state.counters["samples/s"] =
        benchmark::Counter(static_cast<double>(samples), benchmark::Counter::kIsIterationInvariantRate);
}

// The samples and their sums alone (with the Monte Carlo shares), no verdict.
void BM_MonteCarlo20Elements1MSamplesOnly(benchmark::State& state) {
    AnalysisData data;
    auto chain = chainOf(20, 5, data);
    AnalysisOptions options;
    options.samples = 1'000'000;
    for (auto _ : state) {
        const std::vector<SampleSummary> m = simulateClosings(*chain, solveAllClosings(*chain), data, options);
        benchmark::DoNotOptimize(m.back().mean);
    }
}

void BM_MonteCarlo20Elements1M(benchmark::State& state) { analyse(state, 20, 5, 1'000'000); }

// Of the paired elements 3, 9, 12 and 18 are uniform, 10 and 15 shifted, 4, 7 and 11 normal.
void BM_MonteCarlo20Elements1MCorrelated(benchmark::State& state) {
    AnalysisData data;
    auto chain = chainOf(20, 5, data);
    data.correlations = {{3, 4, 0.8L}, {4, 7, 0.5L}, {9, 12, 0.9L}, {10, 11, -0.6L}, {15, 18, 0.7L}};
    AnalysisOptions options;
    options.samples = 1'000'000;
    options.method = AnalysisMethod::MonteCarlo;
    for (auto _ : state) {
        const AnalysisResult r = analyseChain(*chain, data, options);
        benchmark::DoNotOptimize(r.closings.back().monteCarlo.mean);
    }
    state.counters["samples/s"] =
        benchmark::Counter(1e6, benchmark::Counter::kIsIterationInvariantRate);
}
void BM_MonteCarloLargestProject100k(benchmark::State& state) { analyse(state, kMaxElements, kMaxClosing, 100'000); }

BENCHMARK(BM_MonteCarlo20Elements1M)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_MonteCarlo20Elements1MCorrelated)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_MonteCarlo20Elements1MSamplesOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_MonteCarloLargestProject100k)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
