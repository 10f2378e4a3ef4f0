// headless_cursor.h: what the headless backend's cursor functions were asked, for tests.
//
// The headless cursors are fake handles that stand for a resource number (101-103) or a system
// cursor number (32512 arrow, 32514 wait). The backend keeps a ShowCursor-style display count and
// the cursor made current last; at start (and after HeadlessResetCursors) the current cursor is
// the "desktop" cursor, a handle that no loader returns and that stands for the cursor the
// system showed before the program chose one.
#pragma once

#include "platform/platform_display.h"

struct HeadlessCursorCounts {
    int displayCount;  // +1 per show, -1 per hide; the cursor is visible while it is >= 0
    int showCalls;
    int hideCalls;
    int setCalls;
    int resourceLoads;  // successful PlatformLoadCursorResource calls
    int systemLoads;    // successful PlatformLoadSystemCursor calls
    int destroys;       // handles released while live
    int badDestroys;    // releases of a handle that is not live: twice, the desktop one, or foreign
};

// Forgets every handle and count; the desktop cursor becomes current and resources load again.
// Tests call it, together with clearing the cursor fields of gFramework, before each case.
void HeadlessResetCursors();
// With false, PlatformLoadCursorResource fails as if the program carried no cursor artwork.
void HeadlessSetCursorResourcesAvailable(bool available);
const HeadlessCursorCounts& HeadlessCursorCounters();
// The cursor made current last (the desktop cursor until the first PlatformSetCursor).
PlatformCursor HeadlessCurrentCursor();
PlatformCursor HeadlessDesktopCursor();
// The number a handle stands for (101-103 or 32512/32514), 0 for the desktop cursor, -1 for null
// or a handle the backend never gave out.
int HeadlessCursorNumber(PlatformCursor cursor);
// True for a handle from PlatformLoadSystemCursor.
bool HeadlessCursorIsSystem(PlatformCursor cursor);
// Handles loaded and not yet released.
int HeadlessLiveCursors();
