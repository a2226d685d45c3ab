#pragma once
// The closing dimension as allocation sees it: each element on the path with
// what its tolerance adds to the mean and the variance of the closing dimension,
// the correlated pairs among them, and the figures of a set of tolerances.
// Shared by the continuous methods (allocation.cpp) and the search over grades
// (allocation_grades.cpp).

#include <limits>
#include <vector>

#include "core/analysis/allocation.h"
#include "core/analysis/path_covariance.h"
#include "core/model/records.h"

namespace zam1::allocation {

inline constexpr long double kInfinite = std::numeric_limits<long double>::infinity();

struct Item {
    int element = 0;
    int sensitivity = 1;
    long double varianceFactor = 0;  // variance = factor · t², as the analysis takes it
    long double shiftFraction = 0;   // shiftedNormal: the mean moves by this fraction of t
    long double midpointRatio = 0;   // (upper + lower) / 2 / t of the element as it is
    bool fixed = false;
    // Measured values stand for the element (always fixed): their mean less the
    // nominal, and their variance, whatever its tolerance.
    bool measured = false;
    long double measuredOffset = 0;
    long double measuredVariance = 0;
    long double minTolerance = 0;
    long double maxTolerance = kInfinite;
    ElementCost cost;
    ToleranceState before;
    // iso only: the choices, tightest first; none when the element has none.
    const std::vector<ToleranceState>* grades = nullptr;

    bool hasGrades() const { return grades != nullptr && !grades->empty(); }
};

struct Model {
    std::vector<Item> items;
    long double nominal = 0;  // the closing dimension's
    // What the fixed elements add, as they are.
    long double fixedMean = 0;
    long double fixedVariance = 0;
    // The correlated pairs on the path with r other than 0, by position in items:
    // their covariance terms join the variance as the analysis adds them.
    std::vector<PathPair> pairs;
    RequiredLimits limits;
    AllocationTarget target;

    // What one element adds to the mean of the closing dimension and to its variance.
    long double meanPart(const Item& item, const ToleranceState& s) const {
        if (item.measured) return item.sensitivity * item.measuredOffset;
        const long double t = s.tolerance();
        return item.sensitivity * ((s.upper + s.lower) / 2 + item.shiftFraction * t);
    }
    long double variancePart(const Item& item, const ToleranceState& s) const {
        if (item.measured) return item.measuredVariance;
        const long double t = s.tolerance();
        return item.varianceFactor * t * t;
    }

    // `independent` (the sum of the elements' variances) with the covariance
    // terms of the pairs, `variances` by position in items.
    long double withCovariance(long double independent, const std::vector<long double>& variances) const {
        if (pairs.empty()) return independent;
        return withCovarianceTerms(independent, covarianceTerms(pairs, variances));
    }
    // The same with the covariance terms summed already.
    long double withCovarianceTerms(long double independent, long double covariance) const {
        if (pairs.empty()) return independent;
        return uncancelled(independent + covariance, independent);
    }

    AllocationFigures figures(long double mean, long double variance) const;
    AllocationFigures figuresOf(const std::vector<ToleranceState>& states) const;
    bool meets(const AllocationFigures& f) const { return meetsTarget(target, f, kAllocationMargin); }
    // Lower is better: the reject rate, or minus the Cpk.
    long double shortfall(const AllocationFigures& f) const;
    long double costOf(const std::vector<ToleranceState>& states) const;
};

// The element scaled to tolerance t about its nominal, its midpoint kept in proportion.
ToleranceState scaled(const Item& item, long double t);

struct Outcome {
    bool feasible = false;
    std::vector<ToleranceState> states;
    AllocationFigures figures;
    long double cost = 0;
};

// The cheapest grades that meet the target (iso).
Outcome searchGrades(const Model& model);

// The grades an element may take: IT5..IT16 of its letters, or the ISO 2768-1
// classes when its deviations are one of them; within its limits, tightest first.
std::vector<ToleranceState> gradesOf(const Element& element, long double minTolerance, long double maxTolerance);

// "f", "m", "c" or "v" when the element, without an ISO code, has exactly the
// deviations of that ISO 2768-1 class at its size; empty otherwise.
std::string generalClassOf(const Element& element);

} // namespace zam1::allocation
