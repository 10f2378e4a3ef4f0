// zero_size_window_test.cpp: a window sized to nothing. A WM_SIZE with a width or height of 0
// leaves a frame buffer without pixels; the repaint that follows draws the whole page into it.
// Found by the window-procedure fuzz target: every line and rectangle wrote one pixel before
// the buffer. Runs natively and under Wine.
#include <gtest/gtest.h>

#include "framework/display.h"
#include "framework/framework_state.h"
#include "platform/headless/headless.h"
#include "tests/faults/fault_matrix.h"

namespace {

TEST(ZeroSizeWindow, PaintsNothingAndTheWizardGoesOnAfterTheWindowGrowsAgain) {
    for (int width : {0, 550}) {
        const int height = width == 0 ? 350 : 0;
        WizardSession s;
        ASSERT_TRUE(s.Start());
        HeadlessPostMessage(WindowMessageSize, WindowSizeRestored, PackPointParam(width, height));
        HeadlessPostMessage(WindowMessagePaint, 0, 0);
        HeadlessEndFrame();
        ASSERT_TRUE(s.Frame());
        ASSERT_TRUE(s.Frame());
        EXPECT_EQ(gFramework.screenWidth, width);
        EXPECT_EQ(gFramework.screenHeight, height);
        HeadlessPostMessage(WindowMessageSize, WindowSizeRestored, PackPointParam(550, 350));
        HeadlessEndFrame();
        ASSERT_TRUE(s.Frame());
        ASSERT_TRUE(s.Frame());
        // The page is back and works: English, then the version page.
        ASSERT_TRUE(s.ChooseLanguage());
        EXPECT_EQ(s.State(), StateConfirmVersions);
    }
}

}  // namespace
