// window_messages_test.cpp: the window procedure as a table of messages, the framework state each
// leaves and where a pump pass stops after it (so a press and release arriving together are one
// click, and keys typed together all arrive), then the messages that act on the display (paint,
// size), the window OpenGraphics makes for a table of work areas and limits, and what
// presentation copies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "framework/framework_state.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "tests/input/loop_app.h"
#include "tools/wizard_driver/framework_reset.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { ResetFrameworkAndBackend(); }
    ~WindowTest() override { ResetFrameworkAndBackend(); }
    int Open(LoopApp& app, int16_t width, int16_t height, uint8_t maximise, int16_t minH, int16_t maxH, int16_t minW, int16_t maxW) {
        ScopedCurrentFolder fonts(CommittedFontFolder());
        FolderPath folder;
        return app.OpenGraphics(width, height, "Tallyfield Update", maximise, &folder, minH, maxH, minW, maxW);
    }
};

uintptr_t High(int word) { return static_cast<uintptr_t>(static_cast<uint16_t>(word)) << 16; }

struct MessageRow {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
    // mouse x, y, left, right, middle, wheel delta, key code, character, quit, to the default
    // procedure, then where a pump pass stops after it (PumpStepAfter: 1 after the key's character)
    std::vector<int> state;
};

TEST_F(WindowTest, EachMessageLeavesItsFrameworkState) {
    const MessageRow rows[] = {
        {WindowMessageMouseMove, 0, PackPointParam(270, 120), {270, 120, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {WindowMessageMouseMove, 0, PackPointParam(-3, -40), {-3, -40, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {WindowMessageLeftButtonDown, 0, 0, {0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2}},
        {WindowMessageRightButtonDown, 0, 0, {0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 2}},
        {WindowMessageMiddleButtonDown, 0, 0, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 2}},
        {WindowMessageMouseWheel, High(120) | 8, 0, {0, 0, 0, 0, 0, 120, 0, 0, 0, 0, 0}},
        {WindowMessageKeyDown, 'A', 1, {0, 0, 0, 0, 0, 0, 'A', 0, 0, 0, 1}},
        {WindowMessageChar, 0x1E9, 1, {0, 0, 0, 0, 0, 0, 0, 0xE9, 0, 0, 2}},
        {WindowMessageClose, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}},
        {WindowMessageKeyUp, 'A', 0x7FFF, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}},
        {0x0203, 1, PackPointParam(5, 6), {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}},  // WM_LBUTTONDBLCLK
        {0x0104, 0x73, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}},                  // WM_SYSKEYDOWN
        {0x0106, 'f', 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}},                   // WM_SYSCHAR
    };
    for (const MessageRow& row : rows) {
        ResetFrameworkAndBackend();
        HeadlessSetDefaultWindowProcResult(1234);
        const intptr_t result = MainWindowProc(row.message, row.wParam, row.lParam);
        const FrameworkState& f = gFramework;
        const std::vector<int> state = {f.mouseX, f.mouseY, f.leftButton, f.rightButton, f.middleButton, f.wheelDelta,
                                        f.pendingKeyCode, f.pendingChar, f.quitRequested,
                                        static_cast<int>(HeadlessDefaultHandledMessages().size()),
                                        static_cast<int>(PumpStepAfter(row.message))};
        EXPECT_EQ(state, row.state) << "message " << row.message;
        EXPECT_EQ(result, row.state[9] ? 1234 : 0) << "message " << row.message;
    }
    // Releases take back only their own button, each ending a pump pass; wheel deltas add up.
    for (uint32_t up : {WindowMessageLeftButtonUp, WindowMessageRightButtonUp, WindowMessageMiddleButtonUp})
        EXPECT_EQ(PumpStepAfter(up), PumpStop) << up;
    gFramework.leftButton = gFramework.rightButton = gFramework.middleButton = 1;
    MainWindowProc(WindowMessageRightButtonUp, 0, 0);
    EXPECT_EQ(gFramework.leftButton + gFramework.rightButton + gFramework.middleButton, 2);
    MainWindowProc(WindowMessageLeftButtonUp, 0, 0);
    MainWindowProc(WindowMessageMiddleButtonUp, 0, 0);
    EXPECT_EQ(gFramework.leftButton + gFramework.middleButton, 0);
    for (int i = 0; i < 3; ++i) MainWindowProc(WindowMessageMouseWheel, High(-120), 0);
    EXPECT_EQ(gFramework.wheelDelta, -360);
}

