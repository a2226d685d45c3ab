// The iso method: each element that may change picks one of its grades; the
// cheapest set that meets the target, judged with the covariance terms of the
// correlated pairs on the path.

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <tuple>

#include "core/analysis/allocation_model.h"
#include "core/analysis/normal.h"
#include "core/standards/general_tolerance.h"
#include "core/standards/iso286.h"

namespace zam1::allocation {
namespace {

constexpr int kFinestGrade = 5;
constexpr int kCoarsestGrade = 16;
constexpr std::string_view kGeneralClasses = "fmcv";
constexpr long double kSameDeviation = 1e-9L;  // mm
// Below this many combinations every one is tried.
constexpr double kEnumerationLimit = 1e6;
// Exchanging one grade against another is tried pair by pair up to this many elements.
constexpr std::size_t kExchangeLimit = 200;

std::optional<GeneralTolerance> iso2768(int classIndex, long double nominalMm) {
    GeneralToleranceSetting setting;
    setting.standardCode = static_cast<std::uint16_t>(kIso2768Fine + classIndex);
    return generalToleranceFor(nominalMm, setting);
}

bool withinLimits(long double t, long double minTolerance, long double maxTolerance) {
    return t > 0 && t >= minTolerance * (1 - 1e-12L) && t <= maxTolerance * (1 + 1e-12L);
}

// One element's grades as the sums see them, tightest first.
struct Chooser {
    std::size_t item = 0;
    std::vector<long double> mean;
    std::vector<long double> variance;
    std::vector<long double> cost;
    std::size_t at = 0;  // the grade taken

    std::size_t loosest() const { return cost.size() - 1; }
};

class GradeSearch {
public:
    explicit GradeSearch(const Model& m)
        : m_model(m), m_variances(m.items.size(), 0), m_pairsOf(m.items.size()), m_chooserOf(m.items.size(), kNone) {
        for (std::size_t i = 0; i < m.items.size(); ++i) {
            const Item& item = m.items[i];
            m_variances[i] = m.variancePart(item, item.before);
            if (!item.hasGrades()) {
                m_fixedMean += m.meanPart(item, item.before);
                m_fixedVariance += m.variancePart(item, item.before);
                continue;
            }
            m_chooserOf[i] = m_choosers.size();
            Chooser c;
            c.item = i;
            for (const ToleranceState& g : *item.grades) {
                c.mean.push_back(m.meanPart(item, g));
                c.variance.push_back(m.variancePart(item, g));
                c.cost.push_back(toleranceCost(item.cost, g.tolerance()));
            }
            m_choosers.push_back(std::move(c));
        }
        m_partners.resize(m_choosers.size());
        for (std::size_t k = 0; k < m.pairs.size(); ++k) {
            const PathPair& p = m.pairs[k];
            m_pairsOf[p.first].push_back(k);
            m_pairsOf[p.second].push_back(k);
            const std::size_t a = m_chooserOf[p.first];
            const std::size_t b = m_chooserOf[p.second];
            if (a != kNone && b != kNone) {
                m_partners[a].push_back(b);
                m_partners[b].push_back(a);
            }
        }
    }

