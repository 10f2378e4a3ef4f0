// The MOUSE: its cursors (loading, fallbacks, shape changes, restoring), the pointer queries,
// the wheel arithmetic, and the single-instance rule.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/display.h"
#include "framework/mouse.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"
#include "tests/input/input_test_support.h"

namespace {

using MouseTest = InputTest;

int CurrentCursorNumber() { return HeadlessCursorNumber(HeadlessCurrentCursor()); }

}  // namespace

TEST_F(MouseTest, ConstructionLoadsTheOwnCursorsAndShowsTheBusyBall) {
    PlatformCursor desktop = HeadlessDesktopCursor();
    {
        MOUSE mouse;
        EXPECT_EQ(gFramework.registeredMouse, &mouse);
        EXPECT_EQ(gFramework.savedCursor, desktop);
        EXPECT_EQ(HeadlessCursorNumber(gFramework.arrowCursor), 101);
        EXPECT_EQ(HeadlessCursorNumber(gFramework.busyCursor), 102);
        EXPECT_EQ(HeadlessCursorNumber(gFramework.handCursor), 103);
        EXPECT_EQ(HeadlessCursorCounters().resourceLoads, 3);
        EXPECT_EQ(mouse.shape, CursorBusy);
        EXPECT_EQ(HeadlessCurrentCursor(), gFramework.busyCursor);
        EXPECT_EQ(HeadlessCursorCounters().displayCount, 0);
    }
    // Destroyed: the desktop cursor is back, every handle released exactly once.
    EXPECT_EQ(HeadlessCurrentCursor(), desktop);
    EXPECT_EQ(gFramework.registeredMouse, nullptr);
    EXPECT_EQ(gFramework.busyCursor, nullptr);
    EXPECT_EQ(HeadlessLiveCursors(), 0);
    EXPECT_EQ(HeadlessCursorCounters().destroys, 3);
    EXPECT_EQ(HeadlessCursorCounters().badDestroys, 0);
}

TEST_F(MouseTest, MissingArtworkFallsBackToTheSystemCursors) {
    HeadlessSetCursorResourcesAvailable(false);
    MOUSE mouse;
    EXPECT_TRUE(HeadlessCursorIsSystem(gFramework.busyCursor));
    EXPECT_EQ(HeadlessCursorNumber(gFramework.busyCursor), 32514);
    EXPECT_EQ(HeadlessCursorNumber(gFramework.handCursor), 32512);
    EXPECT_EQ(HeadlessCurrentCursor(), gFramework.busyCursor);
}

TEST_F(MouseTest, ALaterMouseReusesTheHandlesStillSet) {
    PlatformCursor hand = PlatformLoadCursorResource(103);
    gFramework.handCursor = hand;
    PlatformCursor earlierSaved = PlatformLoadSystemCursor(32512);
    gFramework.savedCursor = earlierSaved;
    const int loadsBefore = HeadlessCursorCounters().resourceLoads;
    MOUSE mouse;
    EXPECT_EQ(gFramework.handCursor, hand);
    EXPECT_EQ(HeadlessCursorCounters().resourceLoads - loadsBefore, 2);
    // The cursor from before the first MOUSE is kept, not replaced by what shows now.
    EXPECT_EQ(gFramework.savedCursor, earlierSaved);
}

TEST_F(MouseTest, SetCursorShapeHidesSetsAndShowsOnlyOnChange) {
    MOUSE mouse;
    const HeadlessCursorCounts before = HeadlessCursorCounters();
    mouse.SetCursorShape(CursorArrow);
    mouse.SetCursorShape(CursorArrow);
    const HeadlessCursorCounts& after = HeadlessCursorCounters();
    EXPECT_EQ(after.hideCalls - before.hideCalls, 1);
    EXPECT_EQ(after.showCalls - before.showCalls, 1);
    EXPECT_EQ(after.setCalls - before.setCalls, 1);
    EXPECT_EQ(CurrentCursorNumber(), 101);
    mouse.SetCursorShape(CursorHand);
    EXPECT_EQ(CurrentCursorNumber(), 103);
    EXPECT_EQ(HeadlessCursorCounters().displayCount, before.displayCount);

    // A shape outside the table hides and shows but sets nothing, and RefreshCursor has nothing
    // to put back for it.
    const HeadlessCursorCounts beforeOdd = HeadlessCursorCounters();
    mouse.SetCursorShape(7);
    EXPECT_EQ(HeadlessCursorCounters().hideCalls - beforeOdd.hideCalls, 1);
    EXPECT_EQ(HeadlessCursorCounters().setCalls, beforeOdd.setCalls);
    EXPECT_EQ(CurrentCursorNumber(), 103);
    PlatformSetCursor(HeadlessDesktopCursor());
    mouse.RefreshCursor();
    EXPECT_EQ(HeadlessCurrentCursor(), HeadlessDesktopCursor());
}

