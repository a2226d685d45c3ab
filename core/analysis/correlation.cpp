#include "core/analysis/correlation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <utility>

namespace zam1 {
namespace {

// A remaining variance at or below this is none: the element is fixed by the
// ones before it (r = ±1 and the like; the rounding of r leaves a few 1e-16).
constexpr long double kPivotTolerance = 1e-10L;
// Where no variance remains, a covariance beyond this means a 2 x 2 minor
// below 0: no matrix of correlations.
constexpr long double kCovarianceTolerance = 1e-9L;
// An impossible set of at most this many elements is narrowed to the ones that make it so.
constexpr std::size_t kMaxNarrowedSet = 64;

struct Factor {
    bool semiDefinite = true;
    std::vector<std::size_t> order;  // positions in the matrix, pivots first
    int rank = 0;
    std::vector<long double> lower;  // m x m, row i for order[i]
};

// Pivoted Cholesky of the symmetric m x m matrix `a` (row-major): at each step
// the largest remaining variance becomes the pivot (the first on a tie); when
// none above kPivotTolerance remains, what is left must be zero within the
// tolerances, else the matrix is not positive semi-definite.
Factor pivotedCholesky(std::vector<long double> a, std::size_t m) {
    Factor f;
    f.order.resize(m);
    std::iota(f.order.begin(), f.order.end(), std::size_t{0});
    f.lower.assign(m * m, 0.0L);
    const auto at = [&a, m](std::size_t i, std::size_t j) -> long double& { return a[i * m + j]; };
    std::size_t k = 0;
    for (; k < m; ++k) {
        std::size_t pivot = k;
        for (std::size_t i = k + 1; i < m; ++i) {
            if (at(i, i) > at(pivot, pivot)) pivot = i;
        }
        if (!(at(pivot, pivot) > kPivotTolerance)) break;
        if (pivot != k) {
            for (std::size_t j = 0; j < m; ++j) std::swap(at(k, j), at(pivot, j));
            for (std::size_t i = 0; i < m; ++i) std::swap(at(i, k), at(i, pivot));
            for (std::size_t j = 0; j < k; ++j) std::swap(f.lower[k * m + j], f.lower[pivot * m + j]);
            std::swap(f.order[k], f.order[pivot]);
        }
        const long double d = std::sqrt(at(k, k));
        f.lower[k * m + k] = d;
        for (std::size_t i = k + 1; i < m; ++i) f.lower[i * m + k] = at(i, k) / d;
        for (std::size_t i = k + 1; i < m; ++i) {
            for (std::size_t j = k + 1; j < m; ++j) at(i, j) -= f.lower[i * m + k] * f.lower[j * m + k];
        }
    }
    f.rank = static_cast<int>(k);
    for (std::size_t i = k; i < m; ++i) {
        if (at(i, i) < -kPivotTolerance) f.semiDefinite = false;
        for (std::size_t j = k; j < m; ++j) {
            if (i != j && std::fabs(at(i, j)) > kCovarianceTolerance) f.semiDefinite = false;
        }
    }
    return f;
}

// The correlation matrix of `members` (element numbers) from the pairs among them.
std::vector<long double> matrixOf(const std::vector<int>& members, const std::vector<Correlation>& pairs) {
    const std::size_t m = members.size();
    std::map<int, std::size_t> position;
    for (std::size_t i = 0; i < m; ++i) position[members[i]] = i;
    std::vector<long double> a(m * m, 0.0L);
    for (std::size_t i = 0; i < m; ++i) a[i * m + i] = 1;
    for (const Correlation& c : pairs) {
        const auto p = position.find(c.first);
        const auto q = position.find(c.second);
        if (p == position.end() || q == position.end()) continue;
        a[p->second * m + q->second] = c.r;
        a[q->second * m + p->second] = c.r;
    }
    return a;
}

bool semiDefinite(const std::vector<int>& members, const std::vector<Correlation>& pairs) {
    return pivotedCholesky(matrixOf(members, pairs), members.size()).semiDefinite;
}

// Elements linked by pairs, each group in the order `order` lists its elements.
std::vector<std::vector<int>> linkedGroups(const std::vector<Correlation>& pairs, const std::vector<int>& order) {
    std::map<int, int> parent;
    for (int n : order) parent[n] = n;
    const auto root = [&parent](int n) {
        while (parent[n] != n) n = parent[n] = parent[parent[n]];
        return n;
    };
    for (const Correlation& c : pairs) {
        if (parent.count(c.first) == 0 || parent.count(c.second) == 0) continue;
        const int a = root(c.first);
        const int b = root(c.second);
        if (a != b) parent[std::max(a, b)] = std::min(a, b);
    }
    std::map<int, std::size_t> groupOf;
    std::vector<std::vector<int>> groups;
    for (int n : order) {
        const int r = root(n);
        const auto [it, fresh] = groupOf.emplace(r, groups.size());
        if (fresh) groups.emplace_back();
        groups[it->second].push_back(n);
    }
    return groups;
}

std::string numberText(long double value) {
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 6);
    return std::string(buffer, r.ptr);
}

std::string pairText(const Correlation& c) { return std::to_string(c.first) + ", " + std::to_string(c.second); }

std::optional<CorrelationProblem> entryProblem(const std::vector<Correlation>& pairs, std::size_t i, int elementCount,
                                               std::set<std::pair<int, int>>& seen) {
    const Correlation& c = pairs[i];
    if (!std::isfinite(c.r)) return CorrelationProblem{i, "r", "must be a finite number"};
    if (c.r < -1 || c.r > 1) return CorrelationProblem{i, "r", "must be -1 to 1"};
    for (int n : {c.first, c.second}) {
        if (n < 1 || n > elementCount) {
            return CorrelationProblem{i, "elements", "the project has no element " + std::to_string(n)};
        }
    }
    if (c.first == c.second) {
        return CorrelationProblem{i, "elements", "element " + std::to_string(c.first) + " is paired with itself"};
    }
    if (!seen.insert({std::min(c.first, c.second), std::max(c.first, c.second)}).second) {
        return CorrelationProblem{i, "elements", "the pair " + pairText(c) + " is named twice"};
    }
    return std::nullopt;
}

} // namespace

