#include "core/analysis/analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/analysis/measured_data.h"
#include "core/analysis/normal.h"
#include "core/analysis/path_covariance.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// The variance of an element's deviation under its distribution; h² the square
// of half its tolerance.
long double declaredVariance(Distribution kind, long double halfSquared, long double productionSigma) {
    switch (kind) {
    case Distribution::Uniform: return halfSquared / 3;
    case Distribution::Triangular: return halfSquared / 6;
    case Distribution::Normal:
    case Distribution::ShiftedNormal:
    case Distribution::Measured: break;  // measured: replaced by the sample's variance
    }
    return halfSquared / (productionSigma * productionSigma);
}

// The middle of the element's tolerance zone as an absolute size.
long double zoneMiddle(const Element& e) { return e.distance + (e.upperDev + e.lowerDev) / 2; }

// The correlated pairs on the path: each pair's covariance term 2 r a_i a_j s_i
// s_j (a the sensitivity) goes half to each of its elements, so that an
// element's share is its covariance with the closing dimension over that
// dimension's variance: the figure the Monte Carlo share estimates, and the
// shares still add up to 100 %. `weight` is the variance the shares split.
void addCovariances(std::vector<Contribution>& out, const std::vector<Correlation>& pairs, bool stat,
                    std::vector<long double>& weight, std::vector<Correlation>& onPath) {
    std::vector<int> elements;
    std::vector<int> sensitivities;
    for (const Contribution& c : out) {
        elements.push_back(c.element);
        sensitivities.push_back(c.sensitivity);
    }
    std::vector<long double> together(weight);
    for (const PathPair& p : pathPairs(pairs, elements, sensitivities)) {
        onPath.push_back(pairs[p.pair]);
        Contribution& a = out[p.first];
        Contribution& b = out[p.second];
        const long double half = halfCovariance(p, weight[p.first], weight[p.second]);
        together[p.first] += half;
        together[p.second] += half;
        if (stat) {
            const long double covariance = halfCovariance(p, a.variance, b.variance);
            a.covariance += covariance;
            b.covariance += covariance;
        }
    }
    weight = std::move(together);
}

