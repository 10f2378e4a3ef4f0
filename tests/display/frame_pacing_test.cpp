// The SDL build's frame deadline: early frames wait, late ones do not, and a stalled loop does
// not rush to catch up. Ticks of 1000 per refresh make the figures easy to read.
#include <gtest/gtest.h>

#include "platform/frame_pacing.h"

namespace {

const uint64_t kPeriod = 1000;

TEST(FramePacing, AnIdleLoopWaitsOnceAPeriod) {
    // Each frame takes 100 ticks of work: it waits the other 900 and keeps the deadline grid.
    uint64_t deadline = 6000;
    uint64_t now = 5100;
    for (int frame = 0; frame < 5; ++frame) {
        const FramePace pace = PaceFrame(now, deadline, kPeriod);
        EXPECT_EQ(deadline - now, pace.waitTicks);
        EXPECT_EQ(deadline + kPeriod, pace.nextDeadline);
        now = deadline + 100;
        deadline = pace.nextDeadline;
    }
}

TEST(FramePacing, ALateFrameIsShownAtOnceAndTheNextKeepsTheGrid) {
    const FramePace pace = PaceFrame(6400, 6000, kPeriod);
    EXPECT_EQ(0u, pace.waitTicks);
    EXPECT_EQ(7000u, pace.nextDeadline);
    // Exactly on the deadline and exactly one period late are still on the grid.
    EXPECT_EQ(0u, PaceFrame(6000, 6000, kPeriod).waitTicks);
    EXPECT_EQ(7000u, PaceFrame(7000, 6000, kPeriod).nextDeadline);
}

TEST(FramePacing, TheFirstAndAStalledFrameStartCountingFromNow) {
    EXPECT_EQ(6000u, PaceFrame(5000, 0, kPeriod).nextDeadline);
    const FramePace pace = PaceFrame(9500, 6000, kPeriod);
    EXPECT_EQ(0u, pace.waitTicks);
    EXPECT_EQ(10500u, pace.nextDeadline);
}

}  // namespace