std::optional<CorrelationProblem> correlationProblem(const std::vector<Correlation>& pairs, int elementCount) {
    std::set<std::pair<int, int>> seen;
    std::vector<int> appearance;
    std::set<int> named;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (auto problem = entryProblem(pairs, i, elementCount, seen)) return problem;
        for (int n : {pairs[i].first, pairs[i].second}) {
            if (named.insert(n).second) appearance.push_back(n);
        }
    }
    for (const std::vector<int>& group : linkedGroups(pairs, appearance)) {
        if (semiDefinite(group, pairs)) continue;
        // Leading sets of a semi-definite matrix are semi-definite: the first
        // one that is not lies where a bisection finds it.
        std::size_t good = 1;
        std::size_t bad = group.size();
        while (bad - good > 1) {
            const std::size_t mid = (good + bad) / 2;
            const std::vector<int> leading(group.begin(), group.begin() + static_cast<std::ptrdiff_t>(mid));
            (semiDefinite(leading, pairs) ? good : bad) = mid;
        }
        // Elements of it without which it is still impossible are left out (all
        // but the last, which made it so), while the set is small enough to try.
        std::vector<int> impossible(group.begin(), group.begin() + static_cast<std::ptrdiff_t>(bad));
        if (impossible.size() <= kMaxNarrowedSet) {
            for (std::size_t i = impossible.size() - 1; i-- > 0;) {
                std::vector<int> fewer(impossible);
                fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(i));
                if (!semiDefinite(fewer, pairs)) impossible = std::move(fewer);
            }
        }
        const std::set<int> within(impossible.begin(), impossible.end());
        std::size_t last = 0;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            if (within.count(pairs[i].first) != 0 && within.count(pairs[i].second) != 0) last = i;
        }
        std::string elements;
        for (int n : impossible) elements += (elements.empty() ? "" : ", ") + std::to_string(n);
        return CorrelationProblem{
            last, "",
            "the pair " + pairText(pairs[last]) + " (r = " + numberText(pairs[last].r) +
                ") with the pairs before it makes the correlations of elements " + elements +
                " impossible (their matrix is not positive semi-definite; a pair not named has r = 0)"};
    }
    return std::nullopt;
}

std::vector<CorrelationGroup> correlationGroups(const std::vector<Correlation>& pairs, const std::vector<int>& members) {
    std::vector<int> order(members);
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    std::vector<CorrelationGroup> out;
    for (const std::vector<int>& group : linkedGroups(pairs, order)) {
        if (group.size() < 2) continue;
        const std::size_t m = group.size();
        const Factor f = pivotedCholesky(matrixOf(group, pairs), m);
        CorrelationGroup g;
        g.rank = f.rank;
        const auto rank = static_cast<std::size_t>(f.rank);
        for (std::size_t i = 0; i < m; ++i) {
            g.members.push_back(group[f.order[i]]);
            for (std::size_t j = 0; j < rank; ++j) g.factor.push_back(static_cast<double>(f.lower[i * m + j]));
        }
        out.push_back(std::move(g));
    }
    return out;
}

std::vector<Correlation> pairsWithin(const std::vector<Correlation>& pairs, const std::vector<int>& path) {
    const std::set<int> on(path.begin(), path.end());
    std::vector<Correlation> out;
    for (const Correlation& c : pairs) {
        if (on.count(c.first) != 0 && on.count(c.second) != 0) out.push_back(c);
    }
    return out;
}

} // namespace zam1
