// The program entry and main loop with an application of the test's own: the order of a frame
// (RunFrame, the close request, the pump, the presentation), the end on the first frame, the
// fatal-exit path, the single-instance rule, and the command-line search.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "platform/headless/headless.h"
#include "platform/platform_display.h"

namespace {

// Records, in order, what happened in the loop: "frame", "pump" (seen as a presentation).
std::vector<std::string> events;

class LoopApp final : public QBIO {
public:
    void Redraw() override {}
    bool RunFrame() override {
        events.push_back("frame");
        return onFrame ? onFrame(++frames) : false;
    }
    int frames = 0;
    std::function<bool(int)> onFrame;
};

LoopApp* nextApp = nullptr;
int deletedApps = 0;

void ResetAll() {
    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    events.clear();
    deletedApps = 0;
}

class EntryTest : public ::testing::Test {
protected:
    EntryTest() { ResetAll(); }
    ~EntryTest() override { ResetAll(); }
};

// Frames as the loop ran them: each pump shows as one presentation request of the headless window.
int Pumps() { return HeadlessPumpCount(); }

}  // namespace

QBIO* CreateApplication() {
    QBIO* app = nextApp;
    nextApp = nullptr;
    return app;
}

void DeleteApplication(QBIO* application) {
    if (application == nullptr) return;
    ++deletedApps;
    delete static_cast<LoopApp*>(application);
}

TEST_F(EntryTest, FirstFrameReturningFalseEndsWithoutPumping) {
    nextApp = new LoopApp;
    EXPECT_EQ(0, RunWinMain(nullptr, "-pack"));
    EXPECT_EQ(std::vector<std::string>{"frame"}, events);
    EXPECT_EQ(0, Pumps());
    EXPECT_EQ(1, deletedApps);
    EXPECT_EQ(nullptr, gFramework.registeredApp);
    EXPECT_EQ(0, gFramework.running);
}

TEST_F(EntryTest, EachFramePumpsOnceAfterRunFrameUntilRunFrameSaysStop) {
    LoopApp* app = new LoopApp;
    app->onFrame = [](int frame) {
        events.push_back("pumps before: " + std::to_string(Pumps()));
        return frame < 3;
    };
    nextApp = app;
    EXPECT_EQ(0, RunWinMain(nullptr, ""));
    std::vector<std::string> expected = {"frame", "pumps before: 0", "frame", "pumps before: 1",
                                         "frame", "pumps before: 2"};
    EXPECT_EQ(expected, events);
    EXPECT_EQ(2, Pumps());
}

TEST_F(EntryTest, CloseRequestDuringThePumpEndsAfterExactlyOneMoreFrame) {
    LoopApp* app = new LoopApp;
    // Bounded, so that a lost close request fails instead of running forever.
    app->onFrame = [](int frame) { return frame < 10; };
    nextApp = app;
    // The script waits for a window to deliver to.
    ASSERT_NE(nullptr, PlatformCreateMainWindow("loop", 0xCA0000, 0, 0, 100, 100));
    // Frame 1's pump delivers nothing, frame 2's the close request: one more RunFrame follows.
    HeadlessEndFrame();
    HeadlessPostClose();
    EXPECT_EQ(0, RunWinMain(nullptr, ""));
    EXPECT_EQ(1, gFramework.quitRequested);
    EXPECT_EQ(3, static_cast<int>(events.size()));
    EXPECT_EQ(2, Pumps());
    PlatformDestroyMainWindow();
}

TEST_F(EntryTest, NoApplicationSkipsTheLoopAndReturnsZero) {
    nextApp = nullptr;
    EXPECT_EQ(0, RunWinMain(nullptr, ""));
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(0, deletedApps);
    EXPECT_EQ(0, gFramework.running);
}

TEST_F(EntryTest, AbortDuringRunFrameResumesAfterTheLoopAndDeletesTheApplication) {
    LoopApp* app = new LoopApp;
    app->onFrame = [](int frame) {
        if (frame == 2) AbortApplication();
        return true;
    };
    nextApp = app;
    EXPECT_EQ(0, RunWinMain(nullptr, ""));
    EXPECT_EQ(2u, events.size());
    EXPECT_EQ(1, deletedApps);
    EXPECT_EQ(nullptr, gFramework.registeredApp);
}

TEST_F(EntryTest, CommandLineSearchIsCaseSensitiveAndFindsWordsInsideOthers) {
    gFramework.commandLine = "setup --package-mode";
    EXPECT_TRUE(CommandLineContains("-pack"));
    gFramework.commandLine = "-pack";
    EXPECT_TRUE(CommandLineContains("-pack"));
    gFramework.commandLine = "-PACK -Pack";
    EXPECT_FALSE(CommandLineContains("-pack"));
    gFramework.commandLine = "";
    EXPECT_FALSE(CommandLineContains("-pack"));
}

#ifndef _WIN32
using EntryDeathTest = EntryTest;

// In the child of a death test: writes the message boxes shown to standard error at exit, so
// that the test can match them.
void ReportMessageBoxesAtExit() {
    std::atexit([] {
        for (const HeadlessMessageBox& box : HeadlessMessageBoxes())
            std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    });
}

TEST_F(EntryDeathTest, AbortOutsideTheLoopEndsTheProcessWithMinusOne) {
    EXPECT_EXIT(AbortApplication(), ::testing::ExitedWithCode(255), "");
}

TEST_F(EntryDeathTest, SecondApplicationShowsTheErrorAndEndsWithMinusOneLeavingTheFirst) {
    // The message box goes through the headless backend, which answers it at once; the child
    // ends with -1 and the first object stays registered.
    LoopApp first;
    EXPECT_EXIT(
        {
            ReportMessageBoxesAtExit();
            LoopApp second;
        },
        ::testing::ExitedWithCode(255), "\\[Error\\] Second QBIO class declared\\.");
    EXPECT_EQ(&first, gFramework.registeredApp);
}
#endif
