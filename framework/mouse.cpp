// mouse.cpp: the MOUSE device: cursor shapes through the platform's cursor functions
// (platform/platform_display.h) and queries of the pointer fields of gFramework.
#include "framework/mouse.h"

#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "platform/platform_display.h"

// The handle that shows a shape, or null for a value that is no shape.
static PlatformCursor CursorForShape(int32_t shape) {
    switch (shape) {
    case CursorArrow: return gFramework.arrowCursor;
    case CursorBusy: return gFramework.busyCursor;
    case CursorHand: return gFramework.handCursor;
    default: return nullptr;
    }
}

static void LoadFromResourceIfMissing(PlatformCursor& cursor, int resourceId) {
    if (cursor == nullptr) cursor = PlatformLoadCursorResource(resourceId);
}

static void LoadSystemIfMissing(PlatformCursor& cursor, int systemId) {
    if (cursor == nullptr) cursor = PlatformLoadSystemCursor(systemId);
}

static void ReleaseCursor(PlatformCursor& cursor) {
    if (cursor != nullptr) PlatformDestroyCursor(cursor);
    cursor = nullptr;
}

MOUSE::MOUSE() : shape(-1) {
    RegisterSingleInstance(gFramework.registeredMouse, this, "Second MOUSE class declared.");
    if (gFramework.savedCursor == nullptr) gFramework.savedCursor = PlatformGetCursor();
    // The program's own artwork first; the system's cursors only for what it could not give.
    LoadFromResourceIfMissing(gFramework.busyCursor, CursorResourceBusy);
    LoadFromResourceIfMissing(gFramework.arrowCursor, CursorResourceArrow);
    LoadFromResourceIfMissing(gFramework.handCursor, CursorResourceHand);
    LoadSystemIfMissing(gFramework.busyCursor, SystemCursorWait);
    LoadSystemIfMissing(gFramework.handCursor, SystemCursorArrow);
    LoadSystemIfMissing(gFramework.arrowCursor, SystemCursorArrow);
    shape = -1;
    SetCursorShape(CursorBusy);
}

MOUSE::~MOUSE() {
    if (gFramework.savedCursor != nullptr) {
        PlatformSetCursor(gFramework.savedCursor);
        gFramework.savedCursor = nullptr;
    }
    ReleaseCursor(gFramework.busyCursor);
    ReleaseCursor(gFramework.arrowCursor);
    ReleaseCursor(gFramework.handCursor);
    UnregisterSingleInstance(gFramework.registeredMouse, this);
}

void MOUSE::SetCursorShape(int32_t newShape) {
    if (newShape == shape) return;
    shape = newShape;
    PlatformShowCursor(false);
    if (newShape == CursorArrow || newShape == CursorBusy || newShape == CursorHand) {
        PlatformSetCursor(CursorForShape(newShape));
    }
    PlatformShowCursor(true);
}

void MOUSE::RefreshCursor() {
    if (shape != CursorArrow && shape != CursorBusy && shape != CursorHand) return;
    PlatformCursor wanted = CursorForShape(shape);
    if (PlatformGetCursor() == wanted) return;
    PlatformShowCursor(false);
    PlatformSetCursor(wanted);
    PlatformShowCursor(true);
}

void MOUSE::GetMousePosition(int16_t& x, int16_t& y) const {
    x = gFramework.mouseX;
    y = gFramework.mouseY;
}

void MOUSE::GetLeftButton(uint8_t& left) const { left = gFramework.leftButton; }

void MOUSE::GetLeftRightButtons(uint8_t& left, uint8_t& right) const {
    left = gFramework.leftButton;
    right = gFramework.rightButton;
}

void MOUSE::GetAllButtons(uint8_t& left, uint8_t& right, uint8_t& middle) const {
    left = gFramework.leftButton;
    right = gFramework.rightButton;
    middle = gFramework.middleButton;
}

void MOUSE::ClearButtons() {
    gFramework.leftButton = 0;
    gFramework.rightButton = 0;
}

int32_t MOUSE::GetWheelNotches() const {
    // C++ division truncates toward zero, which is the rule: 100 and -100 are no notch.
    return -(gFramework.wheelDelta / WheelDeltaPerNotch);
}

void MOUSE::SetWheelNotches(int32_t notches) { gFramework.wheelDelta = -notches * WheelDeltaPerNotch; }