    Outcome run() {
        double combinations = 1;
        for (const Chooser& c : m_choosers) {
            combinations *= static_cast<double>(c.cost.size());
            if (combinations >= kEnumerationLimit) break;
        }
        if (combinations < kEnumerationLimit) {
            enumerate();
        } else {
            search();
        }
        return outcome();
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // `variance` the sum of the elements' variances; the covariance terms come
    // from the grades taken (m_variances), summed afresh.
    bool meets(long double mean, long double variance) const {
        return m_model.meets(m_model.figures(mean, m_model.withCovariance(variance, m_variances)));
    }
    // The grades taken, the covariance terms kept up to date by take().
    bool meetsNow() const { return m_model.meets(m_model.figures(m_mean, varianceNow())); }
    long double varianceNow() const { return m_model.withCovarianceTerms(m_variance, m_covariance); }

    void take(Chooser& c, std::size_t grade) {
        m_mean += c.mean[grade] - c.mean[c.at];
        m_variance += c.variance[grade] - c.variance[c.at];
        m_covariance += covarianceChange(c.item, c.variance[c.at], c.variance[grade]);
        c.at = grade;
        m_variances[c.item] = c.variance[grade];
    }

    // How the covariance terms change when the element at `item` goes from
    // variance `from` to `to`, its partners as they are.
    long double covarianceChange(std::size_t item, long double from, long double to) const {
        long double change = 0;
        for (std::size_t k : m_pairsOf[item]) {
            const PathPair& p = m_model.pairs[k];
            const long double partner = m_variances[p.first == item ? p.second : p.first];
            change += 2 * (halfCovariance(p, to, partner) - halfCovariance(p, from, partner));
        }
        return change;
    }

    // The running sum of the covariance terms summed afresh, so that rounding does not gather.
    void resumCovariance() {
        if (!m_model.pairs.empty()) m_covariance = covarianceTerms(m_model.pairs, m_variances);
    }

    // What one step tighter saves of the closing dimension's variance, the
    // covariance terms with the partners' grades of now included.
    long double savedByTightening(const Chooser& c) const {
        return c.variance[c.at] - c.variance[c.at - 1] - covarianceChange(c.item, c.variance[c.at], c.variance[c.at - 1]);
    }

    void setAll(bool tightest) {
        m_mean = m_model.nominal + m_fixedMean;
        m_variance = m_fixedVariance;
        for (Chooser& c : m_choosers) {
            c.at = tightest ? 0 : c.loosest();
            m_mean += c.mean[c.at];
            m_variance += c.variance[c.at];
            m_variances[c.item] = c.variance[c.at];
        }
        resumCovariance();
    }

    // Branch and bound over every combination, loosest grades first; a branch
    // whose cost, with the cheapest grades for the rest, reaches the best found is cut.
    void enumerate() {
        std::vector<long double> cheapestRest(m_choosers.size() + 1, 0);
        for (std::size_t i = m_choosers.size(); i-- > 0;) {
            cheapestRest[i] = cheapestRest[i + 1] + m_choosers[i].cost.back();
        }
        std::vector<std::size_t> current(m_choosers.size(), 0);
        std::vector<std::size_t> best;
        long double bestCost = kInfinite;
        const auto visit = [&](auto& self, std::size_t i, long double mean, long double variance, long double cost) {
            if (cost + cheapestRest[i] >= bestCost) return;
            if (i == m_choosers.size()) {
                if (meets(mean, variance)) {
                    bestCost = cost;
                    best = current;
                }
                return;
            }
            const Chooser& c = m_choosers[i];
            for (std::size_t g = c.cost.size(); g-- > 0;) {
                current[i] = g;
                m_variances[c.item] = c.variance[g];
                self(self, i + 1, mean + c.mean[g], variance + c.variance[g], cost + c.cost[g]);
            }
        };
        visit(visit, 0, m_model.nominal + m_fixedMean, m_fixedVariance, 0);
        setAll(true);
        if (best.empty()) return;
        for (std::size_t i = 0; i < m_choosers.size(); ++i) take(m_choosers[i], best[i]);
    }

    std::vector<std::size_t> taken() const {
        std::vector<std::size_t> grades;
        grades.reserve(m_choosers.size());
        for (const Chooser& c : m_choosers) grades.push_back(c.at);
        return grades;
    }
    long double costNow() const {
        long double sum = 0;
        for (const Chooser& c : m_choosers) sum += c.cost[c.at];
        return sum;
    }
    void takeAll(const std::vector<std::size_t>& grades) {
        setAll(true);
        for (std::size_t i = 0; i < m_choosers.size(); ++i) take(m_choosers[i], grades[i]);
        resumCovariance();
    }

    // A variance above which no mean can meet the target: the spread that puts the
    // target's share beyond the limits even with the mean in their middle. Lets
    // the greedy steps skip the tail probabilities while they are far off.
    long double varianceBound() const {
        const RequiredLimits& l = m_model.limits;
        if (!l.lower || !l.upper) return kInfinite;
        const long double half = (*l.upper - *l.lower) / 2;
        long double sigma = kInfinite;
        if (m_model.target.cpk) sigma = half / (3 * *m_model.target.cpk);
        if (m_model.target.ppm) {
            sigma = half / -static_cast<long double>(inverseNormal(static_cast<double>(*m_model.target.ppm / 2e6L)));
        }
        return sigma * sigma * (1 + 1e-6L);
    }

    // Greedy, then improved; where that misses the target, improved from the
    // grades the chain has: tightening moves the mean where a letter has a fixed
    // deviation (g, k, H, h), so the grades of today may meet a target that finer ones miss.
    void search() {
        std::vector<std::size_t> best;
        long double bestCost = kInfinite;
        const auto keep = [&] {
            improve();
            if (costNow() < bestCost) {
                bestCost = costNow();
                best = taken();
            }
        };
        if (greedy()) keep();
        if (best.empty() && fromToday()) keep();
        if (best.empty()) {
            setAll(true);
        } else {
            takeAll(best);
        }
    }

    // Today's grade of every element, when each is one of its choices and they meet the target.
    bool fromToday() {
        std::vector<std::size_t> today;
        for (const Chooser& c : m_choosers) {
            const Item& item = m_model.items[c.item];
            const auto& grades = *item.grades;
            const auto same = [&](const ToleranceState& g) {
                return g.upper == item.before.upper && g.lower == item.before.lower;
            };
            const auto at = std::find_if(grades.begin(), grades.end(), same);
            if (at == grades.end()) return false;
            today.push_back(static_cast<std::size_t>(at - grades.begin()));
        }
        takeAll(today);
        return meetsNow();
    }

    // From the loosest grades, tighten one step at a time where a step costs least
    // per variance it saves, until the target is met. A step that saves no
    // variance comes last. False when even the finest grades miss it.
    bool greedy() {
        setAll(true);
        if (!meetsNow()) return false;
        setAll(false);
        // The order of steps needs no extended precision; small keys keep the heap quick.
        // A step of a correlated partner changes what the element's next step
        // saves: its step is pushed again and the one before is stale.
        using Step = std::tuple<double, std::size_t, std::size_t>;  // cost per variance saved, chooser, version
        std::priority_queue<Step, std::vector<Step>, std::greater<>> steps;
        std::vector<std::size_t> version(m_choosers.size(), 0);
        const auto push = [&](std::size_t i) {
            const Chooser& c = m_choosers[i];
            if (c.at == 0) return;
            const long double saved = savedByTightening(c);
            const long double extra = c.cost[c.at - 1] - c.cost[c.at];
            steps.push({saved > 0 ? static_cast<double>(extra / saved) : std::numeric_limits<double>::infinity(), i,
                        version[i]});
        };
        for (std::size_t i = 0; i < m_choosers.size(); ++i) push(i);
        const long double bound = varianceBound();
        while ((varianceNow() > bound || !meetsNow()) && !steps.empty()) {
            const auto [key, i, seen] = steps.top();
            steps.pop();
            if (seen != version[i]) continue;
            take(m_choosers[i], m_choosers[i].at - 1);
            push(i);
            for (std::size_t j : m_partners[i]) {
                ++version[j];
                push(j);
            }
        }
        return meetsNow();
    }

    // Loosens any grade the target can spare, largest saving first, then tries
    // loosening one grade while tightening another where that is cheaper.
    void improve() {
        for (int round = 0; round < 50; ++round) {
            resumCovariance();
            loosen();
            if (m_choosers.size() > kExchangeLimit || !exchange()) return;
        }
    }

    void loosen() {
        std::vector<std::size_t> order(m_choosers.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::vector<long double> saving(m_choosers.size(), 0);
        for (std::size_t i = 0; i < saving.size(); ++i) {
            const Chooser& c = m_choosers[i];
            if (c.at < c.loosest()) saving[i] = c.cost[c.at] - c.cost[c.at + 1];
        }
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return saving[a] > saving[b]; });
        for (std::size_t i : order) {
            Chooser& c = m_choosers[i];
            while (c.at < c.loosest()) {
                const std::size_t from = c.at;
                take(c, from + 1);
                if (meetsNow()) continue;
                take(c, from);
                break;
            }
        }
    }

