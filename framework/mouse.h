// mouse.h: the framework's pointer device.
//
// MOUSE is a single-instance object that owns the program's three cursor shapes and answers
// questions about the pointer, the buttons and the wheel. It receives no messages itself: the
// window procedure (framework/display.cpp) writes the pointer fields of gFramework as messages
// arrive, also while no MOUSE exists, and these operations read them. The installer makes one
// MOUSE before it opens the graphics and deletes it after closing them; the buttons
// (gfx/button.h) poll it once per frame.
//
// Cursor handles live in gFramework, not in the object, so they are loaded once for the process:
// a later MOUSE reuses every handle that is still set. The window class has no cursor of its own,
// so RefreshCursor, called on every pointer move, is what keeps the chosen shape on screen.
#pragma once

#include <cstdint>

// The pointer shapes. Any other value selects no cursor at all.
enum CursorShape : int32_t {
    CursorArrow = 0,  // cursor 101, else the system arrow
    CursorBusy = 1,   // cursor 102 (the ball), else the system hourglass
    CursorHand = 2,   // cursor 103, else the system arrow
};

// Resource and system cursor numbers the MOUSE asks the platform for.
enum : int {
    CursorResourceArrow = 101,
    CursorResourceBusy = 102,
    CursorResourceHand = 103,
    SystemCursorArrow = 32512,  // IDC_ARROW
    SystemCursorWait = 32514,   // IDC_WAIT
};

// Wheel units of one notch, as the platform reports them.
enum : int32_t { WheelDeltaPerNotch = 120 };

class MOUSE {
public:
    // Registers the single MOUSE (a second one ends the process with -1), remembers the cursor the
    // system shows, loads the missing cursors and shows the busy shape.
    MOUSE();
    // Puts the remembered cursor back, releases the three cursors and withdraws the registration.
    ~MOUSE();
    MOUSE(const MOUSE&) = delete;
    MOUSE& operator=(const MOUSE&) = delete;

    // Selects and shows a CursorShape; the same shape again changes nothing. Hides the cursor
    // around the change, so the display count is the same afterwards.
    void SetCursorShape(int32_t newShape);
    // Puts the current shape's cursor back if the system shows another one. Called by the window
    // procedure on every WM_MOUSEMOVE.
    void RefreshCursor();

    // Queries of the recorded state; none of them clears anything.
    void GetMousePosition(int16_t& x, int16_t& y) const;
    void GetLeftButton(uint8_t& left) const;
    void GetLeftRightButtons(uint8_t& left, uint8_t& right) const;
    void GetAllButtons(uint8_t& left, uint8_t& right, uint8_t& middle) const;
    // Releases the left and right buttons (the middle one keeps its state). Called by the window
    // procedure after each repaint, so a button held across a repaint must be pressed again.
    void ClearButtons();
    // Wheel position in notches: minus the summed delta over 120, truncated toward zero, so
    // turning the wheel toward the user counts up.
    int32_t GetWheelNotches() const;
    void SetWheelNotches(int32_t notches);

    int32_t shape;  // the current CursorShape; -1 until the first SetCursorShape
};