TEST_F(WindowTest, APaintWhileRunningRedrawsOnceThenDropsKeysAndTwoButtons) {
    LoopApp app;
    int keyAtRedraw = -1, nested = -1;
    app.onRedraw = [&] {
        keyAtRedraw = gFramework.pendingKeyCode;
        if (app.redraws == 1) nested = static_cast<int>(MainWindowProc(WindowMessagePaint, 0, 0));
    };
    auto pressEverything = [] {
        gFramework.pendingKeyCode = gFramework.pendingChar = 13;
        gFramework.leftButton = gFramework.rightButton = gFramework.middleButton = 1;
    };
    pressEverything();
    {
        MOUSE mouse;
        KEYBOARD keyboard;
        MainWindowProc(WindowMessagePaint, 0, 0);  // outside the loop: nothing
        EXPECT_EQ(app.redraws, 0);
        gFramework.running = 1;
        EXPECT_EQ(MainWindowProc(WindowMessagePaint, 0, 0), 0);
        // One redraw (the paint during it does not redraw again), the key cleared after it, not
        // before, and every button but the middle one.
        const std::vector<int> after = {app.redraws, nested, keyAtRedraw, gFramework.pendingKeyCode, gFramework.pendingChar,
                                        gFramework.leftButton, gFramework.rightButton, gFramework.middleButton};
        EXPECT_EQ(after, (std::vector<int>{1, 0, 13, 0, 0, 0, 0, 1}));
        MainWindowProc(WindowMessagePaint, 0, 0);
        EXPECT_EQ(app.redraws, 2);
    }
    pressEverything();  // without a keyboard and a mouse nothing is cleared
    MainWindowProc(WindowMessagePaint, 0, 0);
    EXPECT_EQ(gFramework.pendingKeyCode + gFramework.leftButton, 14);
}

TEST_F(WindowTest, SizesReplaceTheBufferUnlessMinimisedTooLargeOrTooEarly) {
    EXPECT_EQ(MainWindowProc(WindowMessageSize, WindowSizeRestored, PackPointParam(300, 200)), 0);
    EXPECT_EQ(gFramework.frameBuffer, nullptr) << "no buffer yet: ignored";
    LoopApp app;
    ASSERT_EQ(Open(app, 550, 350, 0, -1, -1, -1, -1), 0);
    PlatformPumpMessages();
    EXPECT_EQ(HeadlessPaintCount(), 1) << "the shown window asks for a first paint";
    gFramework.frameBuffer[0] = 0x1234;
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    MainWindowProc(WindowMessageSize, WindowSizeMinimized, 0);
    EXPECT_EQ(gFramework.frameBuffer[0] + gFramework.dirtyRect.x0, 0x1234 - 1) << "the buffer is kept, unmarked";
    for (uintptr_t kind : {WindowSizeRestored, WindowSizeMaximized}) {
        MainWindowProc(WindowMessageSize, kind, PackPointParam(301, 200));
        const std::vector<int> got = {gFramework.screenWidth, gFramework.screenHeight, gFramework.pitch,
                                      gFramework.frameBuffer[0], gFramework.dirtyRect.x1, gFramework.dirtyRect.y1};
        EXPECT_EQ(got, (std::vector<int>{301, 200, 604, 0, 300, 199})) << kind;
    }
    PlatformPumpMessages();
    EXPECT_EQ(HeadlessPaintCount(), 2) << "one paint for the sizes since the last pump";
    MainWindowProc(WindowMessageSize, WindowSizeRestored, PackPointParam(40000, 10));
    EXPECT_EQ(gFramework.frameBuffer, nullptr);
    EXPECT_FALSE(app.IsGraphicsOpen());
    app.PresentFrame();
}

struct WindowRow {
    const char* what;
    int workRight, workBottom;  // the work area from (0, 0); 0 leaves the default (1024 x 740)
    int frameX;                 // resizable border; 0 the default
    uint8_t maximise;
    int16_t minH, maxH, minW, maxW;
    // style, x, y, width, height, screen width, screen height, pitch, maximised
    std::vector<int> window;
};

