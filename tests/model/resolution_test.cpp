#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "tests/model/chain_builder.h"

namespace zam1 {
namespace {

using test::E;
using test::fill;

constexpr long double kEps = 1e-15L;

struct Expected {
    long double nominal, max, min, mean, variance, upperDev, lowerDev;
};

void expectResult(const ClosingResult& r, const Expected& x) {
    EXPECT_NEAR(r.closingNominal, x.nominal, kEps);
    EXPECT_NEAR(r.closingMax, x.max, kEps);
    EXPECT_NEAR(r.closingMin, x.min, kEps);
    EXPECT_NEAR(r.closingMean, x.mean, kEps);
    EXPECT_NEAR(r.closingVariance, x.variance, kEps);
    EXPECT_NEAR(r.closingStatDev * r.closingStatDev, x.variance, kEps);
    EXPECT_NEAR(r.closingUpperDev, x.upperDev, kEps);
    EXPECT_NEAR(r.closingLowerDev, x.lowerDev, kEps);
}

class Resolution : public ::testing::Test {
protected:
    std::unique_ptr<Chain> chain = std::make_unique<Chain>();
};

TEST_F(Resolution, SingleElementFromTheReference) {
    fill(*chain, {{0, true, 10, 0.1L, -0.2L}});
    deriveElementValues(*chain);
    ASSERT_TRUE(resolveDistance(*chain, 0, 1));
    expectResult(chain->result, {10, 10.1L, 9.8L, 9.95L, 0.0225L, 0.1L, -0.2L});
    EXPECT_EQ(chain->result.pathFromCount, 0);
    EXPECT_EQ(chain->result.pathToCount, 1);
    EXPECT_EQ(chain->result.pathTo[1], 1);
    EXPECT_EQ(chain->result.structureError, "");
}

TEST_F(Resolution, ReversedDistanceSwapsAndNegatesTheLimits) {
    fill(*chain, {{0, true, 10, 0.1L, -0.2L}});
    deriveElementValues(*chain);
    ASSERT_TRUE(resolveDistance(*chain, 1, 0));
    expectResult(chain->result, {-10, -9.8L, -10.1L, -9.95L, 0.0225L, 0.2L, -0.1L});
    EXPECT_EQ(chain->result.pathFromCount, 1);
    EXPECT_EQ(chain->result.pathToCount, 0);
}

TEST_F(Resolution, NegativeElementTurnsItsDeviationsAround) {
    fill(*chain, {{0, false, 20, 0.1L, -0.2L}});
    deriveElementValues(*chain);
    const Element& e = chain->element(1);
    EXPECT_NEAR(e.signedNominal, -20, kEps);
    EXPECT_NEAR(e.signedMax, -19.8L, kEps);
    EXPECT_NEAR(e.signedMin, -20.1L, kEps);
    EXPECT_NEAR(e.signedMean, -19.95L, kEps);
    EXPECT_NEAR(e.position, -20, kEps);
}

// Two branches from element 1: only what lies below the common element counts,
// not even the common element's tolerance.
TEST_F(Resolution, BranchesMeetingAtACommonElement) {
    fill(*chain, {{0, true, 50, 0.5L, -0.5L}, {1, true, 10, 0.1L, 0}, {1, false, 5, 0.05L, -0.05L}});
    deriveElementValues(*chain);
    ASSERT_TRUE(resolveDistance(*chain, 2, 3));
    expectResult(chain->result, {-15, -14.95L, -15.15L, -15.05L, 0.005L, 0.05L, -0.15L});
    EXPECT_EQ(chain->result.pathFromCount, 1);
    EXPECT_EQ(chain->result.pathFrom[1], 2);
    EXPECT_EQ(chain->result.pathToCount, 1);
    EXPECT_EQ(chain->result.pathTo[1], 3);
    EXPECT_NEAR(chain->element(2).position, 60, kEps);
    EXPECT_NEAR(chain->element(3).position, 45, kEps);

    // An ancestor: only the descendant's side is summed.
    ASSERT_TRUE(resolveDistance(*chain, 1, 2));
    expectResult(chain->result, {10, 10.1L, 10, 10.05L, 0.0025L, 0.1L, 0});
    EXPECT_EQ(chain->result.pathFromCount, 0);
}

TEST_F(Resolution, LinearChainPositionsAndPathsNearestFirst) {
    fill(*chain, {{0, true, 1, 0, 0}, {1, true, 2, 0, 0}, {2, false, 4, 0, 0}, {3, true, 8, 0.1L, -0.1L}});
    deriveElementValues(*chain);
    const long double positions[] = {1, 3, -1, 7};
    for (int n = 1; n <= 4; ++n) EXPECT_NEAR(chain->element(n).position, positions[n - 1], kEps) << n;
    ASSERT_TRUE(resolveDistance(*chain, 0, 4));
    EXPECT_EQ(chain->result.pathToCount, 4);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(chain->result.pathTo[static_cast<std::size_t>(k)], 5 - k);
}

struct BrokenCase {
    const char* what;
    int predecessorOf1;
    int predecessorOf2;
    int from;
    int to;
};

TEST_F(Resolution, BrokenTreesGiveTheStructureError) {
    const BrokenCase cases[] = {
        {"self-predecessor", 1, 0, 0, 1},
        {"two elements each other's predecessor", 2, 1, 0, 2},
        {"cycle reached from a sound element", 2, 1, 1, 2},
        {"predecessor beyond the table", 5, 0, 0, 1},
        {"predecessor beyond the table, other end", 0, 3, 1, 2},
        {"negative predecessor", -4, 0, 0, 1},
        {"end beyond the table", 0, 1, 0, 3},
    };
    for (const BrokenCase& c : cases) {
        fill(*chain, {{c.predecessorOf1, true, 10, 0.1L, -0.1L}, {c.predecessorOf2, true, 5, 0, 0}});
        deriveElementValues(*chain);
        // A sound distance first, so we can see the sums stay.
        chain->element(1).predecessor = 0;
        chain->element(2).predecessor = 0;
        ASSERT_TRUE(resolveDistance(*chain, 0, 1));
        chain->element(1).predecessor = c.predecessorOf1;
        chain->element(2).predecessor = c.predecessorOf2;
        chain->messages.clear();

        EXPECT_FALSE(resolveDistance(*chain, c.from, c.to)) << c.what;
        const std::string a = std::to_string(c.from);
        const std::string b = std::to_string(c.to);
        EXPECT_EQ(chain->result.structureError, "Fehler im Massaufbau zwischen Element " + a + " und " + b + " !")
            << c.what;
        ASSERT_EQ(chain->messages.count(), 1) << c.what;
        EXPECT_EQ(chain->messages.at(0), "Fehler : Massaufbau !  (" + a + " -> " + b + ")") << c.what;
        EXPECT_NEAR(chain->result.closingNominal, 10, kEps) << c.what << ": sums must stay";
    }
}

TEST_F(Resolution, DistanceToItselfIsUndefined) {
    fill(*chain, {{0, true, 10, 0.1L, -0.1L}});
    deriveElementValues(*chain);
    ASSERT_TRUE(resolveDistance(*chain, 0, 1));
    EXPECT_FALSE(resolveDistance(*chain, 1, 1));
    EXPECT_EQ(chain->result.structureError, "Undefinierter Abstand !");
    EXPECT_EQ(chain->messages.at(chain->messages.count() - 1), "Undefinierter Abstand !");
    EXPECT_NEAR(chain->result.closingNominal, 10, kEps);
    // The next sound call clears the error text.
    ASSERT_TRUE(resolveDistance(*chain, 1, 0));
    EXPECT_EQ(chain->result.structureError, "");
}

TEST_F(Resolution, InvertedTolerancesWarnButAreUsed) {
    fill(*chain, {{0, true, 10, 0, 0}, {0, true, 10, 0, 0}, {0, true, 10, -0.1L, 0.1L}});
    addMessage(*chain, "alt");
    deriveElementValues(*chain);
    ASSERT_EQ(chain->messages.count(), 1) << "the list is cleared first";
    EXPECT_EQ(chain->messages.at(0), "Ob.Tol. < Unt.Tol. (3)");
    ASSERT_TRUE(resolveDistance(*chain, 0, 3));
    EXPECT_NEAR(chain->result.closingMax, 9.9L, kEps);
    EXPECT_NEAR(chain->result.closingMin, 10.1L, kEps);
}

TEST_F(Resolution, DeepestChainResolvesAndACycleAtTheLimitIsFound) {
    chain->clear();
    for (int n = 1; n <= kMaxElements; ++n) {
        chain->element(n).predecessor = n - 1;
        chain->element(n).distance = 1;
        chain->element(n).upperDev = 0.01L;
        chain->element(n).lowerDev = -0.01L;
    }
    chain->setElementCount(kMaxElements);
    deriveElementValues(*chain);
    EXPECT_TRUE(chain->messages.empty());
    EXPECT_NEAR(chain->element(kMaxElements).position, kMaxElements, 1e-12L);
    ASSERT_TRUE(resolveDistance(*chain, 0, kMaxElements));
    EXPECT_EQ(chain->result.pathToCount, kMaxElements);
    EXPECT_NEAR(chain->result.closingMax - chain->result.closingMin, 0.02L * kMaxElements, 1e-12L);

    chain->element(1).predecessor = kMaxElements;  // now everything is one ring
    EXPECT_FALSE(resolveDistance(*chain, 0, kMaxElements));
}

} // namespace
} // namespace zam1

