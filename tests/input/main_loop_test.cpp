// main_loop_test.cpp: the real entry and main loop (RunWinMain) with the test's own application:
// the order of a frame (RunFrame, then the pump), the close request, the fatal-exit path, the
// single-instance rule of the application, the mouse and the keyboard, and the command-line
// search. (The real programs' pumps are checked with real input by tests/scripts/wizard_test.sh.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/framework_state.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "framework/qbio.h"
#include "platform/headless/headless.h"
#include "platform/platform_display.h"
#include "tests/input/loop_app.h"
#include "tools/wizard_driver/framework_reset.h"

namespace {

class MainLoopTest : public ::testing::Test {
protected:
    MainLoopTest() { ResetFrameworkAndBackend(); }
    ~MainLoopTest() override { ResetFrameworkAndBackend(); }
};

TEST_F(MainLoopTest, EachFrameRunsThenPumpsUntilRunFrameOrTheCloseButtonEndsIt) {
    // RunFrame says stop at its third frame: two pumps ran, each after a RunFrame.
    std::vector<int> pumpsAtFrame;
    LoopApp* app = new LoopApp;
    app->onFrame = [&](LoopApp& a) {
        pumpsAtFrame.push_back(HeadlessPumpCount());
        return a.frames < 3;
    };
    SetNextApplication(app, true);
    EXPECT_EQ(RunWinMain(nullptr, ""), 0);
    EXPECT_EQ(pumpsAtFrame, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(gFramework.registeredApp, nullptr);
    EXPECT_EQ(gFramework.running, 0);

    // A close request delivered by the second pump: exactly one more frame follows.
    ResetFrameworkAndBackend();
    app = new LoopApp;
    int frames = 0;
    app->onFrame = [&](LoopApp& a) { return (frames = a.frames) < 10; };
    SetNextApplication(app, true);
    ASSERT_NE(PlatformCreateMainWindow("loop", 0xCA0000, 0, 0, 100, 100), nullptr);
    HeadlessEndFrame();
    HeadlessPostClose();
    EXPECT_EQ(RunWinMain(nullptr, ""), 0);
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(HeadlessPumpCount(), 2);
    PlatformDestroyMainWindow();
}

TEST_F(MainLoopTest, NoApplicationSkipsTheLoopAndAnAbortResumesAfterIt) {
    SetNextApplication(nullptr, false);
    EXPECT_EQ(RunWinMain(nullptr, ""), 0);
    LoopApp* app = new LoopApp;
    app->onFrame = [](LoopApp& a) {
        if (a.frames == 2) AbortApplication();
        return a.frames < 10;
    };
    SetNextApplication(app, true);
    EXPECT_EQ(RunWinMain(nullptr, ""), 0);
    EXPECT_EQ(gFramework.registeredApp, nullptr) << "the application was deleted";
}

TEST_F(MainLoopTest, CommandLineSearchIsCaseSensitiveAndFindsWordsInsideOthers) {
    const std::pair<const char*, bool> rows[] = {
        {"setup --package-mode", true}, {"-pack", true}, {"-PACK -Pack", false}, {"", false}, {"-pac", false}};
    for (const auto& row : rows) {
        gFramework.commandLine = row.first;
        EXPECT_EQ(CommandLineContains("-pack"), row.second) << row.first;
    }
}

#ifndef _WIN32
TEST_F(MainLoopTest, ASecondApplicationMouseOrKeyboardShowsAnErrorAndEndsWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    LoopApp app;
    MOUSE mouse;
    KEYBOARD keyboard;
    EXPECT_EXIT((PrintMessageBoxesAtExit(), LoopApp()), ::testing::ExitedWithCode(255),
                "\\[Error\\] Second QBIO class declared\\.");
    EXPECT_EXIT((PrintMessageBoxesAtExit(), MOUSE()), ::testing::ExitedWithCode(255),
                "\\[Error\\] Second MOUSE class declared\\.");
    EXPECT_EXIT((PrintMessageBoxesAtExit(), KEYBOARD()), ::testing::ExitedWithCode(255),
                "\\[Error\\] Second KEYBOARD class declared\\.");
    EXPECT_EXIT(AbortApplication(), ::testing::ExitedWithCode(255), "") << "outside the loop";
    EXPECT_EQ(gFramework.registeredApp, &app);
    EXPECT_EQ(gFramework.registeredMouse, &mouse);
    EXPECT_EQ(gFramework.registeredKeyboard, &keyboard);
}
#endif

}  // namespace
