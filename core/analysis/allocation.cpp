#include "core/analysis/allocation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "core/analysis/allocation_model.h"
#include "core/analysis/measured_data.h"
#include "core/analysis/normal.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/text/codepage.h"

namespace zam1 {

using allocation::Item;
using allocation::kInfinite;
using allocation::Model;
using allocation::Outcome;

namespace {

constexpr std::array<std::pair<AllocationMethod, std::string_view>, 3> kMethods = {{
    {AllocationMethod::Proportional, "proportional"},
    {AllocationMethod::Cost, "cost"},
    {AllocationMethod::Iso, "iso"},
}};

// The variance of an element per t² under its declared distribution, as the
// analysis takes it: normal (h/sigma)², uniform h²/3, triangular h²/6, h = t/2.
long double varianceFactor(Distribution kind, long double productionSigma) {
    switch (kind) {
    case Distribution::Uniform: return 1.0L / 12;
    case Distribution::Triangular: return 1.0L / 24;
    case Distribution::Normal:
    case Distribution::ShiftedNormal:
    case Distribution::Measured: break;  // measured elements stay as they are (buildModel)
    }
    return 1 / (4 * productionSigma * productionSigma);
}

ToleranceState stateOf(const Element& e) {
    ToleranceState s;
    s.upper = e.upperDev;
    s.lower = e.lowerDev;
    if (e.hasIsoCode()) s.iso = std::string(e.isoLetters.view()) + std::to_string(e.isoGrade);
    return s;
}

} // namespace

struct Allocator::Grades {
    std::string generalClass;
    std::vector<ToleranceState> choices;
};

namespace {

template <typename GradesOf>
Model buildModel(const Chain& chain, const ClosingSolution& solution, const AnalysisData& data, AllocationMethod method,
                 GradesOf gradesOf) {
    Model m;
    m.nominal = solution.sums.closingNominal;
    const auto add = [&](std::int32_t n, int side) {
        const Element& e = chain.element(n);
        const ElementDistribution d = data.distributionOf(n);
        const ElementFreedom freedom = data.allocation.freedomOf(n);
        Item item;
        item.element = n;
        item.sensitivity = e.positive != 0 ? side : -side;
        item.varianceFactor = varianceFactor(d.kind, chain.productionSigma);
        if (d.kind == Distribution::ShiftedNormal) item.shiftFraction = d.meanShiftPercent / 100;
        item.before = stateOf(e);
        const long double t = item.before.tolerance();
        // Measured parts are what they are: a new drawing tolerance changes neither their spread nor their mean.
        const bool measured = d.kind == Distribution::Measured && d.measured;
        item.fixed = freedom.fixed || !(t > 0) || measured;
        if (t > 0) item.midpointRatio = (e.upperDev + e.lowerDev) / 2 / t;
        item.minTolerance = freedom.minTolerance.value_or(0);
        item.maxTolerance = freedom.maxTolerance.value_or(kInfinite);
        item.cost = freedom.cost;
        const Allocator::Grades& grades = gradesOf(n);
        item.before.generalClass = grades.generalClass;
        if (method == AllocationMethod::Iso && !item.fixed) item.grades = &grades.choices;
        if (measured) {
            item.measured = true;
            item.measuredOffset = d.measured->mean - e.distance;
            item.measuredVariance = d.measured->stdDev * d.measured->stdDev;
        }
        if (item.fixed) {
            m.fixedMean += m.meanPart(item, item.before);
            m.fixedVariance += m.variancePart(item, item.before);
        }
        m.items.push_back(std::move(item));
    };
    for (std::int32_t n : solution.pathFrom) add(n, -1);
    for (std::int32_t n : solution.pathTo) add(n, +1);
    if (!data.correlations.empty()) {
        std::vector<int> elements;
        std::vector<int> sensitivities;
        for (const Item& item : m.items) {
            elements.push_back(item.element);
            sensitivities.push_back(item.sensitivity);
        }
        // A pair with r = 0 adds nothing: the elements are as independent as without it.
        for (const PathPair& p : pathPairs(data.correlations, elements, sensitivities)) {
            if (p.r != 0) m.pairs.push_back(p);
        }
    }
    return m;
}

// Lambert's W on its principal branch for z >= 0: Newton on w + ln w = ln z,
// from ln(1 + z), which lies above the root; the first step lands below it and
// the rest climb to it.
long double lambertW(long double z) {
    if (!(z > 0)) return 0;
    const long double logZ = std::log(z);
    long double w = std::log1p(z);
    for (int i = 0; i < 100; ++i) {
        const long double next = w - (w + std::log(w) - logZ) / (1 + 1 / w);
        if (std::fabs(next - w) <= 1e-17L * std::max(1.0L, w)) return next;
        w = next;
    }
    return w;
}

// Where the element's cost falls as fast as its variance costs: the minimum of
// cost(t) + varianceFactor · t² / x, with x the inverse of the multiplier.
long double stationaryTolerance(const Item& item, long double x) {
    const ElementCost& c = item.cost;
    const long double k = item.varianceFactor;
    switch (c.model) {
    case CostModel::Reciprocal: return std::cbrt(c.b * x / (2 * k));
    case CostModel::ReciprocalSquared: return std::sqrt(std::sqrt(c.b * x / k));
    case CostModel::Exponential: return c.tau * lambertW(c.b * x / (2 * k * c.tau * c.tau));
    }
    return 0;
}

// ln x where the element's stationary tolerance is the one it has: the middle of
// the search for the multiplier.
long double logCentre(const Item& item) {
    const ElementCost& c = item.cost;
    const long double k = item.varianceFactor;
    const long double t = item.before.tolerance();
    switch (c.model) {
    case CostModel::Reciprocal: return std::log(2 * k * t * t * t / c.b);
    case CostModel::ReciprocalSquared: return std::log(k * t * t * t * t / c.b);
    case CostModel::Exponential: return std::log(2 * k * c.tau * t / c.b) + t / c.tau;
    }
    return 0;
}

long double clampTolerance(const Item& item, long double t) {
    return std::clamp(t, item.minTolerance, std::max(item.minTolerance, item.maxTolerance));
}

// The figures when every element that may change takes toleranceAt(item, x), or
// its tolerance in `linked` where that is given (elements found together),
// without building the states: the scans below evaluate many members.
// `variances` holds the fixed elements' variances and room for the others',
// which the covariance terms need.
template <typename ToleranceAt>
AllocationFigures figuresAt(const Model& m, ToleranceAt toleranceAt, long double x, const std::vector<long double>* linked,
                            std::vector<long double>& variances) {
    const bool paired = !m.pairs.empty();
    long double mean = m.nominal + m.fixedMean;
    long double variance = m.fixedVariance;
    for (std::size_t i = 0; i < m.items.size(); ++i) {
        const Item& item = m.items[i];
        if (item.fixed) continue;
        const long double t = linked != nullptr ? (*linked)[i] : toleranceAt(item, x);
        mean += item.sensitivity * t * (item.midpointRatio + item.shiftFraction);
        variance += item.varianceFactor * t * t;
        if (paired) variances[i] = item.varianceFactor * t * t;
    }
    if (paired) variance = m.withCovariance(variance, variances);
    return m.figures(mean, variance);
}

Outcome outcomeAt(const Model& m, const std::vector<long double>& t) {
    Outcome o;
    o.states.reserve(m.items.size());
    for (std::size_t i = 0; i < m.items.size(); ++i) {
        const Item& item = m.items[i];
        o.states.push_back(item.fixed ? item.before : allocation::scaled(item, t[i]));
    }
    o.figures = m.figuresOf(o.states);
    o.feasible = m.meets(o.figures);
    o.cost = m.costOf(o.states);
    return o;
}

// The loosest member of a family of tolerances that meets the target:
// toleranceAt(item, x) is tighter for smaller x, 0 the tightest; link(x, t),
// where correlated pairs link elements, sets every tolerance in t with the
// linked ones found together, and says whether it did. A coarse scan from the
// tightest out (factors of 16 about `centre`, 10^±12) finds the loosest member
// that meets it, then a bisection between it and the next, which does not; the
// scan does not trust that the target holds only below one point, since a
// midpoint shift can move the mean towards a limit as tolerances open, and a
// correlated partner can cancel spread. When none meets, the one that comes closest.
template <typename ToleranceAt, typename Link>
Outcome loosestMeeting(const Model& m, ToleranceAt toleranceAt, Link link, long double centre) {
    constexpr int kSteps = 10;
    std::vector<long double> t(m.items.size(), 0);
    std::vector<long double> variances(m.items.size(), 0);
    for (std::size_t i = 0; i < m.items.size(); ++i) {
        const Item& item = m.items[i];
        if (item.fixed) variances[i] = m.variancePart(item, item.before);
    }
    const auto figuresOf = [&](long double x) {
        const bool linked = link(x, t);
        return figuresAt(m, toleranceAt, x, linked ? &t : nullptr, variances);
    };
    const auto outcomeOf = [&](long double x) {
        if (!link(x, t)) {
            for (std::size_t i = 0; i < m.items.size(); ++i) {
                if (!m.items[i].fixed) t[i] = toleranceAt(m.items[i], x);
            }
        }
        return outcomeAt(m, t);
    };
    std::vector<long double> xs{0};
    for (int k = -kSteps; k <= kSteps; ++k) xs.push_back(centre * std::pow(16.0L, k));
    int loosest = -1;
    std::size_t closest = 0;
    long double closestShortfall = kInfinite;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        const AllocationFigures f = figuresOf(xs[i]);
        if (m.meets(f)) loosest = static_cast<int>(i);
        const long double s = m.shortfall(f);
        if (s < closestShortfall) {
            closestShortfall = s;
            closest = i;
        }
    }
    if (loosest < 0) return outcomeOf(xs[closest]);
    const auto at = static_cast<std::size_t>(loosest);
    if (at == 0 || at + 1 == xs.size()) return outcomeOf(xs[at]);
    long double low = xs[at];
    long double high = xs[at + 1];
    for (int i = 0; i < 200 && high / low > 1 + 1e-13L; ++i) {
        const long double mid = std::sqrt(low * high);
        if (m.meets(figuresOf(mid))) {
            low = mid;
        } else {
            high = mid;
        }
    }
    return outcomeOf(low);
}

// Every tolerance that may change times f, each clamped to its own limits.
Outcome proportional(const Model& m) {
    const auto toleranceAt = [](const Item& item, long double f) {
        return clampTolerance(item, f * item.before.tolerance());
    };
    return loosestMeeting(m, toleranceAt, [](long double, std::vector<long double>&) { return false; }, 1);
}

// Elements that may change and are linked by correlated pairs, directly or
// through each other, or paired with one that stays. Their variance is a
// quadratic in their tolerances, Σ q_ij t_i t_j + 2 Σ l_i t_i + what the others
// add: q_ii = k_i, q_ij the half covariance of the pair at unit tolerances, l_i
// the half covariance with a partner that stays at the element's unit tolerance.
struct CoupledGroup {
    std::vector<std::size_t> members;  // positions in items
    std::vector<long double> quadratic;  // members² by row
    std::vector<long double> linear;
};

std::vector<CoupledGroup> coupledGroups(const Model& m) {
    const std::size_t n = m.items.size();
    std::vector<std::size_t> parent(n);
    for (std::size_t i = 0; i < n; ++i) parent[i] = i;
    const auto root = [&parent](std::size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    std::vector<char> coupled(n, 0);
    for (const PathPair& p : m.pairs) {
        const bool first = !m.items[p.first].fixed;
        const bool second = !m.items[p.second].fixed;
        if (first) coupled[p.first] = 1;
        if (second) coupled[p.second] = 1;
        if (first && second) {
            const std::size_t a = root(p.first);
            const std::size_t b = root(p.second);
            if (a != b) parent[std::max(a, b)] = std::min(a, b);
        }
    }
    std::vector<CoupledGroup> groups;
    std::vector<std::size_t> groupOf(n, n);
    std::vector<std::size_t> place(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        if (coupled[i] == 0) continue;
        std::size_t& g = groupOf[root(i)];
        if (g == n) {
            g = groups.size();
            groups.emplace_back();
        }
        place[i] = groups[g].members.size();
        groups[g].members.push_back(i);
    }
    for (CoupledGroup& g : groups) {
        const std::size_t size = g.members.size();
        g.quadratic.assign(size * size, 0);
        g.linear.assign(size, 0);
        for (std::size_t k = 0; k < size; ++k) g.quadratic[k * size + k] = m.items[g.members[k]].varianceFactor;
    }
    for (const PathPair& p : m.pairs) {
        const Item& a = m.items[p.first];
        const Item& b = m.items[p.second];
        if (!a.fixed && !b.fixed) {
            CoupledGroup& g = groups[groupOf[root(p.first)]];
            const std::size_t size = g.members.size();
            const long double q = halfCovariance(p, a.varianceFactor, b.varianceFactor);
            g.quadratic[place[p.first] * size + place[p.second]] += q;
            g.quadratic[place[p.second] * size + place[p.first]] += q;
        } else if (!a.fixed) {
            groups[groupOf[root(p.first)]].linear[place[p.first]] +=
                halfCovariance(p, a.varianceFactor, m.variancePart(b, b.before));
        } else if (!b.fixed) {
            groups[groupOf[root(p.second)]].linear[place[p.second]] +=
                halfCovariance(p, m.variancePart(a, a.before), b.varianceFactor);
        }
    }
    return groups;
}

// The cost of tolerance t and its first two derivatives (t > 0).
struct CostCurve {
    long double slope = 0;
    long double curvature = 0;
};

CostCurve costCurve(const ElementCost& c, long double t) {
    switch (c.model) {
    case CostModel::Reciprocal: return {-c.b / (t * t), 2 * c.b / (t * t * t)};
    case CostModel::ReciprocalSquared: return {-2 * c.b / (t * t * t), 6 * c.b / (t * t * t * t)};
    case CostModel::Exponential: {
        const long double e = std::exp(-t / c.tau);
        return {-c.b / c.tau * e, c.b / (c.tau * c.tau) * e};
    }
    }
    return {};
}

// What solveGroup works in, kept from one member of the family to the next so
// that a scan does not allocate for each.
struct NewtonRoom {
    std::vector<long double> u;
    std::vector<long double> lo;
    std::vector<long double> hi;
    std::vector<long double> gradient;
    std::vector<long double> hessian;
    std::vector<long double> direction;
    std::vector<long double> trial;
    std::vector<char> free;
    // newtonDirection's
    std::vector<std::size_t> at;
    std::vector<long double> factor;
    std::vector<long double> y;
};

// Solves h d = -g for the free positions by Cholesky (h symmetric, n x n by
// row); the others get 0. False where h is not positive definite on them.
bool newtonDirection(const std::vector<long double>& h, const std::vector<long double>& g, const std::vector<char>& free,
                     std::vector<long double>& d, NewtonRoom& room) {
    const std::size_t n = g.size();
    std::vector<std::size_t>& at = room.at;
    at.clear();
    for (std::size_t i = 0; i < n; ++i) {
        if (free[i] != 0) at.push_back(i);
    }
    const std::size_t f = at.size();
    std::vector<long double>& l = room.factor;
    l.assign(f * f, 0);
    for (std::size_t i = 0; i < f; ++i) {
        for (std::size_t j = 0; j <= i; ++j) {
            long double sum = h[at[i] * n + at[j]];
            for (std::size_t k = 0; k < j; ++k) sum -= l[i * f + k] * l[j * f + k];
            if (i == j) {
                if (!(sum > 0)) return false;
                l[i * f + i] = std::sqrt(sum);
            } else {
                l[i * f + j] = sum / l[j * f + j];
            }
        }
    }
    std::vector<long double>& y = room.y;
    y.assign(f, 0);
    for (std::size_t i = 0; i < f; ++i) {
        long double sum = -g[at[i]];
        for (std::size_t k = 0; k < i; ++k) sum -= l[i * f + k] * y[k];
        y[i] = sum / l[i * f + i];
    }
    d.assign(n, 0);
    for (std::size_t i = f; i-- > 0;) {
        long double sum = y[i];
        for (std::size_t k = i + 1; k < f; ++k) sum -= l[k * f + i] * d[at[k]];
        d[at[i]] = sum / l[i * f + i];
    }
    return true;
}

// The least cost of a coupled group at multiplier 1/x: the minimum of
// Σ cost_i(t_i) + variance(t) / x within the elements' limits. Both parts are
// convex (the costs are, and the variance is a sum of squares for a sound set
// of correlations), so the minimum is the only stationary point: Newton steps on
// the tolerances not held at a limit, each halved until the sum falls enough.
// `t` comes with the elements' own stationary tolerances and leaves with the
// group's.
void solveGroup(const Model& m, const CoupledGroup& g, long double x, std::vector<long double>& t, NewtonRoom& room) {
    constexpr long double kRounding = 64 * std::numeric_limits<long double>::epsilon();
    const std::size_t n = g.members.size();
    std::vector<long double>& u = room.u;
    std::vector<long double>& lo = room.lo;
    std::vector<long double>& hi = room.hi;
    u.resize(n);
    lo.resize(n);
    hi.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        const Item& item = m.items[g.members[k]];
        u[k] = t[g.members[k]];
        lo[k] = item.minTolerance;
        hi[k] = std::max(item.minTolerance, item.maxTolerance);
    }
    // Half the derivative of the variance by each tolerance: Σ_j q_ij t_j + l_i.
    const auto halfSlope = [&](const std::vector<long double>& v, std::size_t i) {
        long double sum = g.linear[i];
        for (std::size_t j = 0; j < n; ++j) sum += g.quadratic[i * n + j] * v[j];
        return sum;
    };
    const auto objective = [&](const std::vector<long double>& v) {
        long double cost = 0;
        long double variance = 0;
        for (std::size_t i = 0; i < n; ++i) {
            cost += toleranceCost(m.items[g.members[i]].cost, v[i]);
            variance += v[i] * (halfSlope(v, i) + g.linear[i]);
        }
        return cost + variance / x;
    };
    long double value = objective(u);
    if (!std::isfinite(value)) return;
    std::vector<long double>& gradient = room.gradient;
    std::vector<long double>& hessian = room.hessian;
    std::vector<long double>& direction = room.direction;
    std::vector<long double>& trial = room.trial;
    std::vector<char>& free = room.free;
    gradient.resize(n);
    hessian.resize(n * n);
    trial.resize(n);
    free.resize(n);
    for (int iteration = 0; iteration < 100; ++iteration) {
        for (std::size_t i = 0; i < n; ++i) {
            const CostCurve c = costCurve(m.items[g.members[i]].cost, u[i]);
            gradient[i] = c.slope + 2 * halfSlope(u, i) / x;
            for (std::size_t j = 0; j < n; ++j) hessian[i * n + j] = 2 * g.quadratic[i * n + j] / x;
            hessian[i * n + i] += c.curvature;
            free[i] = !((u[i] <= lo[i] && gradient[i] > 0) || (u[i] >= hi[i] && gradient[i] < 0));
        }
        // A free tolerance at a limit whose step would leave it is held there too.
        bool solved = false;
        for (std::size_t round = 0; round <= n; ++round) {
            if (!newtonDirection(hessian, gradient, free, direction, room)) break;
            bool held = false;
            for (std::size_t i = 0; i < n; ++i) {
                if (free[i] != 0 && ((u[i] <= lo[i] && direction[i] < 0) || (u[i] >= hi[i] && direction[i] > 0))) {
                    free[i] = 0;
                    held = true;
                }
            }
            if (!held) {
                solved = true;
                break;
            }
        }
        if (!solved) break;
        bool moved = false;
        long double step = 1;
        long double trialValue = value;
        for (int halving = 0; halving < 60 && !moved; ++halving, step /= 2) {
            long double descent = 0;
            for (std::size_t i = 0; i < n; ++i) {
                trial[i] = std::clamp(u[i] + step * direction[i], lo[i], hi[i]);
                descent += gradient[i] * (trial[i] - u[i]);
            }
            if (!(descent < 0)) break;
            trialValue = objective(trial);
            // Near the minimum the sum falls by less than its rounding: a step that
            // does not raise it beyond that is taken, so that Newton converges to
            // the last digits, not only to the square root of the precision.
            moved = trialValue <= value + 1e-4L * descent || trialValue <= value + kRounding * std::fabs(value);
        }
        if (!moved) break;
        long double change = 0;
        long double size = 0;
        for (std::size_t i = 0; i < n; ++i) {
            change = std::max(change, std::fabs(trial[i] - u[i]));
            size = std::max(size, std::fabs(u[i]));
        }
        u.swap(trial);
        value = trialValue;
        if (change <= 1e-16L * size) break;
    }
    for (std::size_t k = 0; k < n; ++k) t[g.members[k]] = u[k];
}

Outcome leastCost(const Model& m) {
    long double logSum = 0;
    int count = 0;
    for (const Item& item : m.items) {
        if (item.fixed) continue;
        logSum += logCentre(item);
        ++count;
    }
    // Kept well inside the range of long double, whatever the costs and tolerances.
    const long double centre = count > 0 ? std::exp(std::clamp(logSum / count, -5000.0L, 5000.0L)) : 1;
    const auto toleranceAt = [](const Item& item, long double x) {
        return clampTolerance(item, stationaryTolerance(item, x));
    };
    const std::vector<CoupledGroup> groups = coupledGroups(m);
    NewtonRoom room;
    // At x = 0 every element is at its tightest, pairs or not.
    const auto link = [&](long double x, std::vector<long double>& t) {
        if (groups.empty() || !(x > 0)) return false;
        for (std::size_t i = 0; i < m.items.size(); ++i) {
            if (!m.items[i].fixed) t[i] = toleranceAt(m.items[i], x);
        }
        for (const CoupledGroup& g : groups) solveGroup(m, g, x, t, room);
        return true;
    };
    return loosestMeeting(m, toleranceAt, link, centre);
}

std::optional<long double> finite(long double v) { return std::isfinite(v) ? std::optional<long double>(v) : std::nullopt; }

bool sameState(const ToleranceState& a, const ToleranceState& b) { return a.upper == b.upper && a.lower == b.lower; }

bool atTightest(const Item& item, const ToleranceState& s) {
    if (item.fixed) return false;
    if (item.hasGrades()) return sameState(s, item.grades->front());
    return s.tolerance() <= item.minTolerance * (1 + 1e-12L);
}

void describe(Allocation& a, const Model& m, const Outcome& chosen, const Outcome& baseline) {
    a.feasible = chosen.feasible;
    a.predicted = chosen.figures;
    a.cost = chosen.cost;
    a.proportionalCost = baseline.cost;
    for (std::size_t i = 0; i < m.items.size(); ++i) {
        const Item& item = m.items[i];
        AllocatedElement e;
        e.element = item.element;
        e.sensitivity = item.sensitivity;
        e.fixed = item.fixed;
        e.before = item.before;
        e.after = chosen.states[i];
        if (!sameState(e.after, e.before) && !item.hasGrades()) {
            e.after.iso.clear();
            e.after.generalClass.clear();
        } else if (!item.hasGrades()) {
            e.after = e.before;
        }
        e.atLimit = atTightest(item, e.after);
        if (!item.fixed) {
            e.costBefore = finite(toleranceCost(item.cost, e.before.tolerance()));
            e.costAfter = finite(toleranceCost(item.cost, e.after.tolerance()));
        }
        a.elements.push_back(std::move(e));
    }
    std::sort(a.elements.begin(), a.elements.end(),
              [](const AllocatedElement& x, const AllocatedElement& y) { return x.element < y.element; });
}

} // namespace

