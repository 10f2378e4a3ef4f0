// platform_display.h: the window half of the platform contract.
//
// The portable framework (framework/display.cpp, mouse.cpp, entry.cpp) calls these functions and
// nothing else of the windowing system. Each backend implements all of them in one folder:
//   platform/win32/ui_*.cpp     the real Win32 window, GDI presentation, cursors, message boxes
//   platform/sdl/*.cpp          an SDL2 window on Linux and other desktops
//   platform/headless/*.cpp     an in-memory window with scripted messages (tests and the demo)
//
// Conventions shared by every backend:
// - There is at most one main window; functions act on it and take no window argument.
// - Messages reach the program as Win32 messages with their Win32 numbers and parameters
//   (WM_SIZE 5, WM_PAINT 15, WM_CLOSE 16, WM_GETMINMAXINFO 36, WM_KEYDOWN 256, WM_CHAR 258,
//   WM_MOUSEMOVE 512 ... WM_MOUSEWHEEL 522). The backend hands each one to MainWindowProc
//   (framework/display.h) and, for what that does not handle, MainWindowProc calls back into
//   PlatformDefaultWindowProc.
// - Text is Windows-1252 bytes; a backend converts it to what its system needs.
// - A result of false or null means the service failed; nothing here shows a message of its own.
#pragma once

#include <cstdint>

// An opaque cursor of the backend; null is "no cursor".
typedef struct PlatformCursorTag* PlatformCursor;
// An opaque window handle of the backend; null is "no window".
typedef struct PlatformWindowTag* PlatformWindow;

// Win32 numbers the portable code passes through this interface.
enum : int {
    PlatformMetricCaption = 4,     // SM_CYCAPTION
    PlatformMetricDialogFrameX = 7,  // SM_CXDLGFRAME
    PlatformMetricDialogFrameY = 8,  // SM_CYDLGFRAME
    PlatformMetricFrameX = 32,     // SM_CXFRAME
    PlatformMetricFrameY = 33,     // SM_CYFRAME
};
enum : int { PlatformShowHide = 0, PlatformShowMaximized = 3, PlatformShowNormal = 5 };

// ---- window -------------------------------------------------------------------------------

// Returns the system metric of the given SM_ index (border and caption sizes in pixels).
int PlatformGetSystemMetric(int index);
// Gets the desktop work area (right and bottom exclusive, as SPI_GETWORKAREA gives them).
bool PlatformGetWorkArea(int* left, int* top, int* right, int* bottom);
// Registers the class "main" (icon resource 100, no cursor, no background) when needed and creates
// the main window with the given caption, style bits (0xCF0000 or 0xCA0000), outer position and
// outer size. Messages sent during creation go to MainWindowProc. Null when it fails.
PlatformWindow PlatformCreateMainWindow(const char* title, uint32_t style, int x, int y, int width, int height);
// Shows, maximises or hides the main window (PlatformShow*); nothing when there is none.
void PlatformShowWindow(int showCommand);
// Destroys the main window; nothing when there is none.
void PlatformDestroyMainWindow();
// Gets the client size of the main window; false when there is none.
bool PlatformGetClientSize(int* width, int* height);
// Marks the whole client area for repainting, without erasing: a WM_PAINT follows.
void PlatformInvalidateClient();
// Bracket the handling of WM_PAINT (BeginPaint/EndPaint): validate the area being painted.
void PlatformBeginPaint();
void PlatformEndPaint();
// Sets the caption of the main window (Windows-1252 text).
void PlatformSetWindowTitle(const char* title);
// Copies the rectangle (x, y, width, height) of a top-down RGB555 frame buffer 1:1 to the same
// place in the client area. pitch is in bytes. Called by PresentFrame once per frame at most;
// a backend that paces presentation to the display may wait here, and only here.
void PlatformPresent(const uint16_t* frameBuffer, int pitch, int bufferWidth, int bufferHeight,
                     int x, int y, int width, int height);
// Dispatches every waiting message to MainWindowProc without waiting for new ones.
void PlatformPumpMessages();
// The default handling of a message that MainWindowProc does not handle (DefWindowProcA).
intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

// ---- message box and shell ----------------------------------------------------------------

// Shows a modal message box with no owner and an OK button; returns when it is closed.
void PlatformShowMessageBox(const char* caption, const char* text);
// Tells the user about the command line: the usage, or (isError) what is wrong with it. Windows
// shows a message box with the caption; Linux writes the text to standard output, or to
// standard error for an error, and shows an error in a message box as well when a display is
// there. The caller keeps a VERYSILENT run's fault on standard error instead. The text is UTF-8
// (ASCII, and the words of the command line as the system gave them).
void PlatformShowCommandLineText(const char* caption, const char* text, bool isError);
// Opens a document with the program registered for it (ShellExecuteA "open"); does not wait.
void PlatformOpenDocument(const char* path);

// ---- cursors ------------------------------------------------------------------------------

// Loads cursor group `id` (101 arrow, 102 busy, 103 hand) from the program's own artwork.
PlatformCursor PlatformLoadCursorResource(int id);
// Loads a system cursor by its IDC_ number (32512 arrow, 32514 wait).
PlatformCursor PlatformLoadSystemCursor(int id);
// The cursor the system shows now, as GetCursor.
PlatformCursor PlatformGetCursor();
// Makes the cursor current, as SetCursor.
void PlatformSetCursor(PlatformCursor cursor);
// Hides (false) or shows (true) the cursor, as ShowCursor with its display count.
void PlatformShowCursor(bool show);
// Releases a cursor loaded by one of the two loaders.
void PlatformDestroyCursor(PlatformCursor cursor);
