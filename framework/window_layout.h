// window_layout.h: the size arithmetic of the main window, as pure functions.
//
// OpenGraphics uses them to fit and centre the window in the desktop work area, the window
// procedure to answer WM_GETMINMAXINFO, and the Win32 presentation for the source origin of a
// top-down image. All divisions truncate toward zero.
#pragma once

#include <cstdint>

#include "framework/display.h"

// The window styles the display chooses between (Win32 values).
enum : uint32_t {
    WindowStyleResizable = 0xCF0000,  // WS_OVERLAPPEDWINDOW
    WindowStyleFixed = 0xCA0000,      // WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
};

// The size limits of OpenGraphics (client pixels; -1 means none) and its maximise flag.
struct WindowLimits {
    int16_t minWidth;
    int16_t maxWidth;
    int16_t minHeight;
    int16_t maxHeight;
    uint8_t maximise;
};

// Border thickness around the client area: frameX left and right, frameY below, topBorder
// (caption + frameY) above.
struct WindowBorders {
    int frameX;
    int frameY;
    int topBorder;
};

struct PixelSize {
    int width;
    int height;
};
struct PixelPoint {
    int x;
    int y;
};

// Makes the limits consistent with the requested client size: a limit pair with one -1 becomes
// both -1, without any maximum the maximise flag is cleared, a minimum is lowered to the request
// and a maximum raised to it.
WindowLimits NormaliseWindowLimits(int width, int height, WindowLimits limits);

// WindowStyleResizable when a maximum width or height is given, else WindowStyleFixed.
uint32_t ChooseWindowStyle(const WindowLimits& limits);

// Width or height of the work area from its edges as SPI_GETWORKAREA gives them (the far edge
// exclusive): far - near + 1, one more than the real extent, as the window has always measured it.
int WorkAreaExtent(int nearEdge, int farEdge);

// The client size: the request, shrunk where the work area cannot hold it with its borders.
PixelSize FitClientSize(PixelSize requested, PixelSize workArea, const WindowBorders& borders);

// The outer window size of a client size.
PixelSize OuterWindowSize(PixelSize client, const WindowBorders& borders);

// The outer window's position that centres it in the work area, relative to the work area's
// origin (the origin itself is not added).
PixelPoint CentredWindowPosition(PixelSize outer, PixelSize workArea);

// Fills ptMaxSize, ptMaxPosition, ptMinTrackSize and ptMaxTrackSize for WM_GETMINMAXINFO: an axis
// with a maximum limit may be sized between its limits (plus borders) up to the work area; an
// axis without one is held at the current client size. ptReserved is left unchanged.
void FillMinMaxInfo(MinMaxInfo* info, const WindowLimits& limits, PixelSize screen, PixelSize workArea,
                    const WindowBorders& borders);

// The source row a bottom-up blit (StretchDIBits) needs so that a top-down image's rows
// y .. y + height - 1 are copied: bufferHeight - y - height.
int BottomUpSourceY(int bufferHeight, int y, int height);