namespace allocation {

ToleranceState scaled(const Item& item, long double t) {
    ToleranceState s;
    s.upper = t * (item.midpointRatio + 0.5L);
    s.lower = t * (item.midpointRatio - 0.5L);
    return s;
}

AllocationFigures Model::figures(long double mean, long double variance) const {
    AllocationFigures f;
    f.mean = mean;
    f.sigma = std::sqrt(std::max(variance, 0.0L));
    if (f.sigma > 0) {
        if (limits.lower) f.ppmBelow = normalPpmAbove((mean - *limits.lower) / f.sigma);
        if (limits.upper) f.ppmAbove = normalPpmAbove((*limits.upper - mean) / f.sigma);
    } else {
        if (limits.lower && mean < *limits.lower) f.ppmBelow = 1e6L;
        if (limits.upper && mean > *limits.upper) f.ppmAbove = 1e6L;
    }
    std::optional<long double> nearest;
    if (limits.upper) nearest = *limits.upper - mean;
    if (limits.lower) nearest = std::min(nearest.value_or(mean - *limits.lower), mean - *limits.lower);
    if (nearest) {
        // Without spread every part has the mean: within the limits is as good as it gets.
        f.cpk = f.sigma > 0 ? *nearest / (3 * f.sigma) : (*nearest >= 0 ? kInfinite : -kInfinite);
    }
    return f;
}

AllocationFigures Model::figuresOf(const std::vector<ToleranceState>& states) const {
    long double mean = nominal;
    long double variance = 0;
    std::vector<long double> variances(pairs.empty() ? 0 : items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        mean += meanPart(items[i], states[i]);
        const long double v = variancePart(items[i], states[i]);
        variance += v;
        if (!pairs.empty()) variances[i] = v;
    }
    return figures(mean, withCovariance(variance, variances));
}

long double Model::shortfall(const AllocationFigures& f) const {
    if (target.ppm) return f.ppmBelow + f.ppmAbove;
    return f.cpk ? -*f.cpk : kInfinite;
}

long double Model::costOf(const std::vector<ToleranceState>& states) const {
    long double sum = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].fixed) sum += toleranceCost(items[i].cost, states[i].tolerance());
    }
    return sum;
}

} // namespace allocation

