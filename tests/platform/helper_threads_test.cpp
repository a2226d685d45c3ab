#include "core/platform/helper_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <stdexcept>
#include <string>
#include <thread>

namespace zam1 {
namespace {

using namespace std::chrono_literals;

// Which of the two sides throws while the work is shared, and what reaches the caller.
struct Row {
    const char* name;
    bool helperThrows;
    bool callerThrows;
    const char* caught;  // the message the caller sees; empty: none
};

constexpr Row kRows[] = {
    {"nobody throws", false, false, ""},
    {"a helper throws", true, false, "helper"},
    {"the caller throws while the helper runs", false, true, "caller"},
    {"both throw: the caller's own wins", true, true, "caller"},
};

TEST(HelperThreads, AnExceptionReachesTheCallerAfterEveryHelperEnded) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        std::atomic<bool> helperEnded{false};
        std::string caught;
        try {
            HelperThreads helpers;
            std::latch callerLeaving(1);
            ASSERT_TRUE(helpers.start([&] {
                // The helper is still at work when the caller throws.
                callerLeaving.wait();
                std::this_thread::sleep_for(20ms);
                helperEnded = true;
                if (row.helperThrows) throw std::runtime_error("helper");
            }));
            EXPECT_EQ(helpers.count(), 1u);
            callerLeaving.count_down();
            if (row.callerThrows) throw std::runtime_error("caller");
            helpers.joinAll();
            EXPECT_EQ(helpers.count(), 0u);
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        EXPECT_EQ(caught, row.caught);
        EXPECT_TRUE(helperEnded) << "a helper outlived its caller";
    }
}

TEST(HelperThreads, TheFirstFailureOfSeveralKeepsItsType) {
    HelperThreads helpers;
    std::latch firstThrown(1);
    std::atomic<int> finished{0};
    helpers.start([&] {
        struct CountOnLeave {
            std::atomic<int>& n;
            std::latch& thrown;
            ~CountOnLeave() {
                ++n;
                thrown.count_down();
            }
        } leave{finished, firstThrown};
        throw std::out_of_range("element 7");
    });
    helpers.start([&] {
        firstThrown.wait();
        ++finished;
        throw std::logic_error("later");
    });
    helpers.start([&] { ++finished; });
    EXPECT_THROW(
        {
            try {
                helpers.joinAll();
            } catch (const std::out_of_range& e) {
                EXPECT_STREQ(e.what(), "element 7");
                throw;
            }
        },
        std::out_of_range);
    EXPECT_EQ(finished, 3);
    // A failure is reported once; the next round starts clean.
    helpers.start([] {});
    EXPECT_NO_THROW(helpers.joinAll());
}

} // namespace
} // namespace zam1
