#pragma once
// Tolerance allocation: which tolerances of a closing dimension's path to change,
// and to what, so that it reaches its target (a reject rate or a Cpk against its
// required limits, judged by the statistical method with the declared
// distributions and the covariance terms of correlated pairs) at the least cost.
//
// - proportional: one factor on every tolerance that may change, each clamped to
//   its own limits; the loosest factor that meets the target.
// - cost: per element the tolerance where its cost falls as fast as its variance
//   costs under a multiplier (closed form for every cost model), clamped to its
//   limits; elements linked by correlated pairs find theirs together, the least
//   of their costs plus the variance under the multiplier; the smallest
//   multiplier that meets the target. Never costs more than proportional within
//   the same limits: where it would, proportional's is given.
// - iso: an element with an ISO code chooses among the grades IT5..IT16 of its
//   deviation letter, one whose deviations equal an ISO 2768-1 class at its size
//   among the four classes; the others stay as they are. Exact enumeration when
//   there are fewer than 10^6 combinations, otherwise greedy by cost per variance
//   saved, then a pass that loosens and exchanges grades while the target holds.
//
// A tolerance scaled by a factor keeps its place: upper and lower deviation are
// scaled about the nominal alike, so an asymmetric element keeps the shift of its
// midpoint in proportion. An element without tolerance stays as it is.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis/analysis_data.h"

namespace zam1 {

class Chain;
struct ClosingSolution;

enum class AllocationMethod { Proportional, Cost, Iso };

std::string_view allocationMethodName(AllocationMethod method);
std::optional<AllocationMethod> allocationMethodFromName(std::string_view name);

// The deviations of one element (mm) and, where it has one, its ISO 286 code
// ("h9", letters and grade) or its ISO 2768-1 class ("f", "m", "c", "v").
struct ToleranceState {
    long double upper = 0;
    long double lower = 0;
    std::string iso;
    std::string generalClass;

    long double tolerance() const { return upper - lower; }
};

struct AllocatedElement {
    int element = 0;
    int sensitivity = 1;
    bool fixed = false;    // named fixed, or without tolerance: never changed
    bool atLimit = false;  // at its tightest tolerance (its minimum or its finest grade)
    ToleranceState before;
    ToleranceState after;
    std::optional<long double> costBefore;  // none for fixed elements and where infinite
    std::optional<long double> costAfter;
};

// Statistical figures of the closing dimension; ppm only against a required limit.
struct AllocationFigures {
    long double mean = 0;
    long double sigma = 0;
    long double ppmBelow = 0;
    long double ppmAbove = 0;
    std::optional<long double> cpk;
};

// Whether figures reach a target. The search asks for a relative `margin` inside
// it, so that a fresh analysis, summing in its own order, agrees.
bool meetsTarget(const AllocationTarget& target, const AllocationFigures& figures, long double margin = 0);
inline constexpr long double kAllocationMargin = 1e-9L;

struct Allocation {
    int closing = 0;
    std::string text;  // UTF-8, the closing dimension's
    int fromElement = 0;
    int toElement = 0;
    AllocationMethod method = AllocationMethod::Cost;
    AllocationTarget target;
    RequiredLimits limits;
    std::string problem;  // UTF-8: why nothing was allocated (structure error, no target, sigma 0)
    bool feasible = false;
    bool proportionalKept = false;  // cost: proportional's tolerances were cheaper
    AllocationFigures before;       // the optimiser's own figures
    AllocationFigures predicted;
    // Sums over the elements that are not fixed; infinite where a tolerance went to 0.
    long double costBefore = 0;
    long double cost = 0;
    long double proportionalCost = 0;
    std::vector<AllocatedElement> elements;  // every element on the path, by number
    // What a fresh analysis of the chain with the proposed deviations gives
    // (allocation_check.h); none until checked.
    std::optional<AllocationFigures> achieved;

    // Proposed, met by the optimiser's figures and, once checked, by the fresh analysis.
    bool reached() const { return problem.empty() && feasible && (!achieved || meetsTarget(target, *achieved)); }
};

// Allocates closing dimensions of one chain (working values current) with the
// targets, freedoms and distributions of `data`, which must outlive it. It keeps
// each element's grades once found, so that many closing dimensions share them.
class Allocator {
public:
    Allocator(const Chain& chain, const AnalysisData& data);
    ~Allocator();
    Allocator(const Allocator&) = delete;
    Allocator& operator=(const Allocator&) = delete;

    // Closing dimension `closing` on its resolved path `solution`.
    Allocation allocate(const ClosingSolution& solution, int closing, AllocationMethod method);

    struct Grades;

private:
    const Grades& gradesOf(int element);

    const Chain& m_chain;
    const AnalysisData& m_data;
    std::vector<std::unique_ptr<Grades>> m_grades;  // by element number, found when first asked
};

// One closing dimension alone.
Allocation allocateClosing(const Chain& chain, const ClosingSolution& solution, int closing, const AnalysisData& data,
                           AllocationMethod method);

// Writes the proposed deviations into the chain: an element that keeps an ISO
// code gets its new grade, one scaled off its grade loses the code. The working
// values are left to the caller (deriveElementValues).
void applyAllocation(Chain& chain, const Allocation& allocation);

} // namespace zam1