std::string_view allocationMethodName(AllocationMethod method) {
    for (const auto& [m, name] : kMethods) {
        if (m == method) return name;
    }
    return {};
}

std::optional<AllocationMethod> allocationMethodFromName(std::string_view name) {
    for (const auto& [m, n] : kMethods) {
        if (n == name) return m;
    }
    return std::nullopt;
}

bool meetsTarget(const AllocationTarget& target, const AllocationFigures& f, long double margin) {
    if (target.ppm) return f.ppmBelow + f.ppmAbove <= *target.ppm * (1 - margin);
    if (target.cpk) return f.cpk && *f.cpk >= *target.cpk * (1 + margin);
    return true;
}

Allocator::Allocator(const Chain& chain, const AnalysisData& data)
    : m_chain(chain), m_data(data), m_grades(static_cast<std::size_t>(chain.elementCount()) + 1) {}

Allocator::~Allocator() = default;

const Allocator::Grades& Allocator::gradesOf(int element) {
    std::unique_ptr<Grades>& grades = m_grades.at(static_cast<std::size_t>(element));
    if (grades) return *grades;
    grades = std::make_unique<Grades>();
    const Element& e = m_chain.element(element);
    grades->generalClass = allocation::generalClassOf(e);
    const ElementFreedom freedom = m_data.allocation.freedomOf(element);
    grades->choices = allocation::gradesOf(e, freedom.minTolerance.value_or(0), freedom.maxTolerance.value_or(kInfinite));
    return *grades;
}

