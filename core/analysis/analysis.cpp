#include "core/analysis/analysis.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/normal.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

std::vector<Contribution> contributions(const Chain& chain, const ClosingSolution& s, const AnalysisData& data) {
    std::vector<Contribution> out;
    const auto add = [&](std::int32_t n, int side) {
        const Element& e = chain.element(n);
        Contribution c;
        c.element = n;
        c.sensitivity = e.positive != 0 ? side : -side;
        c.tolerance = e.upperDev - e.lowerDev;
        c.distribution = data.distributionOf(n).kind;
        c.sharePercent = s.sums.closingVariance > 0 ? e.halfRangeSquared / s.sums.closingVariance * 100 : 0;
        out.push_back(c);
    };
    for (std::int32_t n : s.pathFrom) add(n, -1);
    for (std::int32_t n : s.pathTo) add(n, +1);
    std::stable_sort(out.begin(), out.end(), [](const Contribution& a, const Contribution& b) {
        return a.sharePercent != b.sharePercent ? a.sharePercent > b.sharePercent : a.element < b.element;
    });
    return out;
}

bool beyond(const RequiredLimits& limits, long double low, long double high) {
    return (limits.lower && low < *limits.lower) || (limits.upper && high > *limits.upper);
}

void worstCase(ClosingAnalysis& a) {
    if (a.limits.lower) a.worstBelow = worstCaseBelow(a.worstMin, a.worstMax, *a.limits.lower);
    if (a.limits.upper) a.worstAbove = worstCaseAbove(a.worstMin, a.worstMax, *a.limits.upper);
    a.failsWorstCase = a.worstBelow != WorstCaseSide::Holds || a.worstAbove != WorstCaseSide::Holds;
}

// Tail probabilities of the normal distribution with mean closingMean and s;
// with s = 0 every part has the mean.
void statistical(ClosingAnalysis& a) {
    const RequiredLimits& l = a.limits;
    if (a.sigma > 0) {
        if (l.lower) a.ppmBelow = normalPpmAbove((a.mean - *l.lower) / a.sigma);
        if (l.upper) a.ppmAbove = normalPpmAbove((*l.upper - a.mean) / a.sigma);
    } else {
        if (l.lower && a.mean < *l.lower) a.ppmBelow = kAllPpm;
        if (l.upper && a.mean > *l.upper) a.ppmAbove = kAllPpm;
    }
    a.statCapability = capability(l, a.mean, a.sigma);
    a.failsStatistical = beyond(l, a.mean - a.statDev, a.mean + a.statDev);
}

void monteCarlo(ClosingAnalysis& a) {
    const SampleSummary& m = a.monteCarlo;
    a.mcCapability = capability(a.limits, m.mean, m.stdDev);
    a.failsMonteCarlo = beyond(a.limits, m.p00135, m.p99865);
}

ClosingAnalysis analyseClosing(const Chain& chain, int k, const ClosingSolution& s, const AnalysisData& data,
                               long double productionSigma, bool stat) {
    ClosingAnalysis a;
    const ClosingDimension& c = chain.closing(k);
    a.number = k;
    a.fromElement = s.fromElement;
    a.toElement = s.toElement;
    a.text = oemToUtf8(c.text.view());
    a.limits = data.limitsOf(k);
    a.resolved = s.resolved;
    if (!s.resolved) {
        a.structureError = oemToUtf8(s.structureError.view());
        a.fails = a.limits.any();  // a closing dimension that cannot be calculated holds nothing
        a.failsWorstCase = a.failsStatistical = a.failsMonteCarlo = a.fails;
        return a;
    }
    a.nominal = s.sums.closingNominal;
    a.worstMin = s.sums.closingMin;
    a.worstMax = s.sums.closingMax;
    a.mean = s.sums.closingMean;
    a.statDev = s.sums.closingStatDev;
    if (stat) a.sigma = a.statDev / productionSigma;
    worstCase(a);
    if (stat) statistical(a);
    a.contributions = contributions(chain, s, data);
    return a;
}

} // namespace

WorstCaseSide worstCaseBelow(long double min, long double max, long double lower) {
    if (min >= lower) return WorstCaseSide::Holds;
    return max < lower ? WorstCaseSide::All : WorstCaseSide::Partly;
}

WorstCaseSide worstCaseAbove(long double min, long double max, long double upper) {
    if (max <= upper) return WorstCaseSide::Holds;
    return min > upper ? WorstCaseSide::All : WorstCaseSide::Partly;
}

std::optional<long double> worstCasePpm(WorstCaseSide side) {
    switch (side) {
    case WorstCaseSide::Holds: return 0.0L;
    case WorstCaseSide::All: return kAllPpm;
    case WorstCaseSide::Partly: break;
    }
    return std::nullopt;
}

Capability capability(const RequiredLimits& limits, long double mean, long double sigma) {
    Capability c;
    if (!(sigma > 0)) return c;
    if (limits.lower && limits.upper) c.cp = (*limits.upper - *limits.lower) / (6 * sigma);
    std::optional<long double> nearest;
    if (limits.upper) nearest = *limits.upper - mean;
    if (limits.lower) nearest = std::min(nearest.value_or(mean - *limits.lower), mean - *limits.lower);
    if (nearest) c.cpk = *nearest / (3 * sigma);
    return c;
}

bool AnalysisResult::allHold() const {
    return std::none_of(closings.begin(), closings.end(), [](const ClosingAnalysis& c) { return c.fails; });
}

AnalysisResult analyseChain(Chain& chain, const AnalysisData& data, const AnalysisOptions& options) {
    AnalysisResult result;
    result.options = options;
    result.productionSigma = chain.productionSigma;
    result.statistical = chain.productionSigma > 0;
    const std::vector<ClosingSolution> solutions = solveAllClosings(chain);
    std::vector<SampleSummary> samples;
    if (result.statistical) samples = simulateClosings(chain, solutions, data, options);
    for (std::size_t k = 0; k < solutions.size(); ++k) {
        ClosingAnalysis a =
            analyseClosing(chain, static_cast<int>(k) + 1, solutions[k], data, chain.productionSigma, result.statistical);
        if (a.resolved) {
            if (result.statistical) {
                a.monteCarlo = samples[k];
                monteCarlo(a);
            } else {
                // Without sigma neither method can judge: a required limit is not shown to hold.
                a.failsStatistical = a.failsMonteCarlo = a.limits.any();
            }
            a.fails = options.method == AnalysisMethod::WorstCase     ? a.failsWorstCase
                      : options.method == AnalysisMethod::Statistical ? a.failsStatistical
                                                                      : a.failsMonteCarlo;
        }
        result.closings.push_back(std::move(a));
    }
    return result;
}

} // namespace zam1
