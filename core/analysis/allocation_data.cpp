#include "core/analysis/allocation_data.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace zam1 {
namespace {

constexpr std::array<std::pair<CostModel, std::string_view>, 3> kCostModels = {{
    {CostModel::Reciprocal, "reciprocal"},
    {CostModel::ReciprocalSquared, "reciprocalSquared"},
    {CostModel::Exponential, "exponential"},
}};

} // namespace

std::string_view costModelName(CostModel model) {
    for (const auto& [m, name] : kCostModels) {
        if (m == model) return name;
    }
    return {};
}

std::optional<CostModel> costModelFromName(std::string_view name) {
    for (const auto& [m, n] : kCostModels) {
        if (n == name) return m;
    }
    return std::nullopt;
}

long double toleranceCost(const ElementCost& cost, long double t) {
    switch (cost.model) {
    case CostModel::Reciprocal:
        return t > 0 ? cost.a + cost.b / t : std::numeric_limits<long double>::infinity();
    case CostModel::ReciprocalSquared:
        return t > 0 ? cost.a + cost.b / (t * t) : std::numeric_limits<long double>::infinity();
    case CostModel::Exponential: return cost.a + cost.b * std::exp(-t / cost.tau);
    }
    return 0;
}

} // namespace zam1
