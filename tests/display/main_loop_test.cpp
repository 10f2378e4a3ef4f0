// The display inside the real main loop (RunWinMain) with a scripted headless window: one
// presentation per frame, the first paint, input arriving frame by frame, the close button.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "platform/headless/headless.h"
#include "tests/display/display_test_support.h"
#include "tests/support/test_files.h"

namespace {

using MainLoopTest = DisplayTest;

// Grows the changed rectangle as the drawing code does.
void GrowDirtyRect(int16_t x0, int16_t x1, int16_t y0, int16_t y1) {
    DirtyRect& d = gFramework.dirtyRect;
    if (d.x0 == -1) {
        d = DirtyRect{x0, x1, y0, y1};
        return;
    }
    d = DirtyRect{std::min(d.x0, x0), std::max(d.x1, x1), std::min(d.y0, y0), std::max(d.y1, y1)};
}

// What RunFrame saw in one frame.
struct FrameSeen {
    int redraws;
    int mouseX;
    int leftButton;
};

TEST_F(MainLoopTest, ScriptedFramesDriveTheLoopUntilTheCloseButton) {
    TestApp* app = new TestApp;
    {
        ScopedCurrentFolder current(CommittedFontFolder());
        FolderPath fonts;
        ASSERT_EQ(0, app->OpenGraphics(550, 350, "Tallyfield Update", 0, &fonts, -1, -1, -1, -1));
    }
    // The page is a blue square at (20, 30); each redraw paints it and marks it changed.
    app->onRedraw = [] {
        for (int y = 30; y < 40; ++y) {
            for (int x = 20; x < 30; ++x) gFramework.frameBuffer[y * gFramework.pitch / 2 + x] = 0x001F;
        }
        GrowDirtyRect(20, 29, 30, 39);
    };
    std::vector<FrameSeen> seen;
    app->onFrame = [&seen](TestApp& self) {
        seen.push_back(FrameSeen{self.redrawCount, gFramework.mouseX, gFramework.leftButton});
        return true;
    };
    HeadlessEndFrame();            // frame 1: only the first paint
    HeadlessPostClick(100, 50);    // frames 2 and 3
    HeadlessPostClose();           // frame 4
    SetNextApplication(app);

    EXPECT_EQ(0, RunWinMain(nullptr, ""));

    // RunFrame once before each pump and once after the close; the loop then ends.
    ASSERT_EQ(5u, seen.size());
    EXPECT_EQ(0, seen[0].redraws);
    EXPECT_EQ(1, seen[1].redraws);
    EXPECT_EQ(0, seen[1].leftButton);
    EXPECT_EQ(100, seen[2].mouseX);
    EXPECT_EQ(1, seen[2].leftButton);
    EXPECT_EQ(0, seen[3].leftButton);
    EXPECT_EQ(1, gFramework.quitRequested);
    EXPECT_EQ(4, HeadlessPumpCount());

    // One presentation per pump: the whole new buffer, then the redrawn square, then nothing.
    const std::vector<HeadlessRect>& rects = HeadlessPresentedRects();
    ASSERT_EQ(4u, rects.size());
    EXPECT_EQ(550, rects[0].width);  // first paint and buffer
    EXPECT_EQ(350, rects[0].height);
    EXPECT_EQ(0, rects[1].width);
    EXPECT_EQ(0, rects[3].width);
    EXPECT_EQ(0x001F, HeadlessScreenPixel(20, 30));
    EXPECT_EQ(0x001F, HeadlessScreenPixel(29, 39));
    EXPECT_EQ(0, HeadlessScreenPixel(30, 39));

    // DeleteApplication closed the graphics.
    EXPECT_FALSE(HeadlessGetWindow().exists);
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
    EXPECT_EQ(nullptr, gFramework.registeredApp);
}

}  // namespace
