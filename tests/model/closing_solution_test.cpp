// Solving every closing dimension at once must give what resolving them one by
// one gives, to the last bit, with the same messages in the same order; small
// chains take one thread, the largest chain two.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"

namespace zam1 {
namespace {

bool sameBits(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

std::vector<std::string> messagesOf(const Chain& chain) {
    std::vector<std::string> out;
    for (int i = 0; i < chain.messages.count(); ++i) out.emplace_back(chain.messages.at(i));
    return out;
}

void expectSameAsOneByOne(Chain& chain, const std::string& what) {
    deriveElementValues(chain);
    const std::vector<ClosingSolution> all = solveAllClosings(chain);
    const std::vector<std::string> allMessages = messagesOf(chain);
    deriveElementValues(chain);
    ASSERT_EQ(all.size(), static_cast<std::size_t>(chain.closingCount()));
    for (int k = 1; k <= chain.closingCount(); ++k) {
        const ClosingSolution& s = all[static_cast<std::size_t>(k - 1)];
        const ClosingDimension& c = chain.closing(k);
        const bool resolved = resolveDistance(chain, c.fromElement, c.toElement);
        const ClosingResult& r = chain.result;
        ASSERT_EQ(s.resolved, resolved) << what << " k " << k;
        EXPECT_EQ(s.structureError, r.structureError) << what << " k " << k;
        if (!resolved) continue;
        const std::pair<long double, long double> sums[] = {
            {s.sums.closingMin, r.closingMin},       {s.sums.closingMax, r.closingMax},
            {s.sums.closingNominal, r.closingNominal}, {s.sums.closingMean, r.closingMean},
            {s.sums.closingVariance, r.closingVariance}, {s.sums.closingStatDev, r.closingStatDev},
            {s.sums.closingUpperDev, r.closingUpperDev}, {s.sums.closingLowerDev, r.closingLowerDev}};
        for (const auto& [mine, theirs] : sums) ASSERT_TRUE(sameBits(mine, theirs)) << what << " k " << k;
        ASSERT_EQ(s.pathFrom.size(), static_cast<std::size_t>(r.pathFromCount)) << what << " k " << k;
        ASSERT_EQ(s.pathTo.size(), static_cast<std::size_t>(r.pathToCount)) << what << " k " << k;
        for (int i = 1; i <= r.pathFromCount; ++i) ASSERT_EQ(s.pathFrom[static_cast<std::size_t>(i - 1)], r.pathFrom[static_cast<std::size_t>(i)]);
        for (int i = 1; i <= r.pathToCount; ++i) ASSERT_EQ(s.pathTo[static_cast<std::size_t>(i - 1)], r.pathTo[static_cast<std::size_t>(i)]);
        // The element where both sides meet lies on neither side and is never a negative end.
        EXPECT_GE(s.sharedElement, 0);
        EXPECT_LE(s.sharedElement, chain.elementCount());
    }
    EXPECT_EQ(allMessages, messagesOf(chain)) << what;
}

TEST(ClosingSolution, AllAtOnceAgreesWithOneByOne) {
    auto chain = std::make_unique<Chain>();
    std::uint32_t seed = 4711;
    const auto next = [&](int bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(bound));
    };
    const auto build = [&](int count, int closings, bool linear) {
        chain->clear();
        for (int n = 1; n <= count; ++n) {
            Element& e = chain->element(n);
            const int roll = next(100);
            e.predecessor = linear ? n - 1 : (roll < 90 ? next(n) : (roll < 95 ? n : count + 1 + next(3)));
            e.positive = static_cast<std::uint8_t>(next(2));
            e.distance = next(100000) / 7.0L;
            e.upperDev = next(500) / 1000.0L;
            e.lowerDev = -next(500) / 1000.0L;
        }
        chain->setElementCount(count);
        for (int k = 1; k <= closings; ++k) {
            // Ends anywhere, now and then beyond the chain, negative or equal.
            chain->closing(k).fromElement = next(count + 3) - 1;
            chain->closing(k).toElement = next(20) == 0 ? chain->closing(k).fromElement : next(count + 3) - 1;
        }
        chain->setClosingCount(closings);
    };
    for (int round = 0; round < 100; ++round) {
        build(1 + next(60), next(12), false);
        expectSameAsOneByOne(*chain, "round " + std::to_string(round));
    }
    // Long sides on the largest chain: the sums are split between two threads.
    build(kMaxElements, kMaxClosing, true);
    for (int k = 1; k <= kMaxClosing; ++k) {
        chain->closing(k).fromElement = (k * 7) % 400;
        chain->closing(k).toElement = kMaxElements - (k * 13) % 600;
    }
    expectSameAsOneByOne(*chain, "largest chain");
}

TEST(ClosingSolution, ElementsRunFromTheFirstEndOverTheMeetingElementToTheSecond) {
    Chain chain;
    // 0 - 1 - 2 and 1 - 3 - 4
    const int predecessors[] = {0, 1, 1, 3};
    for (int n = 1; n <= 4; ++n) chain.element(n).predecessor = predecessors[n - 1];
    chain.setElementCount(4);
    deriveElementValues(chain);
    struct Case {
        int from, to;
        std::vector<int> elements;
    };
    for (const Case& c : {Case{2, 4, {2, 1, 3, 4}}, Case{4, 0, {4, 3, 1, 0}}, Case{-1, 2, {0, 1, 2}}, Case{2, -5, {2, 1, 0}},
                          Case{0, 1, {0, 1}}, Case{2, 2, {}}, Case{2, 3000, {}}}) {
        EXPECT_EQ(solveDistance(chain, c.from, c.to).elements(), c.elements) << c.from << " -> " << c.to;
    }
}

} // namespace
} // namespace zam1