namespace zam1 {
namespace {

// The one-pass placement must leave exactly what resolving every element from 0
// in turn leaves: positions, messages, and the result of the last element.
TEST(ComputePositions, AgreesWithResolvingEveryElementInTurn) {
    auto fast = std::make_unique<Chain>();
    auto slow = std::make_unique<Chain>();
    std::uint32_t seed = 12345;
    const auto next = [&](int bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(bound));
    };
    for (int round = 0; round < 200; ++round) {
        const int count = 1 + next(40);
        fast->clear();
        for (int n = 1; n <= count; ++n) {
            Element& e = fast->element(n);
            const int roll = next(100);
            // Mostly a sound tree, now and then a ring, a self reference or a number off the table.
            e.predecessor = roll < 85 ? next(n) : (roll < 93 ? n + next(count - n + 1) : (roll < 97 ? count + 1 + next(3) : -1));
            e.positive = static_cast<std::uint8_t>(next(2));
            e.distance = next(1000) / 8.0L + 0.1L;
            e.upperDev = next(50) / 100.0L;
            e.lowerDev = -next(50) / 100.0L;
        }
        fast->setElementCount(count);
        *slow = *fast;
        slow->result.closingNominal = fast->result.closingNominal = 77.5L;  // left over from earlier

        deriveElementValues(*fast);
        const ClosingResult before = slow->result;
        deriveElementValues(*slow);  // for the working values; then the element-by-element way
        slow->result = before;
        slow->messages.clear();
        for (int n = 1; n <= count; ++n) {
            resolveDistance(*slow, 0, n);
            slow->element(n).position = slow->result.closingNominal;
        }
        std::vector<std::string> fastMessages;
        std::vector<std::string> slowMessages;
        for (int i = 0; i < fast->messages.count(); ++i) fastMessages.emplace_back(fast->messages.at(i));
        for (int i = 0; i < slow->messages.count(); ++i) {
            const std::string_view m = slow->messages.at(i);
            if (m.rfind("Ob.Tol.", 0) != 0) slowMessages.emplace_back(m);
        }
        fastMessages.erase(std::remove_if(fastMessages.begin(), fastMessages.end(),
                                          [](const std::string& m) { return m.rfind("Ob.Tol.", 0) == 0; }),
                           fastMessages.end());
        ASSERT_EQ(fastMessages, slowMessages) << "round " << round;
        for (int n = 1; n <= count; ++n) {
            ASSERT_NEAR(fast->element(n).position, slow->element(n).position, 1e-12L) << "round " << round << " element " << n;
        }
        EXPECT_EQ(fast->result.structureError, slow->result.structureError) << "round " << round;
        EXPECT_EQ(fast->result.closingNominal, slow->result.closingNominal) << "round " << round;
        EXPECT_EQ(fast->result.closingVariance, slow->result.closingVariance) << "round " << round;
    }
}

} // namespace
} // namespace zam1
