#include "core/model/closing_solution.h"

#include <memory>
#include <system_error>
#include <thread>

#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/model/resolution_steps.h"

namespace zam1 {
namespace {

using resolution::Path;

// Finds the two sides of a -> b, or words the structure error; no sums yet.
// Messages go to the chain's list in the order the solutions are made.
void findSides(Chain& chain, ClosingSolution& s, Path& pathA, Path& pathB) {
    const int a = s.fromElement;
    const int b = s.toElement;
    if (a == b) {
        resolution::undefinedDistance(chain, s.structureError);
        return;
    }
    int lengthA = 0;
    int lengthB = 0;
    int i = 0;
    int j = 0;
    if (!resolution::buildPath(chain, a, pathA, lengthA) || !resolution::buildPath(chain, b, pathB, lengthB) ||
        !resolution::findParting(pathA, lengthA, pathB, lengthB, i, j)) {
        resolution::structureFault(chain, s.structureError, a, b);
        return;
    }
    s.resolved = true;
    s.pathFrom.assign(pathA.begin() + 1, pathA.begin() + 1 + i);
    s.pathTo.assign(pathB.begin() + 1, pathB.begin() + 1 + j);
    s.sharedElement = resolution::meetingElement(pathA, i);
}

void sumRange(const Chain& chain, std::vector<ClosingSolution>& solutions, std::size_t first, std::size_t last) {
    for (std::size_t k = first; k < last; ++k) sumSides(chain, solutions[k]);
}

// Below this many element visits a second thread costs more than it saves.
constexpr std::size_t kParallelVisits = 50000;

} // namespace

std::vector<int> ClosingSolution::elements() const {
    std::vector<int> result;
    if (!resolved) return result;
    result.reserve(pathFrom.size() + pathTo.size() + 1);
    result.insert(result.end(), pathFrom.begin(), pathFrom.end());
    result.push_back(sharedElement);
    result.insert(result.end(), pathTo.rbegin(), pathTo.rend());
    return result;
}

void sumSides(const Chain& chain, ClosingSolution& s) {
    if (!s.resolved) return;
    resolution::combineSides(resolution::sumSide(chain, s.pathFrom.data(), static_cast<int>(s.pathFrom.size())),
                             resolution::sumSide(chain, s.pathTo.data(), static_cast<int>(s.pathTo.size())), s.sums);
}

ClosingSolution solveDistance(Chain& chain, int a, int b) {
    auto paths = std::make_unique<Path[]>(2);
    ClosingSolution s;
    s.fromElement = a;
    s.toElement = b;
    findSides(chain, s, paths[0], paths[1]);
    sumSides(chain, s);
    return s;
}

ClosingSolution solveClosing(Chain& chain, int k) {
    const ClosingDimension& c = chain.closing(k);
    return solveDistance(chain, c.fromElement, c.toElement);
}

std::vector<ClosingSolution> solveAllClosings(Chain& chain) {
    auto paths = std::make_unique<Path[]>(2);
    std::vector<ClosingSolution> solutions(static_cast<std::size_t>(chain.closingCount()));
    std::size_t visits = 0;
    for (int k = 1; k <= chain.closingCount(); ++k) {
        ClosingSolution& s = solutions[static_cast<std::size_t>(k - 1)];
        s.fromElement = chain.closing(k).fromElement;
        s.toElement = chain.closing(k).toElement;
        findSides(chain, s, paths[0], paths[1]);
        visits += s.pathFrom.size() + s.pathTo.size();
    }
    // The closing dimensions are independent, and each keeps its own order of
    // summation, so splitting them between two threads changes no bit. The
    // split point halves the element visits, not the count.
    const unsigned cores = std::thread::hardware_concurrency();
    if (visits < kParallelVisits || cores < 2 || solutions.size() < 2) {
        sumRange(chain, solutions, 0, solutions.size());
        return solutions;
    }
    std::size_t split = 0;
    for (std::size_t seen = 0; split < solutions.size() && seen < visits / 2; ++split) {
        seen += solutions[split].pathFrom.size() + solutions[split].pathTo.size();
    }
    const Chain& readOnly = chain;
    std::thread second;
    try {
        second = std::thread(sumRange, std::cref(readOnly), std::ref(solutions), split, solutions.size());
    } catch (const std::system_error&) {
        split = solutions.size(); // no thread to be had: all on this one
    }
    sumRange(readOnly, solutions, 0, split);
    if (second.joinable()) second.join();
    return solutions;
}

} // namespace zam1
