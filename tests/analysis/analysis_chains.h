#pragma once
// Small chains with closing dimensions for the analysis tests.

#include <initializer_list>
#include <utility>
#include <vector>

#include "core/analysis/monte_carlo.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "tests/model/chain_builder.h"

namespace zam1::test {

// The elements, then the closing dimensions as (from, to) pairs; working values derived.
inline void build(Chain& chain, std::initializer_list<E> elements, std::initializer_list<std::pair<int, int>> closings) {
    fill(chain, elements);
    chain.setClosingCount(static_cast<int>(closings.size()));
    int k = 0;
    for (const auto& [from, to] : closings) chain.closing(++k) = {from, to, "", ""};
    deriveElementValues(chain);
}

inline std::vector<SampleSummary> simulate(Chain& chain, const AnalysisData& data, AnalysisOptions options) {
    return simulateClosings(chain, solveAllClosings(chain), data, options);
}

inline AnalysisOptions samples(std::int64_t n, std::uint64_t seed = 1, unsigned threads = 0) {
    AnalysisOptions o;
    o.samples = n;
    o.seed = seed;
    o.threads = threads;
    return o;
}

} // namespace zam1::test
