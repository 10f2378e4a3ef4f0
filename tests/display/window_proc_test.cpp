// The window procedure's message table: what each message does to the framework state.
#include <gtest/gtest.h>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"
#include "tests/display/display_test_support.h"
#include "tests/support/test_files.h"

namespace {

using WindowProcTest = DisplayTest;

TEST_F(WindowProcTest, PointerMovesKeepSignedClientCoordinates) {
    EXPECT_EQ(0, MainWindowProc(WindowMessageMouseMove, 0, PackPointParam(270, 120)));
    EXPECT_EQ(270, gFramework.mouseX);
    EXPECT_EQ(120, gFramework.mouseY);
    // Outside the client area while captured: coordinates below zero arrive as 16-bit words.
    MainWindowProc(WindowMessageMouseMove, 0, PackPointParam(-3, -40));
    EXPECT_EQ(-3, gFramework.mouseX);
    EXPECT_EQ(-40, gFramework.mouseY);
}

TEST_F(WindowProcTest, EachButtonHasItsOwnPressAndRelease) {
    const struct {
        uint32_t down, up;
        uint8_t* state;
    } buttons[] = {
        {WindowMessageLeftButtonDown, WindowMessageLeftButtonUp, &gFramework.leftButton},
        {WindowMessageRightButtonDown, WindowMessageRightButtonUp, &gFramework.rightButton},
        {WindowMessageMiddleButtonDown, WindowMessageMiddleButtonUp, &gFramework.middleButton},
    };
    for (const auto& button : buttons) {
        EXPECT_EQ(0, MainWindowProc(button.down, 0, 0));
        EXPECT_EQ(1, *button.state);
        const int others = gFramework.leftButton + gFramework.rightButton + gFramework.middleButton;
        EXPECT_EQ(1, others) << "only message " << button.down << " changed a button";
        EXPECT_EQ(0, MainWindowProc(button.up, 0, 0));
        EXPECT_EQ(0, *button.state);
    }
}

TEST_F(WindowProcTest, WheelDeltasAddUpFromTheSignedHighWord) {
    MainWindowProc(WindowMessageMouseWheel, static_cast<uintptr_t>(120) << 16, 0);
    MainWindowProc(WindowMessageMouseWheel, static_cast<uintptr_t>(120) << 16 | 0x0008, 0);  // low word: keys
    EXPECT_EQ(240, gFramework.wheelDelta);
    for (int i = 0; i < 3; ++i) MainWindowProc(WindowMessageMouseWheel, static_cast<uintptr_t>(0xFF88) << 16, 0);
    EXPECT_EQ(-120, gFramework.wheelDelta);
    // Of a typed character only the low byte is kept.
    MainWindowProc(WindowMessageChar, 0x1E9, 1);
    EXPECT_EQ(0xE9, gFramework.pendingChar);
}

TEST_F(WindowProcTest, CloseOnlyRequestsTheQuit) {
    TestApp app;
    ScopedCurrentFolder current(CommittedFontFolder());
    FolderPath fonts;
    ASSERT_EQ(0, app.OpenGraphics(550, 350, "t", 0, &fonts, -1, -1, -1, -1));
    EXPECT_EQ(0, MainWindowProc(WindowMessageClose, 0, 0));
    EXPECT_EQ(1, gFramework.quitRequested);
    EXPECT_TRUE(HeadlessGetWindow().exists);
    EXPECT_TRUE(app.IsGraphicsOpen());
}

TEST_F(WindowProcTest, OtherMessagesGoToTheDefaultProcedureWithTheirResult) {
    HeadlessSetDefaultWindowProcResult(1234);
    EXPECT_EQ(1234, MainWindowProc(WindowMessageKeyUp, 'A', 0x7FFF));
    EXPECT_EQ(1234, MainWindowProc(0x0203, 1, PackPointParam(5, 6)));  // WM_LBUTTONDBLCLK
    EXPECT_EQ(1234, MainWindowProc(0x0104, 0x73, 0));                 // WM_SYSKEYDOWN (Alt+F4)
    ASSERT_EQ(3u, HeadlessDefaultHandledMessages().size());
    EXPECT_EQ(0x7FFF, HeadlessDefaultHandledMessages()[0].lParam);
    EXPECT_EQ(0, gFramework.pendingKeyCode);
    EXPECT_EQ(0, gFramework.leftButton);
}

// Paint: held keys and buttons are dropped after the redraw, but only while the loop runs.
class PaintTest : public DisplayTest {
protected:
    void PressEverything() {
        gFramework.pendingKeyCode = 13;
        gFramework.pendingChar = 13;
        gFramework.leftButton = gFramework.rightButton = gFramework.middleButton = 1;
    }
};

TEST_F(PaintTest, APaintWhileRunningRedrawsThenClearsKeysAndTwoButtons) {
    TestApp app;
    MOUSE mouse;
    KEYBOARD keyboard;
    gFramework.running = 1;
    PressEverything();
    int pendingAtRedraw = -1;
    app.onRedraw = [&] { pendingAtRedraw = gFramework.pendingKeyCode; };
    EXPECT_EQ(0, MainWindowProc(WindowMessagePaint, 0, 0));
    EXPECT_EQ(1, app.redrawCount);
    EXPECT_EQ(13, pendingAtRedraw);  // cleared after the redraw, not before
    EXPECT_EQ(0, gFramework.pendingKeyCode);
    EXPECT_EQ(0, gFramework.pendingChar);
    EXPECT_EQ(0, gFramework.leftButton);
    EXPECT_EQ(0, gFramework.rightButton);
    EXPECT_EQ(1, gFramework.middleButton);
    EXPECT_EQ(0, gFramework.paintGuard);
}

TEST_F(PaintTest, OutsideTheLoopNothingIsDrawnAndWithoutKeyboardAndMouseNothingCleared) {
    TestApp app;
    {
        MOUSE mouse;
        KEYBOARD keyboard;
        PressEverything();
        MainWindowProc(WindowMessagePaint, 0, 0);
        EXPECT_EQ(0, app.redrawCount);
        EXPECT_EQ(13, gFramework.pendingKeyCode);
    }
    gFramework.running = 1;
    PressEverything();
    MainWindowProc(WindowMessagePaint, 0, 0);
    EXPECT_EQ(1, app.redrawCount);
    EXPECT_EQ(13, gFramework.pendingKeyCode);
    EXPECT_EQ(1, gFramework.leftButton);
}

TEST_F(PaintTest, APaintDispatchedDuringTheRedrawDoesNotRedrawAgain) {
    TestApp app;
    gFramework.running = 1;
    int innerResult = -1;
    app.onRedraw = [&] {
        if (app.redrawCount == 1) innerResult = static_cast<int>(MainWindowProc(WindowMessagePaint, 0, 0));
    };
    MainWindowProc(WindowMessagePaint, 0, 0);
    EXPECT_EQ(1, app.redrawCount);
    EXPECT_EQ(0, innerResult);
    // The guard is down again: the next paint redraws.
    MainWindowProc(WindowMessagePaint, 0, 0);
    EXPECT_EQ(2, app.redrawCount);
}

// Size: a restore or maximise replaces the buffer; a minimise or an early WM_SIZE does not.
class SizeTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        ScopedCurrentFolder current(CommittedFontFolder());
        FolderPath fonts;
        ASSERT_EQ(0, app.OpenGraphics(550, 350, "t", 0, &fonts, -1, -1, -1, -1));
        PlatformPumpMessages();  // the first paint
        gFramework.frameBuffer[0] = 0x1234;
        gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    }
    TestApp app;
};

