#pragma once
// What tolerance allocation needs beyond the analysis settings: a target per
// closing dimension and, per element, whether it may change, within which
// tolerances, and what a tolerance costs. Read from the same settings file as
// the limits (sidecar.h); what is not named keeps the defaults.

#include <map>
#include <optional>
#include <string_view>

namespace zam1 {

// The cost of making an element to tolerance t (upper - lower deviation, mm):
// reciprocal a + b/t, reciprocalSquared a + b/t², exponential a + b·e^(−t/τ).
enum class CostModel { Reciprocal, ReciprocalSquared, Exponential };

struct ElementCost {
    CostModel model = CostModel::Reciprocal;
    long double a = 0;
    long double b = 1;
    long double tau = 1;  // exponential only, mm
};

struct ElementFreedom {
    bool fixed = false;  // bought parts: bearings, rings
    std::optional<long double> minTolerance;  // mm
    std::optional<long double> maxTolerance;
    ElementCost cost;
};

// Either a reject rate (ppm below plus above the required limits) or a Cpk the
// closing dimension must reach, judged by the statistical method.
struct AllocationTarget {
    std::optional<long double> ppm;
    std::optional<long double> cpk;

    bool any() const { return ppm.has_value() || cpk.has_value(); }
};

struct AllocationSettings {
    std::map<int, ElementFreedom> elements;
    std::map<int, AllocationTarget> targets;

    ElementFreedom freedomOf(int element) const {
        const auto it = elements.find(element);
        return it == elements.end() ? ElementFreedom{} : it->second;
    }
    AllocationTarget targetOf(int closing) const {
        const auto it = targets.find(closing);
        return it == targets.end() ? AllocationTarget{} : it->second;
    }
};

std::string_view costModelName(CostModel model);
std::optional<CostModel> costModelFromName(std::string_view name);

// The cost of tolerance t under `cost`; infinite for t <= 0 under the reciprocal models.
long double toleranceCost(const ElementCost& cost, long double t);

} // namespace zam1