// Shares of the variance used: h² / sum of h² under the production sigma (every
// element normal), the declared variances otherwise; with correlated pairs on
// the path, each with half of its covariance terms (addCovariances).
std::vector<Contribution> contributions(const Chain& chain, const ClosingSolution& s, const AnalysisData& data,
                                        long double productionSigma, bool declared, std::vector<Correlation>& onPath) {
    std::vector<Contribution> out;
    const bool stat = productionSigma > 0;
    const auto add = [&](std::int32_t n, int side) {
        const Element& e = chain.element(n);
        const ElementDistribution d = data.distributionOf(n);
        Contribution c;
        c.element = n;
        c.sensitivity = e.positive != 0 ? side : -side;
        c.tolerance = e.upperDev - e.lowerDev;
        c.distribution = d.kind;
        if (stat) c.variance = declaredVariance(d.kind, e.halfRangeSquared, productionSigma);
        if (d.kind == Distribution::ShiftedNormal) c.meanShift = c.sensitivity * d.meanShiftPercent / 100 * c.tolerance;
        if (d.kind == Distribution::Measured && d.measured) {
            // The parts as measured: their spread, and their mean against the middle of the zone.
            if (stat) c.variance = d.measured->stdDev * d.measured->stdDev;
            c.meanShift = c.sensitivity * (d.measured->mean - zoneMiddle(e));
        }
        c.sharePercent = s.sums.closingVariance > 0 ? e.halfRangeSquared / s.sums.closingVariance * 100 : 0;
        out.push_back(c);
    };
    for (std::int32_t n : s.pathFrom) add(n, -1);
    for (std::int32_t n : s.pathTo) add(n, +1);
    if (!data.correlations.empty()) {
        std::vector<long double> weight;
        for (const Contribution& c : out) {
            weight.push_back(declared && stat ? c.variance : chain.element(c.element).halfRangeSquared);
        }
        long double independent = 0;
        for (long double w : weight) independent += w;
        addCovariances(out, data.correlations, stat, weight, onPath);
        if (!onPath.empty()) {
            long double total = 0;
            for (long double w : weight) total += w;
            total = uncancelled(total, independent);
            for (std::size_t i = 0; i < out.size(); ++i) out[i].sharePercent = total > 0 ? weight[i] / total * 100 : 0;
        }
    }
    if (declared && stat && onPath.empty()) {
        long double total = 0;
        for (const Contribution& c : out) total += c.variance;
        for (Contribution& c : out) c.sharePercent = total > 0 ? c.variance / total * 100 : 0;
    }
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

// Tail probabilities of the normal distribution with the mean and s of the
// variance used (see ClosingAnalysis); with s = 0 every part has the mean.
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

constexpr double kLowShare = 0.00135;

struct SideJudgement {
    Verdict verdict = Verdict::Holds;
    double samples = 0;  // undecided: about how many would decide; infinite when none would
};

// One outer point against its limit, turned so that the values must not lie
// below `limit`: holds when the interval's low end does not, fails when even
// its high end does. Undecided, the interval must shrink until it leaves the
// limit on the estimate's side; its width goes with 1 / sqrt(N). An end no
// sample bounds yet is estimated from the normal approximation of the
// percentile's standard error, and needs at least the samples that bound it.
SideJudgement judgeSide(double estimate, Interval interval, double limit, const SampleSummary& m) {
    SideJudgement j;
    if (interval.low >= limit) return j;
    if (interval.high < limit) {
        j.verdict = Verdict::Fails;
        return j;
    }
    j.verdict = Verdict::Undecided;
    const double distance = estimate - limit;
    const double n = static_cast<double>(m.count);
    if (distance == 0) {
        j.samples = std::numeric_limits<double>::infinity();
        return j;
    }
    const double end = distance > 0 ? interval.low : interval.high;
    double half = std::fabs(estimate - end);
    double least = n + 1;
    if (!std::isfinite(end)) {
        const double z = static_cast<double>(inverseNormal(kLowShare));
        const double density = std::exp(-z * z / 2) / std::sqrt(2 * std::acos(-1.0));
        half = kConfidenceZ * m.stdDev * std::sqrt(kLowShare * (1 - kLowShare) / n) / density;
        least = std::max(least, static_cast<double>(samplesForBoundedRank(kLowShare)));
    }
    j.samples = std::max(least, n * (half / distance) * (half / distance));
    return j;
}

// Rounded up to two significant digits: an estimate, not a count.
std::int64_t roundedUp(double samples) {
    const double clamped = std::min(samples, 1e15);
    const double step = std::pow(10.0, std::max(0.0, std::floor(std::log10(clamped)) - 1));
    return static_cast<std::int64_t>(std::ceil(clamped / step) * step);
}

// The closed forms of ElementSensitivity. With z = (mean - lower) / s the ppm
// below is 1e6 Q(z), so d(ppm below)/dt = -1e6 phi(z) (mean' - z s') / s; above,
// z = (upper - mean) / s and the mean's move counts the other way.
std::vector<ElementSensitivity> sensitivities(const ClosingAnalysis& a, bool stat) {
    std::vector<ElementSensitivity> out;
    const bool spread = stat && a.sigma > 0;
    const long double s = a.sigma;
    const long double ppm = a.ppmBelow + a.ppmAbove;
    const long double density = 1 / std::sqrt(2 * std::acos(-1.0L));
    const auto phi = [density](long double z) { return density * std::exp(-z * z / 2); };
    for (const Contribution& c : a.contributions) {
        ElementSensitivity e;
        e.element = c.element;
        e.meanPerNominal = c.sensitivity;
        if (spread) {
            // Measured parts do not change with the drawing's tolerance: narrowing it saves nothing.
            const long double t = c.distribution == Distribution::Measured ? 0 : c.tolerance;
            const long double ds = t > 0 ? (c.variance + c.covariance) / (t * s) : 0;
            const long double dMean = t > 0 ? c.meanShift / t : 0;
            e.sigmaPerTolerance = ds;
            const long double narrowed = t > 0 ? 1 - kTightenShare : 1;
            // The variance falls by (1 - q²) v_i and, with correlated pairs, by
            // (1 - q) times the element's covariance terms 2 c_i (q = narrowed).
            const long double s2 = std::sqrt(
                std::max(0.0L, s * s - (1 - narrowed * narrowed) * c.variance - 2 * (1 - narrowed) * c.covariance));
            // Without correlated partners sqrt(s * s) may round a last bit above s; with a
            // partner that cancels part of the element's spread, narrowing it may widen s.
            e.sigmaSaved = c.covariance < 0 ? s - s2 : std::max(0.0L, s - s2);
            if (a.limits.any()) {
                long double d = 0;
                if (a.limits.lower) {
                    const long double z = (a.mean - *a.limits.lower) / s;
                    d -= kAllPpm * phi(z) * (dMean - z * ds) / s;
                }
                if (a.limits.upper) {
                    const long double z = (*a.limits.upper - a.mean) / s;
                    d -= kAllPpm * phi(z) * (-dMean - z * ds) / s;
                }
                e.ppmPerTolerance = d;
                const long double moved = t > 0 ? kTightenShare * c.meanShift : 0;
                e.ppmSaved = ppm - normalPpmBeyond(a.limits, a.mean - moved, s2);
            }
        }
        out.push_back(e);
    }
    std::stable_sort(out.begin(), out.end(), [](const ElementSensitivity& x, const ElementSensitivity& y) {
        const long double px = x.ppmSaved.value_or(0);
        const long double py = y.ppmSaved.value_or(0);
        if (px != py) return px > py;
        const long double sx = x.sigmaSaved.value_or(0);
        const long double sy = y.sigmaSaved.value_or(0);
        if (sx != sy) return sx > sy;
        return x.element < y.element;
    });
    return out;
}

void monteCarlo(ClosingAnalysis& a) {
    const SampleSummary& m = a.monteCarlo;
    a.mcCapability = capability(a.limits, m.mean, m.stdDev);
    a.mcPercentileCapability = percentileCapability(a.limits, m.p00135, m.p50, m.p99865);
    for (std::size_t i = 0; i < m.shareElements.size(); ++i) {
        const double share = m.sharePercent[i];
        if (!std::isfinite(share)) continue;
        for (Contribution& c : a.contributions) {
            if (c.element == m.shareElements[i]) c.monteCarloSharePercent = share;
        }
    }
    a.mcConfidence = monteCarloConfidence(a.limits, m);
    a.failsMonteCarlo = a.mcConfidence.verdict == Verdict::Fails;
}

Verdict verdictOf(bool fails) { return fails ? Verdict::Fails : Verdict::Holds; }

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
        a.verdict = verdictOf(a.fails);
        a.failsWorstCase = a.failsStatistical = a.failsMonteCarlo = a.fails;
        return a;
    }
    a.nominal = s.sums.closingNominal;
    a.worstMin = s.sums.closingMin;
    a.worstMax = s.sums.closingMax;
    a.mean = s.sums.closingMean;
    a.statDev = s.sums.closingStatDev;
    if (stat) a.sigma = a.statDev / productionSigma;
    const auto onPath = [&](std::int32_t n) { return data.distributionOf(n).kind != Distribution::Normal; };
    a.declaredVariance = stat && (std::any_of(s.pathFrom.begin(), s.pathFrom.end(), onPath) ||
                                  std::any_of(s.pathTo.begin(), s.pathTo.end(), onPath));
    a.contributions = contributions(chain, s, data, productionSigma, a.declaredVariance, a.correlations);
    if (a.declaredVariance || (stat && !a.correlations.empty())) {
        long double independent = 0;
        long double variance = 0;
        for (const Contribution& c : a.contributions) {
            independent += c.variance;
            variance += c.variance + c.covariance;
            if (a.declaredVariance) a.mean += c.meanShift;
        }
        a.sigma = std::sqrt(uncancelled(variance, independent));
        a.statDev = productionSigma * a.sigma;
    }
    worstCase(a);
    if (stat) statistical(a);
    a.sensitivities = sensitivities(a, stat);
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