TEST_F(SizeTest, AMinimiseKeepsTheBufferAndItsContents) {
    uint16_t* before = gFramework.frameBuffer;
    EXPECT_EQ(0, MainWindowProc(WindowMessageSize, WindowSizeMinimized, 0));
    EXPECT_EQ(before, gFramework.frameBuffer);
    EXPECT_EQ(0x1234, gFramework.frameBuffer[0]);
    EXPECT_EQ(-1, gFramework.dirtyRect.x0);
}

TEST_F(SizeTest, ARestoreGivesANewBlackBufferOfTheNewSizeAndAPaint) {
    const int paintsBefore = HeadlessPaintCount();
    EXPECT_EQ(0, MainWindowProc(WindowMessageSize, WindowSizeRestored, PackPointParam(300, 200)));
    EXPECT_EQ(300, gFramework.screenWidth);
    EXPECT_EQ(200, gFramework.screenHeight);
    EXPECT_EQ(600, gFramework.pitch);
    EXPECT_EQ(0, gFramework.frameBuffer[0]);
    EXPECT_EQ(299, gFramework.dirtyRect.x1);
    EXPECT_EQ(199, gFramework.dirtyRect.y1);
    PlatformPumpMessages();
    EXPECT_EQ(paintsBefore + 1, HeadlessPaintCount());
    // A maximise is treated as a restore.
    MainWindowProc(WindowMessageSize, WindowSizeMaximized, PackPointParam(1019, 717));
    EXPECT_EQ(717, gFramework.screenHeight);
}

TEST_F(SizeTest, ASizeThatCannotBeHadClosesTheGraphicsForDrawing) {
    MainWindowProc(WindowMessageSize, WindowSizeRestored, PackPointParam(40000, 10));
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
    EXPECT_FALSE(app.IsGraphicsOpen());
    // Without a buffer, later sizes are ignored and presentation copies nothing.
    MainWindowProc(WindowMessageSize, WindowSizeRestored, PackPointParam(300, 200));
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
    app.PresentFrame();
}

TEST_F(WindowProcTest, ASizeBeforeTheBufferExistsIsIgnored) {
    EXPECT_EQ(0, MainWindowProc(WindowMessageSize, WindowSizeRestored, PackPointParam(300, 200)));
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
    EXPECT_EQ(0, gFramework.screenWidth);
}

}  // namespace