Allocation Allocator::allocate(const ClosingSolution& solution, int closing, AllocationMethod method) {
    const Chain& chain = m_chain;
    const AnalysisData& data = m_data;
    Allocation a;
    a.closing = closing;
    a.method = method;
    a.target = data.allocation.targetOf(closing);
    a.limits = data.limitsOf(closing);
    a.text = oemToUtf8(chain.closing(closing).text.view());
    a.fromElement = solution.fromElement;
    a.toElement = solution.toElement;
    if (!solution.resolved) {
        a.problem = oemToUtf8(solution.structureError.view());
        return a;
    }
    if (!a.target.any() || !a.limits.any()) {
        a.problem = "no target (targetPpm or targetCpk with a required limit) in the settings file";
        return a;
    }
    if (!(chain.productionSigma > 0)) {
        a.problem = "production sigma is not positive: the statistical method cannot judge";
        return a;
    }
    Model m = buildModel(chain, solution, data, method, [this](int n) -> const Grades& { return gradesOf(n); });
    m.limits = a.limits;
    m.target = a.target;
    std::vector<ToleranceState> before;
    for (const Item& item : m.items) before.push_back(item.before);
    a.before = m.figuresOf(before);
    a.costBefore = m.costOf(before);

    const Outcome baseline = proportional(m);
    Outcome chosen = baseline;
    if (method == AllocationMethod::Cost) {
        chosen = leastCost(m);
        // The multiplier's family is optimal only where the mean stays put; the
        // one-factor family is the promise it must keep.
        if (baseline.feasible && (!chosen.feasible || chosen.cost > baseline.cost)) {
            chosen = baseline;
            a.proportionalKept = true;
        }
    } else if (method == AllocationMethod::Iso) {
        chosen = allocation::searchGrades(m);
    }
    describe(a, m, chosen, baseline);
    return a;
}

Allocation allocateClosing(const Chain& chain, const ClosingSolution& solution, int closing, const AnalysisData& data,
                           AllocationMethod method) {
    return Allocator(chain, data).allocate(solution, closing, method);
}

void applyAllocation(Chain& chain, const Allocation& allocation) {
    for (const AllocatedElement& e : allocation.elements) {
        if (e.fixed) continue;
        Element& el = chain.element(e.element);
        el.upperDev = e.after.upper;
        el.lowerDev = e.after.lower;
        if (e.after.iso.empty()) {
            el.isoLetters.clear();
            el.isoGrade = 0;
            continue;
        }
        // The code keeps its letters; the grade is the digits at its end.
        std::size_t digits = e.after.iso.size();
        while (digits > 0 && e.after.iso[digits - 1] >= '0' && e.after.iso[digits - 1] <= '9') --digits;
        el.isoLetters = std::string_view(e.after.iso).substr(0, digits);
        el.isoGrade = static_cast<std::uint8_t>(std::stoi(e.after.iso.substr(digits)));
    }
}

} // namespace zam1
