// framework_state.h: the framework's one static record.
//
// Every framework module keeps what it shares in gFramework: the entry and main loop
// (framework/entry.cpp), the display and its frame buffer (display.cpp), the mouse (mouse.cpp)
// and the keyboard (keyboard.cpp). It is zero at program start, except dirtyRect, which starts
// at "nothing changed" (all -1), and it is never freed.
#pragma once

#include <csetjmp>
#include <cstdint>

#include "platform/platform_display.h"

class QBIO;
class MOUSE;
class KEYBOARD;
struct Font;

// The area of the frame buffer changed since the last presentation, inclusive; all four -1 means
// nothing to present. Grown only by ClipRect (gfx/draw.h), consumed by PresentFrame.
struct DirtyRect {
    int16_t x0, x1, y0, y1;
};

struct FrameworkState {
    // Entry and main loop.
    void* instance;               // what the platform start-up handed to the entry
    const char* commandLine;      // the arguments without the program name; not copied
    QBIO* application;            // what CreateApplication returned; may be null
    QBIO* registeredApp;          // the registered QBIO, or null
    uint8_t running;              // 1 while the main loop is active
    uint8_t quitRequested;        // set by WM_CLOSE; never cleared
    std::jmp_buf fatalJump;       // where AbortApplication jumps back to
    int exitCode;                 // what RunWinMain returns: 0, or 1 after a failed pack

    // Display window and presentation.
    PlatformWindow window;
    uint16_t* frameBuffer;        // screenHeight rows of pitch bytes, top row first, RGB555
    int32_t pitch;                // bytes per row: 2 x width raised to a multiple of 4
    int16_t screenWidth;
    int16_t screenHeight;
    DirtyRect dirtyRect;
    Font** fontTable;             // 7 slots, each null or owning a Font
    uint8_t graphicsOpening;      // 1 from the start of OpenGraphics until the buffer exists
    uint8_t paintGuard;           // 1 while WM_PAINT runs Redraw
    int16_t frameX, frameY, topBorder;
    int16_t workAreaWidth, workAreaHeight;
    int16_t minWidth, minHeight, maxWidth, maxHeight;

    // Mouse.
    MOUSE* registeredMouse;
    PlatformCursor savedCursor;
    PlatformCursor arrowCursor, busyCursor, handCursor;
    int16_t mouseX, mouseY;
    uint8_t leftButton, rightButton, middleButton;
    int32_t wheelDelta;

    // Keyboard.
    KEYBOARD* registeredKeyboard;
    uint8_t pendingChar;
    int32_t pendingKeyCode;
};

extern FrameworkState gFramework;
