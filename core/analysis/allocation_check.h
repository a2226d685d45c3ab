#pragma once
// The proof of a proposal: the chain with the proposed deviations, analysed
// afresh by the analysis itself, never the optimiser's own estimate alone.

#include <memory>

#include "core/analysis/allocation.h"

namespace zam1 {

class Chain;

class AllocationCheck {
public:
    // Keeps a working copy of `chain`; `chain` and `data` must outlive the check.
    AllocationCheck(const Chain& chain, const AnalysisData& data);
    ~AllocationCheck();
    AllocationCheck(const AllocationCheck&) = delete;
    AllocationCheck& operator=(const AllocationCheck&) = delete;

    // The statistical figures of the allocation's closing dimension in the copy
    // with its deviations; the copy is put back afterwards. Sets allocation.achieved.
    void check(Allocation& allocation);

private:
    const Chain& m_chain;
    const AnalysisData& m_data;
    std::unique_ptr<Chain> m_copy;
};

} // namespace zam1