MonteCarloConfidence monteCarloConfidence(const RequiredLimits& limits, const SampleSummary& m) {
    MonteCarloConfidence c;
    if (m.count <= 0) return c;
    const auto ppm = [](Interval i) { return Interval{i.low * 1e6, i.high * 1e6}; };
    c.ppmBelow = ppm(wilsonInterval(m.below, m.count));
    c.ppmAbove = ppm(wilsonInterval(m.above, m.count));
    c.ppmBelowError = proportionStandardError(m.below, m.count) * 1e6;
    c.ppmAboveError = proportionStandardError(m.above, m.count) * 1e6;
    c.meanError = m.stdDev / std::sqrt(static_cast<double>(m.count));
    std::vector<SideJudgement> sides;
    if (limits.lower) sides.push_back(judgeSide(m.p00135, m.p00135Interval, static_cast<double>(*limits.lower), m));
    if (limits.upper) {
        // The upper side mirrored: values must not lie above the limit.
        sides.push_back(judgeSide(-m.p99865, {-m.p99865Interval.high, -m.p99865Interval.low},
                                  -static_cast<double>(*limits.upper), m));
    }
    double samples = 0;
    for (const SideJudgement& s : sides) {
        if (s.verdict == Verdict::Fails) c.verdict = Verdict::Fails;
        if (s.verdict == Verdict::Undecided) {
            if (c.verdict == Verdict::Holds) c.verdict = Verdict::Undecided;
            samples = std::max(samples, s.samples);
        }
    }
    if (c.verdict == Verdict::Undecided && std::isfinite(samples)) c.samplesToDecide = roundedUp(samples);
    return c;
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

Capability percentileCapability(const RequiredLimits& limits, long double low, long double median, long double high) {
    Capability c;
    if (limits.lower && limits.upper && high > low) c.cp = (*limits.upper - *limits.lower) / (high - low);
    const bool upperSpread = high > median;
    const bool lowerSpread = median > low;
    if ((limits.upper && !upperSpread) || (limits.lower && !lowerSpread) || !limits.any()) return c;
    std::optional<long double> nearest;
    if (limits.upper) nearest = (*limits.upper - median) / (high - median);
    if (limits.lower) {
        const long double below = (median - *limits.lower) / (median - low);
        nearest = nearest ? std::min(*nearest, below) : below;
    }
    c.cpk = nearest;
    return c;
}

long double normalPpmBeyond(const RequiredLimits& limits, long double mean, long double s) {
    long double ppm = 0;
    if (s > 0) {
        if (limits.lower) ppm += normalPpmAbove((mean - *limits.lower) / s);
        if (limits.upper) ppm += normalPpmAbove((*limits.upper - mean) / s);
    } else {
        if (limits.lower && mean < *limits.lower) ppm += kAllPpm;
        if (limits.upper && mean > *limits.upper) ppm += kAllPpm;
    }
    return ppm;
}

bool AnalysisResult::allHold() const { return verdict() == Verdict::Holds; }

Verdict AnalysisResult::verdict() const {
    Verdict v = Verdict::Holds;
    for (const ClosingAnalysis& c : closings) v = std::max(v, c.verdict);
    return v;
}

std::vector<MeasuredElement> measuredElements(const Chain& chain, const AnalysisData& data) {
    std::vector<MeasuredElement> out;
    for (const auto& [n, d] : data.elements) {
        if (d.kind != Distribution::Measured || !d.measured || n < 1 || n > chain.elementCount()) continue;
        const Element& e = chain.element(n);
        MeasuredElement m;
        m.element = n;
        m.sample = d.measured;
        m.nominal = e.distance;
        m.drawing.lower = e.distance + e.lowerDev;
        m.drawing.upper = e.distance + e.upperDev;
        m.capability = capability(m.drawing, d.measured->mean, d.measured->stdDev);
        out.push_back(std::move(m));
    }
    return out;
}

AnalysisResult analyseChain(Chain& chain, const AnalysisData& data, const AnalysisOptions& options) {
    AnalysisResult result;
    result.options = options;
    result.productionSigma = chain.productionSigma;
    result.statistical = chain.productionSigma > 0;
    result.measured = measuredElements(chain, data);
    result.correlations = data.correlations;
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
            a.verdict = options.method == AnalysisMethod::WorstCase     ? verdictOf(a.failsWorstCase)
                        : options.method == AnalysisMethod::Statistical ? verdictOf(a.failsStatistical)
                        : result.statistical                            ? a.mcConfidence.verdict
                                                                        : verdictOf(a.failsMonteCarlo);
            a.fails = a.verdict == Verdict::Fails;
        }
        result.closings.push_back(std::move(a));
    }
    return result;
}

} // namespace zam1