TEST_F(WindowTest, OpenGraphicsMakesTheWindowTheWorkAreaAndLimitsAllow) {
    const WindowRow rows[] = {
        {"the installer's window", 0, 0, 0, 0, -1, -1, -1, -1, {0xCA0000, 234, 183, 556, 374, 550, 350, 1100, 0}},
        {"a small work area", 400, 300, 0, 0, -1, -1, -1, -1, {0xCA0000, 0, 0, 401, 301, 395, 277, 792, 0}},
        {"a maximum width", 0, 0, 4, 0, -1, -1, 300, 800, {0xCF0000, 233, 181, 558, 378, 550, 350, 1100, 0}},
        {"maximised", 0, 0, 0, 1, 200, 2000, 300, 2000, {0xCF0000, 0, 0, 1025, 741, 1019, 717, 2040, 1}},
        {"maximise without limits", 0, 0, 0, 1, -1, -1, -1, -1, {0xCA0000, 234, 183, 556, 374, 550, 350, 1100, 0}},
    };
    for (const WindowRow& row : rows) {
        ResetFrameworkAndBackend();
        if (row.workRight) HeadlessSetWorkArea(0, 0, row.workRight, row.workBottom);
        if (row.frameX) HeadlessSetSystemMetric(PlatformMetricFrameX, row.frameX), HeadlessSetSystemMetric(PlatformMetricFrameY, row.frameX + 1);
        LoopApp app;
        ASSERT_EQ(Open(app, 550, 350, row.maximise, row.minH, row.maxH, row.minW, row.maxW), 0) << row.what;
        if (row.maxW == 800) {  // the procedure answers with the limits
            MinMaxInfo info{};
            EXPECT_EQ(MainWindowProc(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&info)), 0);
            EXPECT_EQ(info.ptMinTrackSize.x, 308);
            EXPECT_EQ(info.ptMaxTrackSize.x, 808);
        }
        const HeadlessWindow& w = HeadlessGetWindow();
        const std::vector<int> got = {static_cast<int>(w.style), w.x, w.y, w.width, w.height, app.GetScreenWidth(),
                                      app.GetScreenHeight(), gFramework.pitch, w.maximised};
        EXPECT_EQ(got, row.window) << row.what;
        for (int slot = 0; slot < 7; ++slot) EXPECT_NE(gFramework.fontTable[slot], nullptr) << row.what;
        app.SetWindowTitle("Actualizaci\xF3n Tallyfield");
        app.CloseGraphics();
        app.SetWindowTitle("after");
        EXPECT_EQ(HeadlessTitles(), (std::vector<std::string>{"Tallyfield Update", "Actualizaci\xF3n Tallyfield"}));
        EXPECT_TRUE(gFramework.window == nullptr && gFramework.frameBuffer == nullptr && gFramework.fontTable == nullptr);
    }
}

TEST_F(WindowTest, PresentationCopiesOnlyTheChangedRectangle) {
    LoopApp app;
    ASSERT_EQ(Open(app, 550, 350, 0, -1, -1, -1, -1), 0);
    uint16_t* const pixels = gFramework.frameBuffer;
    std::fill(pixels, pixels + 550 * 350, uint16_t{7});
    app.PresentFrame();  // opening marked everything changed
    app.PresentFrame();  // and presenting marks nothing
    std::fill(pixels, pixels + 550 * 350, uint16_t{0});
    gFramework.dirtyRect = DirtyRect{10, 19, 5, 5};
    app.PresentFrame();
    for (DirtyRect d : {DirtyRect{-1, 549, 0, 349}, DirtyRect{0, -1, 0, 349}, DirtyRect{0, 549, -1, 349},
                        DirtyRect{0, 549, 0, -1}}) {
        gFramework.dirtyRect = d;  // a -1 anywhere: nothing, and the rectangle is left as it is
        app.PresentFrame();
        EXPECT_EQ(gFramework.dirtyRect.x1 + gFramework.dirtyRect.y1, d.x1 + d.y1);
    }
    std::vector<int> got;
    for (const auto& r : HeadlessPresentedRects()) got.insert(got.end(), {r.x, r.y, r.width, r.height});
    EXPECT_EQ(got, (std::vector<int>{0, 0, 550, 350, 0, 0, 0, 0, 10, 5, 10, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ((std::vector<int>{HeadlessScreenPixel(9, 5), HeadlessScreenPixel(10, 5), HeadlessScreenPixel(19, 5),
                                HeadlessScreenPixel(20, 5), HeadlessScreenPixel(15, 6)}),
              (std::vector<int>{7, 0, 0, 7, 7}));
}

}  // namespace
