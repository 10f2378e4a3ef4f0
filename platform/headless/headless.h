// headless.h: the test API of the headless window backend.
//
// The headless backend implements platform/platform_display.h without any window system: the
// main window is a record in memory, presentation copies into an in-memory screen of the client
// size, message boxes and opened documents are recorded, and window messages come from a script
// that the test posts here. Every end-to-end test of the wizard drives the program through it.
// (The six cursor functions are in headless_cursor.cpp, with their own test header.)
//
// Typical use:
//     HeadlessReset();                       // fresh backend: default metrics, empty script
//     HeadlessEndFrame();                    // frame 1: nothing but the first paint
//     HeadlessPostClick(270, 120);           // frame 2: move + press; frame 3: release
//     HeadlessPostKeyPress(HeadlessKeyEnter);  // frame 4: Enter
//     HeadlessPostClose();                   // frame 5: the close button
//     RunWinMain(nullptr, "");               // the program runs until it ends
//     EXPECT_EQ(..., HeadlessScreenPixel(10, 10));
//
// Frames. The script is a queue of messages cut into frames by end-of-frame marks. Each
// PlatformPumpMessages (one per pass of the main loop) delivers the messages of one frame: those
// up to the next mark, which it consumes; when no mark is queued it delivers everything queued.
// Messages wait while no main window exists. After a frame's messages, a WM_PAINT follows when the
// client area is invalid (after the window was first shown, after PlatformInvalidateClient),
// as Windows sends WM_PAINT only once the queue is empty. The convenience posts below close
// their own frames.
//
// Default metrics (those of the worked example): caption 18, every border 3, work area
// (0, 0)-(1024, 740), so a 550 x 350 client gives a 556 x 374 window at (234, 183).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---- configuration ------------------------------------------------------------------------

// Forgets everything: the window, the script, the records, the screen, and restores the default
// metrics and work area. Call between tests. Does not touch gFramework.
void HeadlessReset();
// Sets a system metric (PlatformMetric* index: caption, dialog frame, resizable frame).
void HeadlessSetSystemMetric(int index, int value);
// Sets the work area, edges as SPI_GETWORKAREA gives them (right and bottom exclusive).
void HeadlessSetWorkArea(int left, int top, int right, int bottom);
// Makes the next window creations fail (as on a machine without a display) until set back.
void HeadlessSetWindowCreationFails(bool fails);
// The result PlatformDefaultWindowProc gives (0 unless set).
void HeadlessSetDefaultWindowProcResult(intptr_t result);

// ---- the script of messages ---------------------------------------------------------------

// Queues one message for the main window, delivered in the current frame.
void HeadlessPostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
// Ends the current frame: later messages wait for the next pump.
void HeadlessEndFrame();
// Number of messages (end-of-frame marks not counted) still queued.
int HeadlessQueuedMessageCount();

// WM_MOUSEMOVE to (x, y) in client pixels; the frame stays open.
void HeadlessPostMouseMove(int x, int y);
// A left click: move and press in one frame, release in the next; both frames closed.
void HeadlessPostClick(int x, int y);
// Virtual-key codes of the keys a test presses most.
enum : int {
    HeadlessKeyBackspace = 8,
    HeadlessKeyTab = 9,
    HeadlessKeyEnter = 13,
    HeadlessKeyEscape = 27,
    HeadlessKeySpace = 32,
    HeadlessKeyLeft = 37,
    HeadlessKeyUp = 38,
    HeadlessKeyRight = 39,
    HeadlessKeyDown = 40,
    HeadlessKeyDelete = 46,
    HeadlessKeyF1 = 112,
};
// One key press as Windows delivers it: WM_KEYDOWN (virtualKey), then the WM_CHAR that key gives
// without Shift (Backspace 8, Tab 9, Enter 13, Escape 27, Space 32, a letter key its lower-case
// letter, a digit key its digit; none for arrows, Delete, function keys), then WM_KEYUP; the frame
// is closed.
void HeadlessPostKeyPress(int virtualKey);
// Types Windows-1252 text, one character per frame (the keyboard keeps only the last key of a
// frame): WM_KEYDOWN with the key's code (a letter gives its upper-case letter, a digit itself,
// US-layout punctuation its VK_OEM code, anything else VK_PACKET 0xE7), WM_CHAR with the byte,
// WM_KEYUP.
void HeadlessPostTypeText(const char* text);
// The close button: WM_CLOSE; the frame is closed.
void HeadlessPostClose();

// ---- what the program did -----------------------------------------------------------------

struct HeadlessMessageBox {
    std::string caption;
    std::string text;
};
struct HeadlessMessage {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};
struct HeadlessRect {
    int x, y, width, height;
};

// The main window as the program made it. Outer position and size are what PlatformCreateMainWindow
// was given (a maximised window takes WM_GETMINMAXINFO's ptMaxSize); the client size follows from
// the borders of its style, and a WM_SIZE from the script sets it.
struct HeadlessWindow {
    bool exists;
    bool visible;
    bool maximised;
    uint32_t style;
    int x, y, width, height;
    int clientWidth, clientHeight;
    std::string title;  // Windows-1252, as the program gave it
};
const HeadlessWindow& HeadlessGetWindow();

// Every message box shown, in order (each answered at once, as if OK was pressed).
const std::vector<HeadlessMessageBox>& HeadlessMessageBoxes();
// Every document opened with PlatformOpenDocument, in order.
const std::vector<std::string>& HeadlessOpenedDocuments();
// Every title the window had: the one it was created with, then each PlatformSetWindowTitle.
const std::vector<std::string>& HeadlessTitles();
// Every message MainWindowProc passed on to PlatformDefaultWindowProc, in order.
const std::vector<HeadlessMessage>& HeadlessDefaultHandledMessages();
// Every rectangle PlatformPresent was asked to copy, in order, empty ones (width or height 0)
// included: PresentFrame calls it once per frame.
const std::vector<HeadlessRect>& HeadlessPresentedRects();
// Number of PlatformPumpMessages calls and of WM_PAINT messages delivered since the reset.
int HeadlessPumpCount();
int HeadlessPaintCount();

// ---- the screen ---------------------------------------------------------------------------

// The client area as last presented: clientWidth x clientHeight RGB555 pixels, top row first,
// no padding; black where nothing was presented. Resized (and cleared) with the client area.
const std::vector<uint16_t>& HeadlessScreen();
int HeadlessScreenWidth();
int HeadlessScreenHeight();
// One pixel of the screen; 0 outside it.
uint16_t HeadlessScreenPixel(int x, int y);

// True when this build can write PNG files (built with libpng).
bool HeadlessCanWritePng();
// Writes an RGB555 image (rows `pitch` bytes apart, top row first) as an 8-bit RGB PNG, each
// 5-bit channel widened by bit replication (c << 3 | c >> 2). The path is a native path. False
// when the file cannot be written, or always in a build without libpng (the Windows build).
bool WriteRgb555Png(const char* path, const uint16_t* pixels, int pitch, int width, int height);
// Writes the screen as last presented with WriteRgb555Png.
bool HeadlessSaveScreenPng(const char* path);
