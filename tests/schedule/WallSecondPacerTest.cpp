// The decisions behind every wall-second timer, with made-up times: where the
// next delivery is aimed, and which deliveries tick.
#include "WallSecondPacer.h"

#include <gtest/gtest.h>

namespace lumivar {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

// A moment `ms` milliseconds into second 1,700,000,000 of the epoch.
WallTime At(long long ms) {
    return WallTime(milliseconds(1'700'000'000'000LL + ms));
}

TEST(WallSecondPacer, DelayAimsJustPastTheNextBoundary) {
    const auto delayAt = [](long long us) { // since the epoch
        const auto since = std::chrono::duration_cast<WallTime::duration>(microseconds(us));
        return DelayUntilNextSecond(WallTime(since)).count();
    };
    const long long second = 1'700'000'000'000'000LL; // in microseconds
    EXPECT_EQ(delayAt(second), 1005) << "on the boundary";
    EXPECT_EQ(delayAt(second + 2'000), 1003) << "inside the lead";
    EXPECT_EQ(delayAt(second + 5'000), 1000) << "at the aim";
    EXPECT_EQ(delayAt(second + 500'000), 505) << "mid-second";
    EXPECT_EQ(delayAt(second + 999'500), 6) << "rounded up, never short";
    EXPECT_EQ(delayAt(-250'000), 255) << "before 1970";
}

TEST(WallSecondPacer, TicksOncePerWallSecond) {
    WallSecondPacer pacer;
    EXPECT_EQ(pacer.Start(At(300)).count(), 705);
    EXPECT_FALSE(pacer.Deliver(At(998)).tick); // early, still in the starting second
    EXPECT_TRUE(pacer.Deliver(At(1005)).tick);
    EXPECT_FALSE(pacer.Deliver(At(1900)).tick); // early again: no second tick in 1
    // Late past a boundary: second 2 is gone, and second 3 ticks once.
    const WallSecondPacer::Step late = pacer.Deliver(At(3400));
    EXPECT_TRUE(late.tick);
    EXPECT_EQ(late.nextDelay.count(), 605);
    EXPECT_FALSE(pacer.Deliver(At(3999)).tick);
    EXPECT_TRUE(pacer.Deliver(At(-5000)).tick); // the clock was set back
}

} // namespace
} // namespace lumivar
