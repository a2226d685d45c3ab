#include "core/analysis/path_covariance.h"

#include <map>

namespace zam1 {

std::vector<PathPair> pathPairs(const std::vector<Correlation>& pairs, const std::vector<int>& elements,
                                const std::vector<int>& sensitivities) {
    std::vector<PathPair> out;
    if (pairs.empty()) return out;
    std::map<int, std::size_t> at;
    for (std::size_t i = 0; i < elements.size(); ++i) at[elements[i]] = i;
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const Correlation& p = pairs[k];
        const auto i = at.find(p.first);
        const auto j = at.find(p.second);
        if (i == at.end() || j == at.end()) continue;
        PathPair q;
        q.pair = k;
        q.first = i->second;
        q.second = j->second;
        q.r = p.r * sensitivities[i->second] * sensitivities[j->second];
        out.push_back(q);
    }
    return out;
}

long double covarianceTerms(const std::vector<PathPair>& pairs, const std::vector<long double>& variances) {
    long double sum = 0;
    for (const PathPair& p : pairs) sum += 2 * halfCovariance(p, variances[p.first], variances[p.second]);
    return sum;
}

} // namespace zam1
