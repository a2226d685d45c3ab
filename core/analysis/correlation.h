#pragma once
// Elements that are not independent: two dimensions cut in one set-up, two
// parts from one batch. A pair names two elements and the correlation
// coefficient r of their own dimensions (r > 0: when one comes out long, so
// does the other), whatever direction they take in the chain.
//
// The statistical method adds the covariance terms 2 r a_i a_j s_i s_j to the
// variance of a closing dimension (a the element's coefficient on its path,
// +1 or -1; s its standard deviation). Monte Carlo draws the elements of a
// group linked by pairs from correlated standard normals (a factor of their
// correlation matrix times independent normals); a uniform or triangular
// element turns its normal score z into its own distribution through Phi(z)
// and its inverse distribution function (a normal copula): r is then the
// correlation of the normal scores.
//
// Elements not named in any pair stay independent, and a list of pairs must
// make a correlation matrix that is positive semi-definite (r = 1 and r = -1
// are allowed); correlationProblem says which pair breaks that.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zam1 {

struct Correlation {
    int first = 0;  // element numbers as written, first != second
    int second = 0;
    long double r = 0;
};

// What is wrong with a list of pairs, for a project of `elementCount`
// elements: the entry (its index in the list), the field ("elements" or "r",
// empty for the whole entry) and the message.
struct CorrelationProblem {
    std::size_t index = 0;
    std::string field;
    std::string message;
};

// The first fault of the list: r not finite or beyond -1..1, an element the
// project does not have, an element paired with itself, a pair named twice (in
// either order), or pairs that no correlation matrix can have (not positive
// semi-definite; a pair not named has r = 0). For the last, the entry named is
// the one that completes the impossible set: taking the elements in the order
// the list first names them, the smallest leading set whose matrix is not
// positive semi-definite, and of its pairs the one named last.
std::optional<CorrelationProblem> correlationProblem(const std::vector<Correlation>& pairs, int elementCount);

// The elements of `members` linked by pairs (pairs naming an element outside
// `members` left out), each group with a factor F of its correlation matrix:
// member i's normal score is the sum over j < rank of F[i * rank + j] e_j, the
// e_j independent standard normals, so that F Fᵀ is the matrix. Members come
// in the factor's order (pivoted Cholesky: the larger remaining variance first,
// the lower element number on a tie); rank is below the member count where r =
// ±1 or a set of pairs leaves no freedom. Only groups of two or more; groups in
// the order of their lowest element number. A matrix that is not positive
// semi-definite (the list was not checked) keeps the part that is.
struct CorrelationGroup {
    std::vector<int> members;
    int rank = 0;
    std::vector<double> factor;
};
std::vector<CorrelationGroup> correlationGroups(const std::vector<Correlation>& pairs, const std::vector<int>& members);

// The pairs whose two elements both lie in `path` (element numbers), as they are listed.
std::vector<Correlation> pairsWithin(const std::vector<Correlation>& pairs, const std::vector<int>& path);

} // namespace zam1
