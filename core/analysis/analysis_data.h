#pragma once
// What the analysis needs beyond the project: the required limits of closing
// dimensions, the distribution of elements, and the run settings. It lives in a
// file beside the project (see sidecar.h), so the project file stays as it is.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "core/analysis/allocation_data.h"
#include "core/analysis/correlation.h"

namespace zam1 {

enum class Distribution {
    Normal,        // ±productionSigma standard deviations over the tolerance zone: the statistical method
    Uniform,       // equally likely anywhere in the tolerance zone
    Triangular,    // symmetric over the tolerance zone, most likely in its middle
    ShiftedNormal, // Normal, its mean moved by a percentage of the tolerance
    Measured,      // from measured sizes: normal with their mean and s, or drawn from the values themselves
};

struct MeasuredSample;

struct ElementDistribution {
    ElementDistribution() = default;
    ElementDistribution(Distribution k, long double shiftPercent = 0, std::shared_ptr<const MeasuredSample> values = {})
        : kind(k), meanShiftPercent(shiftPercent), measured(std::move(values)) {}

    Distribution kind = Distribution::Normal;
    // ShiftedNormal only: the shift of the element's own dimension in percent of
    // its tolerance (upper - lower deviation); positive makes the element longer.
    long double meanShiftPercent = 0;
    // Measured only: the values as read (measured_data.h); shared, never changed.
    std::shared_ptr<const MeasuredSample> measured;
};

// Absolute values of the closing dimension; a missing side is not required.
struct RequiredLimits {
    std::optional<long double> lower;
    std::optional<long double> upper;

    bool any() const { return lower.has_value() || upper.has_value(); }
};

enum class AnalysisMethod { WorstCase, Statistical, MonteCarlo };

inline constexpr std::int64_t kMinSamples = 1;
inline constexpr std::int64_t kMaxSamples = 100'000'000;
inline constexpr std::int64_t kDefaultSamples = 100'000;
// Every seed of 64 bits, on the command line, in the settings file and in the dialog.
inline constexpr std::string_view kSeedRangeText = "a whole number from 0 to 18446744073709551615";
// A mean shift moves the mean at most to the edge of the tolerance zone.
inline constexpr long double kMaxMeanShiftPercent = 50;

struct AnalysisOptions {
    AnalysisMethod method = AnalysisMethod::Statistical; // the method the check judges by
    std::int64_t samples = kDefaultSamples;              // Monte Carlo samples, kMinSamples..kMaxSamples
    std::uint64_t seed = 1;
    unsigned threads = 0; // 0: both cores (at most 2); the numbers do not depend on it
};

// Keyed by element number and closing-dimension number; what is not named keeps
// the defaults (normal distribution, no limits, independent elements).
struct AnalysisData {
    std::map<int, ElementDistribution> elements;
    std::map<int, RequiredLimits> limits;
    // Checked by correlationProblem (the settings file refuses a list that is not sound).
    std::vector<Correlation> correlations;
    AnalysisOptions options;
    AllocationSettings allocation;  // targets and element freedoms for tolerance allocation

    ElementDistribution distributionOf(int element) const {
        const auto it = elements.find(element);
        return it == elements.end() ? ElementDistribution{} : it->second;
    }
    RequiredLimits limitsOf(int closing) const {
        const auto it = limits.find(closing);
        return it == limits.end() ? RequiredLimits{} : it->second;
    }
};

// The names the files and the command line use.
std::string_view distributionName(Distribution kind);
std::optional<Distribution> distributionFromName(std::string_view name);
std::string_view methodName(AnalysisMethod method);
std::optional<AnalysisMethod> methodFromName(std::string_view name);
// Decimal digits only, 0 .. 2^64 - 1; anything else is none.
std::optional<std::uint64_t> seedFromText(std::string_view text);

} // namespace zam1
