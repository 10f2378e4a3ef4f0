// The mouse, keyboard and buttons inside the running program: scripted messages go through the
// headless backend's pump and the window procedure, and the application polls them frame by
// frame, as the installer does. The test window (test_window.h) is the same one that is checked
// with real input under Xvfb and Wine.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "framework/mouse.h"
#include "gfx/button.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"
#include "tests/input/input_test_support.h"
#include "tests/input/test_window.h"
#include "tests/support/test_files.h"

namespace {

constexpr uint16_t kLight = 0x7fff;
constexpr uint16_t kDark = 0x2108;

class InputLoopTest : public InputTest {
protected:
    static constexpr int kFrames = 12;

    // A LoopApp with the window open and one clickable Button at (100, 50), 80 x 20, polled every
    // frame; the program ends after kFrames frames, a few more than any script here needs.
    void StartLoopApp() {
        app_ = new LoopApp;
        {
            ScopedCurrentFolder current(CommittedFontFolder());
            FolderPath fonts;
            ASSERT_EQ(app_->OpenGraphics(550, 350, "Input", 0, &fonts, -1, -1, -1, -1), 0);
        }
        button_ = CreateButton(100, 50, 80, 20, "Go", 1, 0, 0);
        app_->onRedraw = [this] { DrawButton(button_); };
        app_->onFrame = [this](LoopApp&) {
            const bool clicked = UpdateButton(button_, gFramework.registeredMouse);
            clicks_.push_back(clicked);
            pressed_.push_back(button_->pressed);
            bevel_.push_back(HeadlessScreenPixel(100, 50));
            return static_cast<int>(clicks_.size()) < kFrames;
        };
        SetNextApplication(app_, DeleteLoopApp);
    }
    void TearDown() override {
        DeleteButton(button_);
        InputTest::TearDown();
    }
    // The first frame whose poll found the Button sunk, or -1.
    int FirstPressedFrame() const {
        for (size_t i = 0; i < pressed_.size(); ++i) {
            if (pressed_[i]) return static_cast<int>(i);
        }
        return -1;
    }
    int Clicks() const {
        int count = 0;
        for (bool clicked : clicks_) count += clicked;
        return count;
    }

    LoopApp* app_ = nullptr;
    Button* button_ = nullptr;
    std::vector<bool> clicks_;
    std::vector<bool> pressed_;
    std::vector<uint16_t> bevel_;  // the top-left bevel pixel as presented before each frame
};

std::unique_ptr<TestWindowApp> OpenTestWindow() {
    ScopedCurrentFolder current(CommittedFontFolder());
    return std::make_unique<TestWindowApp>();
}

}  // namespace

TEST_F(InputLoopTest, AClickThroughThePumpIsReportedOnceOnTheRelease) {
    MOUSE mouse;
    StartLoopApp();
    HeadlessEndFrame();
    HeadlessPostClick(140, 60);
    RunWinMain(nullptr, "");
    EXPECT_EQ(Clicks(), 1);
    // One frame sees the press (the Button sinks), the next the release (the click); each change
    // is on the screen from the next presentation on.
    const int press = FirstPressedFrame();
    ASSERT_GE(press, 1);
    ASSERT_GE(pressed_.size(), static_cast<size_t>(press + 3));
    EXPECT_TRUE(clicks_[press + 1]);
    EXPECT_FALSE(pressed_[press + 1]);
    EXPECT_EQ(bevel_[press], kLight);
    EXPECT_EQ(bevel_[press + 1], kDark);
    EXPECT_EQ(bevel_[press + 2], kLight);
}

TEST_F(InputLoopTest, APressAndReleaseWithinOnePumpIsNotSeen) {
    MOUSE mouse;
    StartLoopApp();
    HeadlessPostMessage(WindowMessageMouseMove, 0, PackPointParam(140, 60));
    HeadlessPostMessage(WindowMessageLeftButtonDown, 1, PackPointParam(140, 60));
    HeadlessPostMessage(WindowMessageLeftButtonUp, 0, PackPointParam(140, 60));
    HeadlessEndFrame();
    HeadlessEndFrame();
    RunWinMain(nullptr, "");
    EXPECT_EQ(Clicks(), 0);
    for (bool pressed : pressed_) EXPECT_FALSE(pressed);
}

TEST_F(InputLoopTest, TheTestWindowReactsToClicksAndKeysAsScripted) {
    std::unique_ptr<TestWindowApp> window = OpenTestWindow();
    ASSERT_TRUE(window->opened);
    window->maxFrames = 200;
    SetNextApplication(window.get(), KeepApplication);

    HeadlessEndFrame();
    HeadlessPostClick(140, 60);   // "Sink me"
    HeadlessPostClick(240, 60);   // the inert Button: nothing
    HeadlessPostClick(100, 60);   // the edge of "Sink me": nothing
    HeadlessPostTypeText("ab");
    HeadlessPostKeyPress(HeadlessKeyBackspace);
    HeadlessPostKeyPress(HeadlessKeyEnter);
    HeadlessPostKeyPress(HeadlessKeyLeft);
    HeadlessPostClick(505, 324);  // "Exit"
    RunWinMain(nullptr, "");

    const std::vector<std::string> expected = {"click 1",        "key 65 char 97", "key 66 char 98", "key 8 char 8",
                                               "key 13 char 13", "key 37 char 0",  "click 0"};
    EXPECT_EQ(window->log, expected);
    EXPECT_EQ(window->typed, "a");
    EXPECT_STREQ(window->slots[3]->label, "a");
    EXPECT_LT(window->frames, 200);
}

TEST_F(InputLoopTest, TheTestWindowEndsOnEscapeAndItsPointerFollowsTheSinkButton) {
    std::unique_ptr<TestWindowApp> window = OpenTestWindow();
    window->maxFrames = 200;
    SetNextApplication(window.get(), KeepApplication);
    std::vector<int> shapes;
    HeadlessPostMouseMove(140, 60);
    HeadlessEndFrame();
    HeadlessEndFrame();
    HeadlessPostMouseMove(10, 10);
    HeadlessEndFrame();
    HeadlessEndFrame();
    HeadlessPostKeyPress(HeadlessKeyEscape);
    RunWinMain(nullptr, "");
    EXPECT_EQ(window->log, (std::vector<std::string>{"key 27 char 27"}));
    // The arrow is back once the pointer left the Button; the hand was shown over it.
    EXPECT_EQ(window->mouse->shape, CursorArrow);
    EXPECT_EQ(HeadlessCursorNumber(HeadlessCurrentCursor()), 101);
    EXPECT_GE(HeadlessCursorCounters().setCalls, 3);
}

