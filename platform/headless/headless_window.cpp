// headless_window.cpp: the headless main window: metrics, work area, creation, showing, client
// size, painting brackets, titles, the default window procedure, message boxes and documents.
// Leaves out: cursors (headless_cursor.cpp); there is no screen but the in-memory one.
#include "framework/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/platform_display.h"

HeadlessState gHeadless;

namespace {

// The metrics and work area of the worked example.
void SetDefaultConfiguration() {
    gHeadless.caption = 18;
    gHeadless.dialogFrameX = gHeadless.dialogFrameY = 3;
    gHeadless.frameX = gHeadless.frameY = 3;
    gHeadless.workLeft = gHeadless.workTop = 0;
    gHeadless.workRight = 1024;
    gHeadless.workBottom = 740;
}

// The borders of a window of the given style, as the display computes them.
void BordersOfStyle(uint32_t style, int* frameX, int* frameY, int* topBorder) {
    const bool resizable = (style & 0x40000) != 0;  // WS_THICKFRAME
    *frameX = resizable ? gHeadless.frameX : gHeadless.dialogFrameX;
    *frameY = resizable ? gHeadless.frameY : gHeadless.dialogFrameY;
    *topBorder = gHeadless.caption + *frameY;
}

// Sets the outer rectangle and the client size that follows from it.
void PlaceWindow(int x, int y, int width, int height) {
    int frameX = 0, frameY = 0, topBorder = 0;
    BordersOfStyle(gHeadless.window.style, &frameX, &frameY, &topBorder);
    gHeadless.window.x = x;
    gHeadless.window.y = y;
    gHeadless.window.width = width;
    gHeadless.window.height = height;
    HeadlessSetClientSize(width - 2 * frameX, height - frameY - topBorder);
}

struct DefaultsAtStart {
    DefaultsAtStart() { SetDefaultConfiguration(); }
} gDefaultsAtStart;

}  // namespace

void HeadlessReset() {
    gHeadless = HeadlessState{};
    SetDefaultConfiguration();
}

void HeadlessSetSystemMetric(int index, int value) {
    switch (index) {
        case PlatformMetricCaption: gHeadless.caption = value; break;
        case PlatformMetricDialogFrameX: gHeadless.dialogFrameX = value; break;
        case PlatformMetricDialogFrameY: gHeadless.dialogFrameY = value; break;
        case PlatformMetricFrameX: gHeadless.frameX = value; break;
        case PlatformMetricFrameY: gHeadless.frameY = value; break;
        default: break;
    }
}

void HeadlessSetWorkArea(int left, int top, int right, int bottom) {
    gHeadless.workLeft = left;
    gHeadless.workTop = top;
    gHeadless.workRight = right;
    gHeadless.workBottom = bottom;
}

void HeadlessSetWindowCreationFails(bool fails) { gHeadless.creationFails = fails; }
void HeadlessSetDefaultWindowProcResult(intptr_t result) { gHeadless.defaultResult = result; }

const HeadlessWindow& HeadlessGetWindow() { return gHeadless.window; }
const std::vector<HeadlessMessageBox>& HeadlessMessageBoxes() { return gHeadless.messageBoxes; }
const std::vector<std::string>& HeadlessOpenedDocuments() { return gHeadless.openedDocuments; }
const std::vector<std::string>& HeadlessTitles() { return gHeadless.titles; }
const std::vector<HeadlessMessage>& HeadlessDefaultHandledMessages() { return gHeadless.defaultHandled; }

intptr_t HeadlessDeliver(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return MainWindowProc(message, wParam, lParam);
}

// ---- platform_display.h: window ----------------------------------------------------------

int PlatformGetSystemMetric(int index) {
    switch (index) {
        case PlatformMetricCaption: return gHeadless.caption;
        case PlatformMetricDialogFrameX: return gHeadless.dialogFrameX;
        case PlatformMetricDialogFrameY: return gHeadless.dialogFrameY;
        case PlatformMetricFrameX: return gHeadless.frameX;
        case PlatformMetricFrameY: return gHeadless.frameY;
        default: return 0;
    }
}

