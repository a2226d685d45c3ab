// A full refresh of the largest chain the program admits: derive the working
// values (with the positions) and calculate all 250 closing dimensions.

#include <benchmark/benchmark.h>

#include <memory>

#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"

namespace {

using namespace zam1;

// Linear: each element hangs on the one before it, the deepest tree there is.
// Bushy: element n hangs on n / 3, some eight levels deep.
std::unique_ptr<Chain> largestChain(bool linear, bool nearEnds) {
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
    for (int k = 1; k <= kMaxClosing; ++k) {
        if (nearEnds) {
            // Ends some twenty elements apart, deep in the chain.
            chain->closing(k).fromElement = kMaxElements - 10 * k;
            chain->closing(k).toElement = kMaxElements - 10 * k + 20;
        } else {
            // Ends spread over the whole table, far apart: the worst case.
            chain->closing(k).fromElement = (k * 7) % 400;
            chain->closing(k).toElement = kMaxElements - (k * 13) % 600;
        }
    }
    chain->setClosingCount(kMaxClosing);
    return chain;
}

void refresh(benchmark::State& state, bool linear, bool nearEnds = false) {
    auto chain = largestChain(linear, nearEnds);
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

void BM_RefreshLinearChain(benchmark::State& state) { refresh(state, true); }
void BM_RefreshLinearChainNearEnds(benchmark::State& state) { refresh(state, true, true); }
void BM_RefreshBushyChain(benchmark::State& state) { refresh(state, false); }

BENCHMARK(BM_RefreshLinearChain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshLinearChainNearEnds)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefreshBushyChain)->Unit(benchmark::kMicrosecond);

} // namespace
