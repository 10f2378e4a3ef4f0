// frame_pacing.h: the frame deadline that paces the main loop to the display.
// Pure arithmetic on performance-counter ticks (no system header here), so every build can test
// it. The presentation of the SDL and Win32 backends (sdl_present.cpp, ui_present.cpp) calls it
// once per frame and waits for what it returns, or until input arrives, whichever comes first.
#pragma once

#include <cstdint>

// The wait before the current frame may be shown, and the deadline of the frame after it.
struct FramePace {
    uint64_t waitTicks;
    uint64_t nextDeadline;
};

// `deadline` is when this frame is due (0 before the first frame), `period` the ticks of one
// display refresh. A frame that comes early waits for its deadline; a late one is shown at once
// and the next deadline stays on the display's rhythm; a loop more than a whole period behind
// starts counting again from now instead of rushing through frames to catch up.
inline FramePace PaceFrame(uint64_t now, uint64_t deadline, uint64_t period) {
    if (deadline == 0 || now > deadline + period) return FramePace{0, now + period};
    if (now < deadline) return FramePace{deadline - now, deadline + period};
    return FramePace{0, deadline + period};
}
