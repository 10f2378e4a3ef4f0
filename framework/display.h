// display.h: the display window's free functions, the window procedure and the window messages.
//
// The QBIO display members (OpenGraphics, CloseGraphics, IsGraphicsOpen, GetScreenWidth,
// GetScreenHeight, SetWindowTitle, PresentFrame) are declared in framework/qbio.h and implemented
// in display.cpp with these. Every backend hands each window message to MainWindowProc, which
// turns it into framework state (gFramework) and passes what it does not handle back to the
// backend's PlatformDefaultWindowProc.
#pragma once

#include <cstdint>

// Window messages with their Win32 numbers and the parameters they carry, as every backend
// delivers them.
enum WindowMessage : uint32_t {
    WindowMessageSize = 5,            // wParam: WindowSize*; lParam: client width | height << 16
    WindowMessagePaint = 15,
    WindowMessageClose = 16,
    WindowMessageGetMinMaxInfo = 36,  // lParam: MinMaxInfo*
    WindowMessageKeyDown = 256,       // wParam: virtual-key code
    WindowMessageKeyUp = 257,
    WindowMessageChar = 258,          // wParam: the character (a Windows-1252 byte)
    WindowMessageMouseMove = 512,     // lParam: x | y << 16 (client pixels, signed 16-bit each)
    WindowMessageLeftButtonDown = 513,
    WindowMessageLeftButtonUp = 514,
    WindowMessageRightButtonDown = 516,
    WindowMessageRightButtonUp = 517,
    WindowMessageMiddleButtonDown = 519,
    WindowMessageMiddleButtonUp = 520,
    WindowMessageMouseWheel = 522,    // wParam high word: signed delta, 120 per notch away from the user
};

// The wParam of WindowMessageSize.
enum WindowSize : uintptr_t { WindowSizeRestored = 0, WindowSizeMinimized = 1, WindowSizeMaximized = 2 };

// The record WM_GETMINMAXINFO's lParam points to, laid out as Win32's MINMAXINFO: five points of
// two signed 32-bit values. Sizes and positions are of the outer window.
struct MinMaxPoint {
    int32_t x;
    int32_t y;
};
struct MinMaxInfo {
    MinMaxPoint ptReserved;  // left unchanged
    MinMaxPoint ptMaxSize;
    MinMaxPoint ptMaxPosition;
    MinMaxPoint ptMinTrackSize;
    MinMaxPoint ptMaxTrackSize;
};
static_assert(sizeof(MinMaxInfo) == 40, "MinMaxInfo must keep the layout of MINMAXINFO");

// Replaces the frame buffer by a zeroed one of w x h pixels (rows 2 x w bytes raised to a multiple
// of 4) and marks it all changed. Called by OpenGraphics and on WM_SIZE. 0, or 2 when the memory
// cannot be had (no buffer remains then).
int AllocateFrameBuffer(int16_t width, int16_t height);

// The window procedure of class "main". Called by the backend for every message of the main
// window; returns 0 for the messages it handles, else PlatformDefaultWindowProc's result.
intptr_t MainWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

// How far one pass of a backend's message pump goes. The application polls one state of each
// mouse button and one pending key per frame, so a pass stops after a mouse button going down or
// up and after a key (a WM_KEYDOWN together with the WM_CHAR made from it, or a WM_CHAR alone);
// what follows waits in the system's queue for the next frame. A tap's press and release that
// arrive together thus still make one click, and keys typed with no pause all arrive.
enum PumpStep { PumpContinue, PumpStopAfterChar, PumpStop };
// Called by every backend's pump after handing `message` to MainWindowProc. PumpStopAfterChar:
// take the character message that directly follows, if there is one, then stop.
PumpStep PumpStepAfter(uint32_t message);

// Builds a mouse message's lParam from client coordinates (low word x, high word y).
inline intptr_t PackPointParam(int x, int y) {
    return static_cast<intptr_t>((static_cast<uint32_t>(x) & 0xFFFF) | ((static_cast<uint32_t>(y) & 0xFFFF) << 16));
}
