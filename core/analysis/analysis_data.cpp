#include "core/analysis/analysis_data.h"

#include <array>
#include <charconv>
#include <utility>

namespace zam1 {
namespace {

constexpr std::array<std::pair<Distribution, std::string_view>, 5> kDistributions = {{
    {Distribution::Normal, "normal"},
    {Distribution::Uniform, "uniform"},
    {Distribution::Triangular, "triangular"},
    {Distribution::ShiftedNormal, "shiftedNormal"},
    {Distribution::Measured, "measured"},
}};

constexpr std::array<std::pair<AnalysisMethod, std::string_view>, 3> kMethods = {{
    {AnalysisMethod::WorstCase, "wc"},
    {AnalysisMethod::Statistical, "rss"},
    {AnalysisMethod::MonteCarlo, "mc"},
}};

template <typename Table, typename Value>
std::string_view nameIn(const Table& table, Value value) {
    for (const auto& [v, name] : table) {
        if (v == value) return name;
    }
    return {};
}

template <typename Value, typename Table>
std::optional<Value> valueIn(const Table& table, std::string_view name) {
    for (const auto& [v, n] : table) {
        if (n == name) return v;
    }
    return std::nullopt;
}

} // namespace

std::string_view distributionName(Distribution kind) { return nameIn(kDistributions, kind); }
std::optional<Distribution> distributionFromName(std::string_view name) {
    return valueIn<Distribution>(kDistributions, name);
}
std::string_view methodName(AnalysisMethod method) { return nameIn(kMethods, method); }
std::optional<AnalysisMethod> methodFromName(std::string_view name) { return valueIn<AnalysisMethod>(kMethods, name); }

std::optional<std::uint64_t> seedFromText(std::string_view text) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    std::uint64_t value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace zam1
