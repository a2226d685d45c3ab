#include "core/analysis/allocation_check.h"

#include <limits>

#include "core/analysis/analysis.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"

namespace zam1 {

AllocationCheck::AllocationCheck(const Chain& chain, const AnalysisData& data)
    : m_chain(chain), m_data(data), m_copy(std::make_unique<Chain>(chain)) {
    // One closing dimension at a time: the proposals of different closing
    // dimensions change the same elements differently.
    m_copy->setClosingCount(1);
}

AllocationCheck::~AllocationCheck() = default;

void AllocationCheck::check(Allocation& allocation) {
    if (!allocation.problem.empty()) return;
    Chain& copy = *m_copy;
    copy.closing(1) = m_chain.closing(allocation.closing);
    applyAllocation(copy, allocation);
    deriveElementValues(copy);
    AnalysisData data;
    data.elements = m_data.elements;
    data.correlations = m_data.correlations;
    data.limits[1] = allocation.limits;
    // The statistical method judges the target; Monte Carlo is not needed for it.
    AnalysisOptions options;
    options.method = AnalysisMethod::Statistical;
    options.samples = kMinSamples;
    options.threads = 1;
    const AnalysisResult result = analyseChain(copy, data, options);
    const ClosingAnalysis& c = result.closings.front();
    AllocationFigures f;
    f.mean = c.mean;
    f.sigma = c.sigma;
    f.ppmBelow = c.ppmBelow;
    f.ppmAbove = c.ppmAbove;
    f.cpk = c.statCapability.cpk;
    // Without spread the capability is unbounded where the mean lies within the limits.
    if (!f.cpk && !(f.sigma > 0) && allocation.limits.any()) {
        const long double unbounded = std::numeric_limits<long double>::infinity();
        f.cpk = f.ppmBelow + f.ppmAbove == 0 ? unbounded : -unbounded;
    }
    allocation.achieved = f;
    for (const AllocatedElement& e : allocation.elements) {
        const Element& original = m_chain.element(e.element);
        Element& el = copy.element(e.element);
        el.upperDev = original.upperDev;
        el.lowerDev = original.lowerDev;
        el.isoLetters = original.isoLetters;
        el.isoGrade = original.isoGrade;
    }
}

} // namespace zam1