bool PlatformGetWorkArea(int* left, int* top, int* right, int* bottom) {
    *left = gHeadless.workLeft;
    *top = gHeadless.workTop;
    *right = gHeadless.workRight;
    *bottom = gHeadless.workBottom;
    return true;
}

PlatformWindow PlatformCreateMainWindow(const char* title, uint32_t style, int x, int y, int width, int height) {
    if (gHeadless.creationFails || gHeadless.window.exists) return nullptr;
    gHeadless.window = HeadlessWindow{};
    gHeadless.window.exists = true;
    gHeadless.window.style = style;
    gHeadless.window.title = title != nullptr ? title : "";
    gHeadless.titles.push_back(gHeadless.window.title);
    gHeadless.everShown = false;
    gHeadless.paintPending = false;
    PlaceWindow(x, y, width, height);
    // Windows asks for the size limits while it creates the window.
    MinMaxInfo limits{};
    HeadlessDeliver(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&limits));
    return reinterpret_cast<PlatformWindow>(&gHeadless.window);
}

void PlatformShowWindow(int showCommand) {
    HeadlessWindow& window = gHeadless.window;
    if (!window.exists) return;
    if (showCommand == PlatformShowHide) {
        window.visible = false;
        return;
    }
    const bool firstShow = !gHeadless.everShown;
    window.visible = true;
    gHeadless.everShown = true;
    gHeadless.paintPending = true;
    if (showCommand == PlatformShowMaximized && !window.maximised) {
        MinMaxInfo limits{};
        HeadlessDeliver(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&limits));
        window.maximised = true;
        PlaceWindow(limits.ptMaxPosition.x, limits.ptMaxPosition.y, limits.ptMaxSize.x, limits.ptMaxSize.y);
        HeadlessDeliver(WindowMessageSize, WindowSizeMaximized,
                        PackPointParam(window.clientWidth, window.clientHeight));
    } else if (firstShow) {
        HeadlessDeliver(WindowMessageSize, WindowSizeRestored, PackPointParam(window.clientWidth, window.clientHeight));
    }
}

void PlatformDestroyMainWindow() {
    if (!gHeadless.window.exists) return;
    gHeadless.window.exists = false;
    gHeadless.window.visible = false;
    gHeadless.paintPending = false;
}

bool PlatformGetClientSize(int* width, int* height) {
    if (!gHeadless.window.exists) return false;
    *width = gHeadless.window.clientWidth;
    *height = gHeadless.window.clientHeight;
    return true;
}

void PlatformInvalidateClient() {
    if (gHeadless.window.exists) gHeadless.paintPending = true;
}

void PlatformBeginPaint() { gHeadless.paintPending = false; }
void PlatformEndPaint() {}

void PlatformSetWindowTitle(const char* title) {
    if (!gHeadless.window.exists) return;
    gHeadless.window.title = title != nullptr ? title : "";
    gHeadless.titles.push_back(gHeadless.window.title);
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    gHeadless.defaultHandled.push_back(HeadlessMessage{message, wParam, lParam});
    // The default handling of WM_PAINT validates the window, as DefWindowProc's BeginPaint does.
    if (message == WindowMessagePaint) gHeadless.paintPending = false;
    return gHeadless.defaultResult;
}

// ---- platform_display.h: message box and shell ------------------------------------------

void PlatformShowMessageBox(const char* caption, const char* text) {
    gHeadless.messageBoxes.push_back(HeadlessMessageBox{caption != nullptr ? caption : "", text != nullptr ? text : ""});
}

// Kept with the message boxes, so that a test sees the usage or the fault as a person would.
void PlatformShowCommandLineText(const char* caption, const char* text, bool) { PlatformShowMessageBox(caption, text); }

void PlatformOpenDocument(const char* path) { gHeadless.openedDocuments.push_back(path != nullptr ? path : ""); }