    // The first exchange of one step looser against one step tighter that costs
    // less and still meets the target; false when there is none.
    bool exchange() {
        for (Chooser& a : m_choosers) {
            if (a.at == a.loosest()) continue;
            const long double gain = a.cost[a.at] - a.cost[a.at + 1];
            for (Chooser& b : m_choosers) {
                if (&a == &b || b.at == 0) continue;
                if (b.cost[b.at - 1] - b.cost[b.at] >= gain * (1 - 1e-12L)) continue;
                const std::size_t aFrom = a.at;
                const std::size_t bFrom = b.at;
                take(a, aFrom + 1);
                take(b, bFrom - 1);
                if (meetsNow()) return true;
                take(b, bFrom);
                take(a, aFrom);
            }
        }
        return false;
    }

    Outcome outcome() const {
        std::vector<ToleranceState> states;
        states.reserve(m_model.items.size());
        for (const Item& item : m_model.items) states.push_back(item.before);
        for (const Chooser& c : m_choosers) states[c.item] = (*m_model.items[c.item].grades)[c.at];
        Outcome o;
        o.figures = m_model.figuresOf(states);
        o.feasible = m_model.meets(o.figures);
        o.cost = m_model.costOf(states);
        o.states = std::move(states);
        return o;
    }

    const Model& m_model;
    std::vector<Chooser> m_choosers;
    std::vector<long double> m_variances;              // by item: the variance of the grade taken
    std::vector<std::vector<std::size_t>> m_pairsOf;   // by item: its pairs in m_model.pairs
    std::vector<std::size_t> m_chooserOf;              // by item: its chooser, kNone without one
    std::vector<std::vector<std::size_t>> m_partners;  // by chooser: the choosers paired with it
    long double m_fixedMean = 0;
    long double m_fixedVariance = 0;
    long double m_mean = 0;
    long double m_variance = 0;
    long double m_covariance = 0;  // the covariance terms of the grades taken
};

} // namespace

std::vector<ToleranceState> gradesOf(const Element& element, long double minTolerance, long double maxTolerance) {
    std::vector<ToleranceState> grades;
    if (element.hasIsoCode()) {
        for (int grade = kFinestGrade; grade <= kCoarsestGrade; ++grade) {
            std::string letters(element.isoLetters.view());
            IsoStepPositions positions;
            const auto r = IsoDeviations(letters, grade, element.distance, positions);
            if (!r || r->isError()) continue;
            ToleranceState s;
            s.upper = r->upperUm * 0.001L;
            s.lower = r->lowerUm * 0.001L;
            s.iso = std::string(element.isoLetters.view()) + std::to_string(grade);
            if (withinLimits(s.tolerance(), minTolerance, maxTolerance)) grades.push_back(std::move(s));
        }
    } else if (const std::string own = generalClassOf(element); !own.empty()) {
        for (std::size_t i = 0; i < kGeneralClasses.size(); ++i) {
            const auto g = iso2768(static_cast<int>(i), element.distance);
            if (!g) continue;
            ToleranceState s;
            s.upper = g->upperMm;
            s.lower = g->lowerMm;
            s.generalClass = std::string(1, kGeneralClasses[i]);
            if (withinLimits(s.tolerance(), minTolerance, maxTolerance)) grades.push_back(std::move(s));
        }
    }
    std::stable_sort(grades.begin(), grades.end(),
                     [](const ToleranceState& a, const ToleranceState& b) { return a.tolerance() < b.tolerance(); });
    return grades;
}

std::string generalClassOf(const Element& element) {
    if (element.hasIsoCode()) return {};
    for (std::size_t i = 0; i < kGeneralClasses.size(); ++i) {
        const auto g = iso2768(static_cast<int>(i), element.distance);
        if (g && std::fabs(g->upperMm - element.upperDev) <= kSameDeviation &&
            std::fabs(g->lowerMm - element.lowerDev) <= kSameDeviation) {
            return std::string(1, kGeneralClasses[i]);
        }
    }
    return {};
}

Outcome searchGrades(const Model& model) { return GradeSearch(model).run(); }

} // namespace zam1::allocation
