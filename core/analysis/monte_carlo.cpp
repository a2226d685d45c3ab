#include "core/analysis/monte_carlo.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <thread>

#include "core/analysis/measured_data.h"
#include "core/analysis/correlation.h"
#include "core/analysis/normal.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/platform/helper_threads.h"

namespace zam1 {
namespace {

// SplitMix64's finaliser: every input bit reaches every output bit.
inline std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

inline std::uint64_t sampleKey(std::uint64_t seed, std::int64_t sample) {
    return mix64(mix64(seed) + static_cast<std::uint64_t>(sample) * 0x9E3779B97F4A7C15ull);
}

inline std::uint64_t elementKey(int element, int stream) {
    return (static_cast<std::uint64_t>(element) * 2 + static_cast<std::uint64_t>(stream) + 1) * 0xD1B54A32D192ED03ull;
}

// 53 random bits, centred in their interval so that neither 0 nor 1 comes out.
// Converted as a signed number: one instruction, where unsigned takes a branch.
inline double toUnit(std::uint64_t bits) {
    return (static_cast<double>(static_cast<std::int64_t>(bits >> 11)) + 0.5) * 0x1.0p-53;
}

// One element in parents-first order. A drawn element adds its deviation from
// the middle of its zone (signed as it enters a sum) to its predecessor's; an
// element on no path only passes its predecessor's on.
struct Step {
    int element = 0;
    int predecessor = 0;
    bool drawn = false;
    Distribution kind = Distribution::Normal;
    // Measured with resampling: drawn from the values, which lie within offset ± scale.
    const MeasuredSample* resample = nullptr;
    double middle = 0;  // resampling: the middle of the zone, as an absolute size
    double scale = 0;   // standard deviation (normal) or half tolerance (bounded)
    double offset = 0;  // the mean shift as it enters a sum
    std::uint64_t key0 = 0;
    std::uint64_t key1 = 0;
    double variance = 0;
    double sign = 1;    // +1 when the element enters a sum as it is, -1 when turned
};

// A closing dimension's value is (deviation sum at b) - (deviation sum at a),
// measured from closingMean: the shared tail cancels, as in the resolution.
struct ClosingPlan {
    bool resolved = false;
    int a = 0;
    int b = 0;
    double centre = 0;       // expected deviation (the mean shifts on its path)
    double lowerCut = -std::numeric_limits<double>::infinity();
    double upperCut = std::numeric_limits<double>::infinity();
    double histLow = 0;
    double binScale = 0;     // bins per millimetre; 0 when every value is the same
    double binWidth = 0;
    // The elements on the path for the shares: their step, element number and
    // side (-1 the first end's, +1 the second's); their products with the
    // closing dimension start at pairOffset in a block's product sums.
    std::vector<std::uint32_t> shareStep;
    std::vector<int> shareElement;
    std::vector<double> shareSide;
    std::size_t pairOffset = 0;
};

// The drawn steps of one kind, drawn in one loop of their own so the loop
// does not branch on the kind.
struct DrawGroup {
    std::vector<std::size_t> step;
    std::vector<double> scale;
    std::vector<double> offset;
    std::vector<std::uint64_t> key0;
    std::vector<std::uint64_t> key1;
};

// Steps drawn from measured values: a value picked at random, its deviation
// from the middle of the zone signed as it enters a sum.
struct ResampleGroup {
    std::vector<std::size_t> step;
    std::vector<std::uint64_t> key0;
    std::vector<std::vector<double>> deviations;
};

// The drawn elements of one group linked by correlated pairs, in the order of
// its factor (correlation.h): each draws the independent standard normal e_j
// of its position j < rank with its own key, as an uncorrelated normal element
// would; member i's normal score is z_i = sum over j of factor[i * rank + j] e_j.
// A normal member takes offset + scale z_i, a uniform one scale (2 Phi(z_i) - 1),
// a triangular one the inverse of its distribution function at Phi(z_i). The
// scale carries the sign with which the element enters a sum: r is the
// correlation of the elements' own dimensions.
struct CorrelatedDraws {
    std::vector<std::size_t> step;
    std::vector<Distribution> kind;
    std::vector<double> scale;
    std::vector<double> offset;
    std::vector<std::uint64_t> key;
    int rank = 0;
    std::vector<double> factor;
};

struct Plan {
    std::vector<Step> steps;
    // The steps' element and predecessor numbers on their own, for the sample loop.
    std::vector<std::int32_t> stepElement;
    std::vector<std::int32_t> stepPredecessor;
    DrawGroup normal;     // Normal and ShiftedNormal
    DrawGroup uniform;
    DrawGroup triangular;
    ResampleGroup resample;
    std::vector<CorrelatedDraws> correlated;  // empty without correlated pairs of drawn elements
    int largestRank = 0;
    std::vector<ClosingPlan> closings;
    int slots = 1;
    std::size_t pairs = 0;           // elements on paths, summed over the closing dimensions
    std::int64_t shareSamples = 0;   // the first samples the shares come from
    int shareBlocks = 0;             // the blocks that hold them
};

struct BlockSums {
    double sum = 0;    // of value - centre
    double sumSq = 0;
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    std::int64_t below = 0;
    std::int64_t above = 0;
    double shareSum = 0;   // of value - centre over the share samples
    double shareSumSq = 0;
};

constexpr int kFineSlots = kFineBins + 2;  // underflow, the bins, overflow

// The slot of a position in bins from the histogram's left edge. Only a position
// inside the bins is converted; below, above and NaN (a spread that overflowed)
// go to the end slots, never to an index the conversion makes up.
inline int fineSlot(double pos) {
    if (pos >= 0 && pos < kFineBins) return static_cast<int>(pos) + 1;  // truncation is floor here
    return pos >= kFineBins ? kFineSlots - 1 : 0;
}

// Normal with the values' mean and s, or drawn from the values themselves.
void measuredStep(const Element& e, const ElementDistribution& d, double sign, Step& s) {
    if (!d.measured) return;  // nothing measured: no spread
    const MeasuredSample& m = *d.measured;
    const long double middle = e.distance + (e.upperDev + e.lowerDev) / 2;
    s.offset = sign * static_cast<double>(m.mean - middle);
    if (!m.resample) {
        s.scale = static_cast<double>(m.stdDev);
        s.variance = s.scale * s.scale;
        return;
    }
    s.resample = &m;
    s.middle = static_cast<double>(middle);
    s.sign = sign;
    const auto n = static_cast<double>(m.values.size());
    s.variance = static_cast<double>(m.stdDev * m.stdDev) * (n - 1) / n;  // of the values as drawn
    s.scale = std::max(std::fabs(sign * (static_cast<double>(m.min) - s.middle) - s.offset),
                       std::fabs(sign * (static_cast<double>(m.max) - s.middle) - s.offset));
}

Step stepFor(const Chain& chain, int n, const AnalysisData& data) {
    const Element& e = chain.element(n);
    Step s;
    s.element = n;
    s.predecessor = e.predecessor;
    const ElementDistribution d = data.distributionOf(n);
    const double half = static_cast<double>((e.upperDev - e.lowerDev) / 2);
    const double sign = e.positive != 0 ? 1.0 : -1.0;
    s.sign = sign;
    s.kind = d.kind;
    s.key0 = elementKey(n, 0);
    s.key1 = elementKey(n, 1);
    switch (d.kind) {
    case Distribution::Uniform:
        s.scale = half;
        s.variance = half * half / 3;
        break;
    case Distribution::Triangular:
        s.scale = half;
        s.variance = half * half / 6;
        break;
    case Distribution::ShiftedNormal:
        s.offset = sign * static_cast<double>(d.meanShiftPercent / 100 * (e.upperDev - e.lowerDev));
        [[fallthrough]];
    case Distribution::Normal:
        s.scale = half / static_cast<double>(chain.productionSigma);
        s.variance = s.scale * s.scale;
        break;
    case Distribution::Measured:
        measuredStep(e, d, sign, s);
        break;
    }
    return s;
}

void addPathSteps(const Chain& chain, int end, std::vector<char>& placed, std::vector<int>& order) {
    std::vector<int> upward;
    for (int n = end; n > 0 && !placed[static_cast<std::size_t>(n)]; n = chain.element(n).predecessor) {
        placed[static_cast<std::size_t>(n)] = 1;
        upward.push_back(n);
    }
    order.insert(order.end(), upward.rbegin(), upward.rend());
}

bool boundedKind(Distribution kind) { return kind == Distribution::Uniform || kind == Distribution::Triangular; }

// The covariance terms 2 r a_i a_j s_i s_j of the correlated pairs on the path
// (a = side times the element's sign; `coefficient` is 0 for every element on
// entry and on return). Through the normal copula a pair with a uniform or
// triangular element correlates a little less than r (at least 0.95 r): a term
// that narrows the spread counts 0.9 of itself, so that the range planned is
// never narrower than the spread drawn.
double covarianceOnPath(const ClosingSolution& s, const std::vector<Step>& byElement,
                        const std::vector<Correlation>& pairs, std::vector<double>& coefficient) {
    if (pairs.empty()) return 0;
    const auto mark = [&](const std::vector<std::int32_t>& path, double side) {
        for (std::int32_t n : path) coefficient[static_cast<std::size_t>(n)] = side * byElement[static_cast<std::size_t>(n)].sign;
    };
    mark(s.pathFrom, -1);
    mark(s.pathTo, +1);
    double covariance = 0;
    for (const Correlation& p : pairs) {
        const auto i = static_cast<std::size_t>(p.first);
        const auto j = static_cast<std::size_t>(p.second);
        if (i >= coefficient.size() || j >= coefficient.size() || coefficient[i] == 0 || coefficient[j] == 0) continue;
        double term = 2 * static_cast<double>(p.r) * coefficient[i] * coefficient[j] *
                      std::sqrt(byElement[i].variance * byElement[j].variance);
        if (term < 0 && (boundedKind(byElement[i].kind) || boundedKind(byElement[j].kind))) term *= 0.9;
        covariance += term;
    }
    for (std::int32_t n : s.pathFrom) coefficient[static_cast<std::size_t>(n)] = 0;
    for (std::int32_t n : s.pathTo) coefficient[static_cast<std::size_t>(n)] = 0;
    return covariance;
}

void planHistogram(const ClosingSolution& s, const std::vector<Step>& byElement, double covariance, ClosingPlan& c) {
    double variance = 0;
    double boundedHalf = 0;
    bool bounded = true;
    const auto visit = [&](std::int32_t n, double side) {
        const Step& st = byElement[static_cast<std::size_t>(n)];
        c.centre += side * st.offset;
        variance += st.variance;
        boundedHalf += std::fabs(st.scale);
        bounded = bounded && (boundedKind(st.kind) || st.resample != nullptr);
    };
    for (std::int32_t n : s.pathFrom) visit(n, -1);
    for (std::int32_t n : s.pathTo) visit(n, +1);
    if (covariance != 0) variance = std::max(0.0, variance + covariance);
    double half = kRangeSigmas * std::sqrt(variance);
    if (bounded) half = std::min(half, boundedHalf);
    c.histLow = c.centre - half;
    if (half > 0) {
        c.binWidth = 2 * half / kFineBins;
        c.binScale = kFineBins / (2 * half);
    }
}

Plan makePlan(const Chain& chain, const std::vector<ClosingSolution>& solutions, const AnalysisData& data) {
    Plan plan;
    plan.slots = chain.elementCount() + 1;
    std::vector<char> placed(static_cast<std::size_t>(plan.slots), 0);
    std::vector<char> drawn(static_cast<std::size_t>(plan.slots), 0);
    std::vector<int> order;
    for (const ClosingSolution& s : solutions) {
        if (!s.resolved) continue;
        for (std::int32_t n : s.pathFrom) drawn[static_cast<std::size_t>(n)] = 1;
        for (std::int32_t n : s.pathTo) drawn[static_cast<std::size_t>(n)] = 1;
        addPathSteps(chain, s.fromElement, placed, order);
        addPathSteps(chain, s.toElement, placed, order);
    }
    std::vector<Step> byElement(static_cast<std::size_t>(plan.slots));
    std::vector<std::uint32_t> stepOf(static_cast<std::size_t>(plan.slots), 0);
    std::vector<int> drawnElements;
    for (int n : order) {
        if (drawn[static_cast<std::size_t>(n)] != 0) drawnElements.push_back(n);
    }
    const std::vector<CorrelationGroup> groups =
        data.correlations.empty() ? std::vector<CorrelationGroup>{} : correlationGroups(data.correlations, drawnElements);
    std::vector<char> correlated(static_cast<std::size_t>(plan.slots), 0);
    for (const CorrelationGroup& g : groups) {
        for (int n : g.members) correlated[static_cast<std::size_t>(n)] = 1;
    }
    for (int n : order) {
        stepOf[static_cast<std::size_t>(n)] = static_cast<std::uint32_t>(plan.steps.size());
        Step st = stepFor(chain, n, data);
        st.drawn = drawn[static_cast<std::size_t>(n)] != 0;
        byElement[static_cast<std::size_t>(n)] = st;
        if (st.drawn && st.resample != nullptr) {
            ResampleGroup& g = plan.resample;
            g.step.push_back(plan.steps.size());
            g.key0.push_back(st.key0);
            std::vector<double>& deviations = g.deviations.emplace_back();
            deviations.reserve(st.resample->values.size());
            for (double v : st.resample->values) deviations.push_back(st.sign * (v - st.middle));
        } else if (st.drawn && correlated[static_cast<std::size_t>(n)] == 0) {
            DrawGroup& g = st.kind == Distribution::Uniform      ? plan.uniform
                           : st.kind == Distribution::Triangular ? plan.triangular
                                                                 : plan.normal;
            g.step.push_back(plan.steps.size());
            g.scale.push_back(st.scale);
            g.offset.push_back(st.offset);
            g.key0.push_back(st.key0);
            g.key1.push_back(st.key1);
        }
        plan.steps.push_back(st);
        plan.stepElement.push_back(st.element);
        plan.stepPredecessor.push_back(st.predecessor);
    }
    for (const CorrelationGroup& g : groups) {
        CorrelatedDraws d;
        for (int n : g.members) {
            const Step& st = byElement[static_cast<std::size_t>(n)];
            d.step.push_back(stepOf[static_cast<std::size_t>(n)]);
            d.kind.push_back(st.kind);
            d.scale.push_back(st.sign * st.scale);
            d.offset.push_back(st.offset);
            d.key.push_back(st.key0);
        }
        d.rank = g.rank;
        d.factor = g.factor;
        plan.largestRank = std::max(plan.largestRank, g.rank);
        plan.correlated.push_back(std::move(d));
    }
    std::vector<double> coefficient(data.correlations.empty() ? 0 : static_cast<std::size_t>(plan.slots), 0.0);
    for (std::size_t k = 0; k < solutions.size(); ++k) {
        const ClosingSolution& s = solutions[k];
        ClosingPlan c;
        c.resolved = s.resolved;
        if (s.resolved) {
            c.a = std::max(s.fromElement, 0);
            c.b = std::max(s.toElement, 0);
            planHistogram(s, byElement, covarianceOnPath(s, byElement, data.correlations, coefficient), c);
            c.pairOffset = plan.pairs;
            const auto share = [&](std::int32_t n, double side) {
                c.shareStep.push_back(stepOf[static_cast<std::size_t>(n)]);
                c.shareElement.push_back(n);
                c.shareSide.push_back(side);
            };
            for (std::int32_t n : s.pathFrom) share(n, -1);
            for (std::int32_t n : s.pathTo) share(n, +1);
            plan.pairs += c.shareStep.size();
            const RequiredLimits limits = data.limitsOf(static_cast<int>(k) + 1);
            if (limits.lower) c.lowerCut = static_cast<double>(*limits.lower - s.sums.closingMean);
            if (limits.upper) c.upperCut = static_cast<double>(*limits.upper - s.sums.closingMean);
        }
        plan.closings.push_back(c);
    }
    return plan;
}

// The first samples whose products give the shares, and the blocks that hold them.
void planShares(Plan& plan, std::int64_t n) {
    std::int64_t drawnSteps = 0;
    for (const Step& st : plan.steps) drawnSteps += st.drawn ? 1 : 0;
    const auto pairs = static_cast<std::int64_t>(plan.pairs);
    plan.shareSamples = std::min(n, kMaxShareSamples);
    // pairs * S <= drawnSteps * n, in long double: the product may pass 2^63.
    if (pairs > kShareWorkPerDraw * drawnSteps) {
        const long double bound = static_cast<long double>(drawnSteps) * n / pairs;
        plan.shareSamples = std::min(plan.shareSamples, std::max(kMinShareSamples, static_cast<std::int64_t>(bound)));
    }
    plan.shareBlocks = 0;
    while (plan.shareBlocks < kSampleBlocks && n * plan.shareBlocks / kSampleBlocks < plan.shareSamples) {
        ++plan.shareBlocks;
    }
}

// Samples are taken kBatch at a time: each working array holds kBatch lanes per
// step or element, so that the walk down the chain adds kBatch independent
// samples per step instead of waiting on one sample's previous sum. Every sample
// is computed and summed in the same order as one at a time.
constexpr int kBatch = 8;

// The sum of one batch's eight lanes in a fixed order (pairs of pairs, which
// two-wide vector adds can take as they stand).
inline double laneSum(const double* x) {
    return ((x[0] + x[4]) + (x[2] + x[6])) + ((x[1] + x[5]) + (x[3] + x[7]));
}

constexpr double kHalfRoot2 = 0.70710678118654752440;

// The correlated groups of one sample; `normals` holds largestRank values.
void drawCorrelated(const Plan& plan, const ziggurat::Tables& tables, std::uint64_t key, double* d, int lane,
                    double* normals) {
    for (const CorrelatedDraws& g : plan.correlated) {
        const auto rank = static_cast<std::size_t>(g.rank);
        for (std::size_t j = 0; j < rank; ++j) {
            const std::uint64_t base = key ^ g.key[j];
            const auto word = [base](int k) { return mix64(base + static_cast<std::uint64_t>(k) * 0x9E3779B97F4A7C15ull); };
            normals[j] = zigguratNormal(tables, word);
        }
        for (std::size_t i = 0; i < g.step.size(); ++i) {
            const double* row = g.factor.data() + i * rank;
            double z = 0;
            for (std::size_t j = 0; j < std::min(i + 1, rank); ++j) z += row[j] * normals[j];
            double x = 0;
            switch (g.kind[i]) {
            case Distribution::Uniform: x = g.scale[i] * std::erf(z * kHalfRoot2); break;  // 2 Phi(z) - 1
            case Distribution::Triangular:
                // 2 min(Phi, 1 - Phi) = erfc(|z| / sqrt 2): the inverse on [-1, 1] from the nearer end.
                x = g.scale[i] * std::copysign(1 - std::sqrt(std::erfc(std::fabs(z) * kHalfRoot2)), z);
                break;
            case Distribution::Normal:
            case Distribution::ShiftedNormal:
            case Distribution::Measured: x = g.offset[i] + g.scale[i] * z; break;  // normal with the values' mean and s
            }
            d[g.step[i] * kBatch + static_cast<std::size_t>(lane)] = x;
        }
    }
}

// The deviations of every drawn step of one sample into lane `lane` of `d`.
void drawSample(const Plan& plan, const ziggurat::Tables& tables, std::uint64_t key, double* d, int lane,
                double* normals) {
    const auto at = [d, lane](std::size_t step) -> double& { return d[step * kBatch + static_cast<std::size_t>(lane)]; };
    const DrawGroup& n = plan.normal;
    for (std::size_t i = 0; i < n.step.size(); ++i) {
        const std::uint64_t base = key ^ n.key0[i];
        const auto word = [base](int k) { return mix64(base + static_cast<std::uint64_t>(k) * 0x9E3779B97F4A7C15ull); };
        at(n.step[i]) = n.offset[i] + n.scale[i] * zigguratNormal(tables, word);
    }
    const DrawGroup& u = plan.uniform;
    for (std::size_t i = 0; i < u.step.size(); ++i) {
        at(u.step[i]) = u.scale[i] * ziggurat::signedUnit(mix64(key ^ u.key0[i]));  // 2 toUnit - 1, bit for bit
    }
    const DrawGroup& t = plan.triangular;
    for (std::size_t i = 0; i < t.step.size(); ++i) {
        at(t.step[i]) = t.scale[i] * (toUnit(mix64(key ^ t.key0[i])) + toUnit(mix64(key ^ t.key1[i])) - 1);
    }
    const ResampleGroup& r = plan.resample;
    for (std::size_t i = 0; i < r.step.size(); ++i) {
        const std::vector<double>& values = r.deviations[i];
        const double count = static_cast<double>(values.size());
        const auto pick = static_cast<std::size_t>(std::min(count - 1, std::floor(toUnit(mix64(key ^ r.key0[i])) * count)));
        at(r.step[i]) = values[pick];
    }
    if (!plan.correlated.empty()) drawCorrelated(plan, tables, key, d, lane, normals);
}

// Samples first..last-1 into one block's sums and the thread's fine histogram.
// `dev` has kBatch lanes per element; element 0 (the origin) stays 0. Of the
// share samples the block also sums each step's deviation into `stepSums` and
// each product of a path element's deviation with its closing dimension into
// `pairSums` (both null when the block holds no share sample).
void runBlock(const Plan& plan, std::uint64_t seed, std::int64_t first, std::int64_t last, std::vector<double>& dev,
              BlockSums* sums, std::uint32_t* fine, double* stepSums, double* pairSums) {
    const std::size_t steps = plan.steps.size();
    std::vector<double> d(steps * kBatch, 0.0);  // steps on no path keep 0
    std::vector<double> normals(static_cast<std::size_t>(plan.largestRank), 0.0);
    const ziggurat::Tables& tables = ziggurat::tables();
    const std::int32_t* element = plan.stepElement.data();
    const std::int32_t* predecessor = plan.stepPredecessor.data();
    double* devs = dev.data();
    for (std::int64_t batch = first; batch < last; batch += kBatch) {
        const int lanes = static_cast<int>(std::min<std::int64_t>(kBatch, last - batch));
        for (int lane = 0; lane < lanes; ++lane) drawSample(plan, tables, sampleKey(seed, batch + lane), d.data(), lane, normals.data());
        for (std::size_t i = 0; i < steps; ++i) {
            // An element is never its own predecessor: the lanes do not overlap.
            const double* __restrict from = devs + static_cast<std::size_t>(predecessor[i]) * kBatch;
            double* __restrict to = devs + static_cast<std::size_t>(element[i]) * kBatch;
            const double* __restrict add = d.data() + i * kBatch;
            for (int lane = 0; lane < kBatch; ++lane) to[lane] = from[lane] + add[lane];
        }
        // Lanes beyond the share samples (or beyond the block) weigh 0 in the products.
        const int shareLanes =
            pairSums == nullptr ? 0 : static_cast<int>(std::clamp<std::int64_t>(plan.shareSamples - batch, 0, lanes));
        if (shareLanes == kBatch) {
            for (std::size_t i = 0; i < steps; ++i) stepSums[i] += laneSum(d.data() + i * kBatch);
        } else if (shareLanes > 0) {
            double part[kBatch] = {};
            for (std::size_t i = 0; i < steps; ++i) {
                std::copy_n(d.data() + i * kBatch, shareLanes, part);
                stepSums[i] += laneSum(part);
            }
        }
        for (std::size_t k = 0; k < plan.closings.size(); ++k) {
            const ClosingPlan& c = plan.closings[k];
            if (!c.resolved) continue;
            const double* atA = devs + static_cast<std::size_t>(c.a) * kBatch;
            const double* atB = devs + static_cast<std::size_t>(c.b) * kBatch;
            BlockSums& s = sums[k];
            std::uint32_t* counts = fine + k * kFineSlots;
            double weight[kBatch] = {};
            for (int lane = 0; lane < lanes; ++lane) {
                const double v = atB[lane] - atA[lane];
                const double w = v - c.centre;
                s.sum += w;
                s.sumSq += w * w;
                s.min = std::min(s.min, v);
                s.max = std::max(s.max, v);
                s.below += v < c.lowerCut ? 1 : 0;
                s.above += v > c.upperCut ? 1 : 0;
                ++counts[fineSlot((v - c.histLow) * c.binScale)];
                if (lane < shareLanes) {
                    weight[lane] = w;
                    s.shareSum += w;
                    s.shareSumSq += w * w;
                }
            }
            if (shareLanes == 0) continue;
            double* pair = pairSums + c.pairOffset;
            for (std::size_t p = 0; p < c.shareStep.size(); ++p) {
                const double* x = d.data() + static_cast<std::size_t>(c.shareStep[p]) * kBatch;
                double product[kBatch];
                for (int lane = 0; lane < kBatch; ++lane) product[lane] = x[lane] * weight[lane];
                pair[p] += laneSum(product);
            }
        }
    }
}

unsigned threadCount(const AnalysisOptions& options) {
    if (options.threads != 0) return std::min<unsigned>(options.threads, kSampleBlocks);
    return std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
}

double percentile(const std::vector<std::int64_t>& fine, std::int64_t n, double share, const ClosingPlan& c,
                  double min, double max) {
    const double rank = share * static_cast<double>(n);
    double seen = static_cast<double>(fine[0]);
    if (seen >= rank) return min;
    for (int i = 0; i < kFineBins; ++i) {
        const double count = static_cast<double>(fine[static_cast<std::size_t>(i) + 1]);
        if (count > 0 && seen + count >= rank) {
            const double v = c.histLow + (i + (rank - seen) / count) * c.binWidth;
            return std::clamp(v, min, max);
        }
        seen += count;
    }
    return max;
}

// The order statistics that hold the true percentile at 95 %, as values of the closing dimension.
Interval percentileInterval(const std::vector<std::int64_t>& fine, std::int64_t n, double share, const ClosingPlan& c,
                            double min, double max, long double mean) {
    const RankInterval ranks = quantileRanks(n, share);
    const auto at = [&](std::int64_t rank) {
        return static_cast<double>(mean + percentile(fine, n, static_cast<double>(rank) / static_cast<double>(n), c, min, max));
    };
    Interval i;
    if (ranks.lower >= 1) i.low = at(ranks.lower);
    if (ranks.upper <= n) i.high = at(ranks.upper);
    return i;
}

Histogram displayHistogram(const std::vector<std::int64_t>& fine, const ClosingPlan& c, double min, double max) {
    Histogram h;
    h.low = min;
    h.high = max;
    h.counts.assign(kDisplayBins, 0);
    const double span = max - min;
    for (int slot = 0; slot < kFineSlots; ++slot) {
        const std::int64_t count = fine[static_cast<std::size_t>(slot)];
        if (count == 0) continue;
        const double centre = c.histLow + (slot - 0.5) * c.binWidth;
        const double at = span > 0 ? std::floor((centre - min) / span * kDisplayBins) : 0;
        // NaN fails both tests and lands in the first bin, as a value below the range would.
        const int bin = at >= kDisplayBins - 1 ? kDisplayBins - 1 : (at >= 0 ? static_cast<int>(at) : 0);
        h.counts[static_cast<std::size_t>(bin)] += count;
    }
    return h;
}

// Share of each path element: side * (sum of d w - sum of d * sum of w / S) over
// (sum of w² - (sum of w)² / S), both sums of products over S - 1 cancelling.
// With the closing dimension the sum of its elements' sided deviations, the
// shares add up to 100 %.
void shares(const Plan& plan, const ClosingPlan& c, const std::vector<BlockSums>& blocks, std::size_t k,
            std::size_t closingCount, const std::vector<double>& stepSums, const std::vector<double>& pairSums,
            SampleSummary& out) {
    const std::size_t steps = plan.steps.size();
    double w = 0;
    double ww = 0;
    for (int b = 0; b < plan.shareBlocks; ++b) {
        w += blocks[static_cast<std::size_t>(b) * closingCount + k].shareSum;
        ww += blocks[static_cast<std::size_t>(b) * closingCount + k].shareSumSq;
    }
    const double count = static_cast<double>(plan.shareSamples);
    const double spread = ww - w * w / count;
    out.shareSamples = plan.shareSamples;
    out.shareElements = c.shareElement;
    for (std::size_t p = 0; p < c.shareStep.size(); ++p) {
        double dw = 0;
        double dSum = 0;
        for (int b = 0; b < plan.shareBlocks; ++b) {
            dw += pairSums[static_cast<std::size_t>(b) * plan.pairs + c.pairOffset + p];
            dSum += stepSums[static_cast<std::size_t>(b) * steps + c.shareStep[p]];
        }
        const double share = c.shareSide[p] * (dw - dSum * w / count) / spread * 100;
        out.sharePercent.push_back(spread > 0 && std::isfinite(share) ? share : std::nan(""));
    }
}

SampleSummary summarise(const ClosingPlan& c, const ClosingSolution& s, const std::vector<BlockSums>& blocks,
                        std::size_t k, std::size_t closingCount, const std::vector<std::int64_t>& fine, std::int64_t n) {
    SampleSummary out;
    if (!c.resolved) return out;
    BlockSums total;
    for (int b = 0; b < kSampleBlocks; ++b) {  // in block order: the same bits for any thread count
        const BlockSums& p = blocks[static_cast<std::size_t>(b) * closingCount + k];
        total.sum += p.sum;
        total.sumSq += p.sumSq;
        total.min = std::min(total.min, p.min);
        total.max = std::max(total.max, p.max);
        total.below += p.below;
        total.above += p.above;
    }
    const double count = static_cast<double>(n);
    const long double mean = s.sums.closingMean;
    out.count = n;
    out.mean = static_cast<double>(mean + c.centre + total.sum / count);
    out.stdDev = n > 1 ? std::sqrt(std::max(0.0, (total.sumSq - total.sum * total.sum / count) / (count - 1))) : 0;
    out.min = static_cast<double>(mean + total.min);
    out.max = static_cast<double>(mean + total.max);
    out.below = total.below;
    out.above = total.above;
    out.p00135 = static_cast<double>(mean + percentile(fine, n, 0.00135, c, total.min, total.max));
    out.p50 = static_cast<double>(mean + percentile(fine, n, 0.5, c, total.min, total.max));
    out.p99865 = static_cast<double>(mean + percentile(fine, n, 0.99865, c, total.min, total.max));
    out.p00135Interval = percentileInterval(fine, n, 0.00135, c, total.min, total.max, mean);
    out.p99865Interval = percentileInterval(fine, n, 0.99865, c, total.min, total.max, mean);
    out.histogram = displayHistogram(fine, c, total.min, total.max);
    out.histogram.low = out.min;
    out.histogram.high = out.max;
    return out;
}

} // namespace

double uniformDraw(std::uint64_t seed, std::int64_t sample, int element, int stream) {
    return toUnit(mix64(sampleKey(seed, sample) ^ elementKey(element, stream)));
}

std::vector<SampleSummary> simulateClosings(const Chain& chain, const std::vector<ClosingSolution>& solutions,
                                            const AnalysisData& data, const AnalysisOptions& options) {
    Plan plan = makePlan(chain, solutions, data);
    const std::size_t closings = plan.closings.size();
    const std::int64_t n = std::clamp(options.samples, kMinSamples, kMaxSamples);
    planShares(plan, n);
    std::vector<BlockSums> blocks(static_cast<std::size_t>(kSampleBlocks) * closings);
    const std::size_t steps = plan.steps.size();
    std::vector<double> stepSums(static_cast<std::size_t>(plan.shareBlocks) * steps, 0.0);
    std::vector<double> pairSums(static_cast<std::size_t>(plan.shareBlocks) * plan.pairs, 0.0);
    const unsigned threads = threadCount(options);
    std::vector<std::vector<std::uint32_t>> fine(threads);
    std::atomic<int> nextBlock{0};
    const auto work = [&](unsigned t) {
        std::vector<double> dev(static_cast<std::size_t>(plan.slots) * kBatch, 0.0);
        fine[t].assign(closings * kFineSlots, 0);
        for (int b = nextBlock++; b < kSampleBlocks; b = nextBlock++) {
            const bool sharing = b < plan.shareBlocks;
            runBlock(plan, options.seed, n * b / kSampleBlocks, n * (b + 1) / kSampleBlocks, dev,
                     &blocks[static_cast<std::size_t>(b) * closings], fine[t].data(),
                     sharing ? stepSums.data() + static_cast<std::size_t>(b) * steps : nullptr,
                     sharing ? pairSums.data() + static_cast<std::size_t>(b) * plan.pairs : nullptr);
        }
    };
    HelperThreads helpers;
    for (unsigned t = 1; t < threads; ++t) {
        if (!helpers.start([&work, t] { work(t); })) break; // fewer threads: the same numbers, only later
    }
    work(0);
    helpers.joinAll();

    std::vector<SampleSummary> out;
    out.reserve(closings);
    std::vector<std::int64_t> merged(kFineSlots);
    for (std::size_t k = 0; k < closings; ++k) {
        std::fill(merged.begin(), merged.end(), 0);
        for (const auto& f : fine) {
            if (f.empty()) continue;
            for (int slot = 0; slot < kFineSlots; ++slot) merged[static_cast<std::size_t>(slot)] += f[k * kFineSlots + static_cast<std::size_t>(slot)];
        }
        out.push_back(summarise(plan.closings[k], solutions[k], blocks, k, closings, merged, n));
        if (out.back().count > 0) shares(plan, plan.closings[k], blocks, k, closings, stepSums, pairSums, out.back());
    }
    return out;
}

} // namespace zam1
