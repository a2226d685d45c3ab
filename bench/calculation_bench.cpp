// A full refresh of the largest chain the program admits: derive the working
// values (with the positions) and calculate all 250 closing dimensions.

#include <benchmark/benchmark.h>

#include <memory>

#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"

namespace {

using namespace zam1;

// Linear: each element hangs on the one before it, the deepest tree there is.
// Bushy: element n hangs on n / 3, some eight levels deep.
enum class Ends { Spread, Near, Random };

std::unique_ptr<Chain> largestChain(bool linear, Ends ends) {
    auto chain = std::make_unique<Chain>();
    for (int n = 1; n <= kMaxElements; ++n) {
        Element& e = chain->element(n);
        e.predecessor = linear ? n - 1 : n / 3;
        e.positive = static_cast<std::uint8_t>(n % 3 != 0);
        e.distance = 1 + (n % 17) * 0.25L;
        e.upperDev = 0.01L * (n % 5);
        e.lowerDev = -0.01L * (n % 7);
    }
    chain->setElementCount(kMaxElements);
    std::uint32_t seed = 2500;
    for (int k = 1; k <= kMaxClosing; ++k) {
        if (ends == Ends::Near) {
            // Ends some twenty elements apart, deep in the chain.
            chain->closing(k).fromElement = kMaxElements - 10 * k;
            chain->closing(k).toElement = kMaxElements - 10 * k + 20;
        } else if (ends == Ends::Random) {
            // Ends anywhere, the same every run.
            seed = seed * 1103515245u + 12345u;
            chain->closing(k).fromElement = static_cast<int>((seed >> 8) % (kMaxElements + 1));
            seed = seed * 1103515245u + 12345u;
            chain->closing(k).toElement = static_cast<int>((seed >> 8) % (kMaxElements + 1));
        } else {
            // Ends spread over the whole table, far apart: the worst case.
            chain->closing(k).fromElement = (k * 7) % 400;
            chain->closing(k).toElement = kMaxElements - (k * 13) % 600;
        }
    }
    chain->setClosingCount(kMaxClosing);
    return chain;
}

// The refresh as the reports and diagrams make it: every closing dimension solved
// into a value of its own, independent ones summed side by side.
void refresh(benchmark::State& state, bool linear, Ends ends) {
    auto chain = largestChain(linear, ends);
    for (auto _ : state) {
        deriveElementValues(*chain);
        long double sum = 0;
        for (const ClosingSolution& s : solveAllClosings(*chain)) {
            if (s.resolved) sum += classicTolerance(s.sums) + statisticalMax(s.sums) + statisticalMin(s.sums);
        }
        benchmark::DoNotOptimize(sum);
    }
}

// The same one closing dimension after the other through the working record.
void refreshOneByOne(benchmark::State& state, bool linear, Ends ends) {
    auto chain = largestChain(linear, ends);
    for (auto _ : state) {
        deriveElementValues(*chain);
        long double sum = 0;
        for (int k = 1; k <= chain->closingCount(); ++k) {
            const ClosingDimension& c = chain->closing(k);
            if (!resolveDistance(*chain, c.fromElement, c.toElement)) continue;
            sum += classicTolerance(chain->result) + statisticalMax(chain->result) + statisticalMin(chain->result);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void BM_RefreshLinearChain(benchmark::State& state) { refresh(state, true, Ends::Spread); }
void BM_RefreshLinearChainRandomEnds(benchmark::State& state) { refresh(state, true, Ends::Random); }
void BM_RefreshLinearChainNearEnds(benchmark::State& state) { refresh(state, true, Ends::Near); }
void BM_RefreshBushyChain(benchmark::State& state) { refresh(state, false, Ends::Spread); }
void BM_RefreshLinearChainOneByOne(benchmark::State& state) { refreshOneByOne(state, true, Ends::Spread); }

BENCHMARK(BM_RefreshLinearChain)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RefreshLinearChainRandomEnds)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RefreshLinearChainNearEnds)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RefreshBushyChain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshLinearChainOneByOne)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
