#include "core/model/closing_solution.h"

#include <atomic>
#include <memory>
#include <thread>

#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/model/resolution_steps.h"
#include "core/platform/helper_threads.h"

namespace zam1 {
namespace {

using resolution::Path;

// Finds the two sides of a -> b; false when the ends are the same element or the
// structure is broken. Touches nothing but `s`, so threads may share the chain.
bool findSides(const Chain& chain, ClosingSolution& s, Path& pathA, Path& pathB) {
    const int a = s.fromElement;
    const int b = s.toElement;
    if (a == b) return false;
    int lengthA = 0;
    int lengthB = 0;
    int i = 0;
    int j = 0;
    if (!resolution::buildPath(chain, a, pathA, lengthA) || !resolution::buildPath(chain, b, pathB, lengthB) ||
        !resolution::findParting(pathA, lengthA, pathB, lengthB, i, j)) {
        return false;
    }
    s.resolved = true;
    s.pathFrom.assign(pathA.begin() + 1, pathA.begin() + 1 + i);
    s.pathTo.assign(pathB.begin() + 1, pathB.begin() + 1 + j);
    s.sharedElement = resolution::meetingElement(pathA, i);
    return true;
}

// Words why a distance has no solution, with the message resolving it one by one adds.
void wordFault(Chain& chain, ClosingSolution& s) {
    if (s.fromElement == s.toElement) {
        resolution::undefinedDistance(chain, s.structureError);
    } else {
        resolution::structureFault(chain, s.structureError, s.fromElement, s.toElement);
    }
}

// Takes closing dimensions from the shared counter until none is left, so that a
// thread that gets the processor late simply takes fewer. Returns the element
// visits of the ones it took.
std::size_t solveOne(const Chain& chain, ClosingSolution& s, Path* paths) {
    if (!findSides(chain, s, paths[0], paths[1])) return 0;
    sumSides(chain, s);
    return s.pathFrom.size() + s.pathTo.size();
}

void solveShare(const Chain& chain, std::vector<ClosingSolution>& solutions, std::atomic<std::size_t>& next) {
    auto paths = std::make_unique<Path[]>(2);
    for (std::size_t k = next++; k < solutions.size(); k = next++) solveOne(chain, solutions[k], paths.get());
}

// A second thread pays when the closing dimensions still to come promise at
// least this many element visits; short paths are summed before it would start.
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
    if (findSides(chain, s, paths[0], paths[1])) {
        sumSides(chain, s);
    } else {
        wordFault(chain, s);
    }
    return s;
}

ClosingSolution solveClosing(Chain& chain, int k) {
    const ClosingDimension& c = chain.closing(k);
    return solveDistance(chain, c.fromElement, c.toElement);
}

std::vector<ClosingSolution> solveAllClosings(Chain& chain) {
    std::vector<ClosingSolution> solutions(static_cast<std::size_t>(chain.closingCount()));
    for (int k = 1; k <= chain.closingCount(); ++k) {
        solutions[static_cast<std::size_t>(k - 1)].fromElement = chain.closing(k).fromElement;
        solutions[static_cast<std::size_t>(k - 1)].toElement = chain.closing(k).toElement;
    }
    // The closing dimensions are independent, and each keeps its own order of
    // summation, so sharing them between two threads changes no bit. The first
    // ones tell whether the rest is worth a second thread.
    std::atomic<std::size_t> next{0};
    const Chain& readOnly = chain;
    HelperThreads second;
    const bool twoCores = std::thread::hardware_concurrency() >= 2;
    auto paths = std::make_unique<Path[]>(2);
    std::size_t visits = 0;
    std::size_t done = 0;
    for (std::size_t k = next++; k < solutions.size(); k = next++) {
        visits += solveOne(readOnly, solutions[k], paths.get()) + 1;
        ++done;
        const std::size_t left = solutions.size() - std::min(solutions.size(), next.load());
        if (second.count() > 0 || !twoCores || left < 2 || visits / done * left < kParallelVisits) continue;
        // Without a second thread to be had this one solves them all.
        second.start([&readOnly, &solutions, &next] { solveShare(readOnly, solutions, next); });
    }
    second.joinAll();
    // The messages in the order the closing dimensions stand.
    for (ClosingSolution& s : solutions) {
        if (!s.resolved) wordFault(chain, s);
    }
    return solutions;
}

} // namespace zam1
