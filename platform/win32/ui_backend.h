// ui_backend.h: state shared by the Win32 window backend's files (not a public API).
//
// The Win32 backend implements platform/platform_display.h with user32 and gdi32:
// ui_window.cpp (class "main", the Unicode window and its procedure, metrics, work area),
// ui_present.cpp (StretchDIBits), ui_pump.cpp (the message pump and the default procedure),
// ui_shell.cpp (message boxes, ShellExecuteA). Cursors are in ui_cursor.cpp.
#pragma once

#include <windows.h>

#include <cstdint>

struct UiBackend {
    HWND window;       // the main window, or null
    HWND dispatching;  // the window whose message is being handled now (for DefWindowProcW, BeginPaint)
    // Open BeginPaint brackets, innermost last: a paint can arrive while another is handled
    // (a message box inside Redraw dispatches messages).
    struct OpenPaint {
        HWND window;
        PAINTSTRUCT paint;
    } paints[4];
    int paintDepth;
    // Presentation pacing (ui_present.cpp), in performance-counter ticks.
    uint64_t frameDeadline;  // when the next frame may be shown; 0 = none yet
    uint64_t framePeriod;    // one refresh of the display; 0 = not measured yet
};

extern UiBackend gUi;