TEST_F(MouseTest, RefreshCursorPutsTheShapeBackOnlyWhenAnotherShows) {
    MOUSE mouse;
    mouse.SetCursorShape(CursorArrow);
    const HeadlessCursorCounts before = HeadlessCursorCounters();
    mouse.RefreshCursor();
    EXPECT_EQ(HeadlessCursorCounters().setCalls, before.setCalls);
    EXPECT_EQ(HeadlessCursorCounters().hideCalls, before.hideCalls);

    // Something else (the system, over the window's edge) changed the cursor.
    PlatformSetCursor(HeadlessDesktopCursor());
    const HeadlessCursorCounts changed = HeadlessCursorCounters();
    mouse.RefreshCursor();
    EXPECT_EQ(CurrentCursorNumber(), 101);
    EXPECT_EQ(HeadlessCursorCounters().hideCalls - changed.hideCalls, 1);
    EXPECT_EQ(HeadlessCursorCounters().showCalls - changed.showCalls, 1);
    EXPECT_EQ(HeadlessCursorCounters().displayCount, changed.displayCount);
}

TEST_F(MouseTest, PointerMovesThroughTheWindowProcedureRefreshTheCursor) {
    MOUSE mouse;
    mouse.SetCursorShape(CursorHand);
    PlatformSetCursor(HeadlessDesktopCursor());
    MainWindowProc(WindowMessageMouseMove, 0, PackPointParam(12, 34));
    EXPECT_EQ(CurrentCursorNumber(), 103);
    int16_t x = 0, y = 0;
    mouse.GetMousePosition(x, y);
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 34);
}

TEST_F(MouseTest, ClearButtonsReleasesLeftAndRightButKeepsTheMiddleButton) {
    MOUSE mouse;
    gFramework.leftButton = 1;
    gFramework.rightButton = 1;
    gFramework.middleButton = 1;
    mouse.ClearButtons();
    EXPECT_EQ(gFramework.leftButton, 0);
    EXPECT_EQ(gFramework.rightButton, 0);
    EXPECT_EQ(gFramework.middleButton, 1);
}

TEST_F(MouseTest, WheelNotchesAreMinusTheDeltaOver120TruncatedTowardZero) {
    MOUSE mouse;
    const struct {
        int32_t delta;
        int32_t notches;
    } rows[] = {{240, -2}, {-120, 1}, {100, 0}, {-100, 0}, {119, 0}, {121, -1}, {-359, 2}, {0, 0}};
    for (const auto& row : rows) {
        gFramework.wheelDelta = row.delta;
        EXPECT_EQ(mouse.GetWheelNotches(), row.notches) << row.delta;
    }
    mouse.SetWheelNotches(3);
    EXPECT_EQ(gFramework.wheelDelta, -360);
    // Two notches away from the user, one back: the wheel stands one notch away (-1).
    gFramework.wheelDelta = 0;
    const uintptr_t away = static_cast<uintptr_t>(static_cast<uint16_t>(120)) << 16;
    const uintptr_t toward = static_cast<uintptr_t>(static_cast<uint16_t>(-120)) << 16;
    for (uintptr_t delta : {away, away, toward}) MainWindowProc(WindowMessageMouseWheel, delta, 0);
    EXPECT_EQ(gFramework.wheelDelta, 120);
    EXPECT_EQ(mouse.GetWheelNotches(), -1);
}

TEST_F(MouseTest, PointerAndButtonsAreRecordedWithoutAMouseAndReadWithoutClearing) {
    ASSERT_EQ(gFramework.registeredMouse, nullptr);
    MainWindowProc(WindowMessageMouseMove, 0, PackPointParam(200, 100));
    MainWindowProc(WindowMessageLeftButtonDown, 0, PackPointParam(200, 100));
    MainWindowProc(WindowMessageMiddleButtonDown, 0, PackPointParam(200, 100));
    MOUSE mouse;
    for (int pass = 0; pass < 2; ++pass) {
        int16_t x = 0, y = 0;
        uint8_t left = 9, right = 9, middle = 9;
        mouse.GetMousePosition(x, y);
        EXPECT_EQ(x, 200);
        EXPECT_EQ(y, 100);
        mouse.GetAllButtons(left, right, middle);
        EXPECT_EQ(left, 1);
        EXPECT_EQ(right, 0);
        EXPECT_EQ(middle, 1);
        left = right = 9;
        mouse.GetLeftRightButtons(left, right);
        EXPECT_EQ(left + right, 1);
    }
}

#ifndef _WIN32
TEST_F(MouseTest, ASecondMouseShowsAnErrorAndEndsTheProcessWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    MOUSE first;
    EXPECT_EXIT(
        {
            std::atexit(PrintRecordedMessageBoxes);
            MOUSE second;
        },
        testing::ExitedWithCode(255), "\\[Error\\] Second MOUSE class declared\\.");
    EXPECT_EQ(gFramework.registeredMouse, &first);
}
#endif

