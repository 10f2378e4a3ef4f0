// display.cpp: the display window and its presentation: the QBIO display members, the frame
// buffer, and the window procedure that turns window messages into framework state.
//
// Who calls what: the application opens and closes the graphics and retitles the window; the
// main loop's PumpMessages presents the frame; the backend delivers every message of the main
// window to MainWindowProc. The drawing code (gfx/) writes the frame buffer and grows dirtyRect.
#include <cstdlib>
#include <cstring>

#include "framework/display.h"
#include "framework/framework_state.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "framework/qbio.h"
#include "framework/window_layout.h"
#include "gfx/font.h"
#include "platform/platform_display.h"

namespace {

const int kFontSlots = 7;
// Used when the backend cannot tell the work area: large enough never to shrink the window.
const int kUnknownWorkAreaExtent = 32767;

WindowLimits StoredLimits() {
    return WindowLimits{gFramework.minWidth, gFramework.maxWidth, gFramework.minHeight, gFramework.maxHeight, 0};
}

WindowBorders StoredBorders() { return WindowBorders{gFramework.frameX, gFramework.frameY, gFramework.topBorder}; }

// Measures the work area into workAreaWidth and workAreaHeight (each one more than its extent).
void MeasureWorkArea() {
    int left = 0, top = 0, right = 0, bottom = 0;
    if (PlatformGetWorkArea(&left, &top, &right, &bottom)) {
        gFramework.workAreaWidth = static_cast<int16_t>(WorkAreaExtent(left, right));
        gFramework.workAreaHeight = static_cast<int16_t>(WorkAreaExtent(top, bottom));
    } else {
        gFramework.workAreaWidth = gFramework.workAreaHeight = kUnknownWorkAreaExtent;
    }
}

// Signed 16-bit low and high words of a message parameter.
int16_t LowWord(intptr_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF)); }
int16_t HighWord(intptr_t value) { return static_cast<int16_t>(static_cast<uint16_t>((value >> 16) & 0xFFFF)); }

// WM_SIZE: a restored or maximised window gets a new black buffer of its new client size.
void HandleSize(uintptr_t kind, intptr_t size) {
    if (gFramework.frameBuffer == nullptr) return;
    if (kind != WindowSizeRestored && kind != WindowSizeMaximized) return;
    AllocateFrameBuffer(LowWord(size), HighWord(size));
    PlatformInvalidateClient();
}

// WM_PAINT: the application redraws its page (only while the main loop runs, never re-entered);
// keys and button presses from before the repaint are dropped.
void HandlePaint() {
    PlatformBeginPaint();
    if (gFramework.paintGuard == 0 && gFramework.running == 1) {
        gFramework.paintGuard = 1;
        if (gFramework.registeredApp != nullptr) gFramework.registeredApp->Redraw();
        if (gFramework.registeredKeyboard != nullptr) gFramework.registeredKeyboard->ClearKey();
        if (gFramework.registeredMouse != nullptr) gFramework.registeredMouse->ClearButtons();
        gFramework.paintGuard = 0;
    }
    PlatformEndPaint();
}

void HandleGetMinMaxInfo(MinMaxInfo* info) {
    MeasureWorkArea();
    FillMinMaxInfo(info, StoredLimits(), PixelSize{gFramework.screenWidth, gFramework.screenHeight},
                   PixelSize{gFramework.workAreaWidth, gFramework.workAreaHeight}, StoredBorders());
}

}  // namespace

int QBIO::OpenGraphics(int16_t width, int16_t height, const char* title, uint8_t maximise, FolderPath* fontFolder,
                       int16_t minHeight, int16_t maxHeight, int16_t minWidth, int16_t maxWidth) {
    gFramework.graphicsOpening = 1;

    const WindowLimits limits =
        NormaliseWindowLimits(width, height, WindowLimits{minWidth, maxWidth, minHeight, maxHeight, maximise});
    const uint32_t style = ChooseWindowStyle(limits);
    const bool resizable = style == WindowStyleResizable;
    gFramework.frameX =
        static_cast<int16_t>(PlatformGetSystemMetric(resizable ? PlatformMetricFrameX : PlatformMetricDialogFrameX));
    gFramework.frameY =
        static_cast<int16_t>(PlatformGetSystemMetric(resizable ? PlatformMetricFrameY : PlatformMetricDialogFrameY));
    gFramework.topBorder = static_cast<int16_t>(PlatformGetSystemMetric(PlatformMetricCaption) + gFramework.frameY);
    MeasureWorkArea();

    const PixelSize workArea{gFramework.workAreaWidth, gFramework.workAreaHeight};
    const PixelSize client = FitClientSize(PixelSize{width, height}, workArea, StoredBorders());
    gFramework.screenWidth = static_cast<int16_t>(client.width);
    gFramework.screenHeight = static_cast<int16_t>(client.height);
    gFramework.minWidth = limits.minWidth;
    gFramework.minHeight = limits.minHeight;
    gFramework.maxWidth = limits.maxWidth;
    gFramework.maxHeight = limits.maxHeight;

    const PixelSize outer = OuterWindowSize(client, StoredBorders());
    const PixelPoint position = CentredWindowPosition(outer, workArea);
    gFramework.window = PlatformCreateMainWindow(title, style, position.x, position.y, outer.width, outer.height);
    if (gFramework.window == nullptr) return 1;

    PlatformShowWindow(limits.maximise != 0 ? PlatformShowMaximized : PlatformShowNormal);

    int clientWidth = 0, clientHeight = 0;
    PlatformGetClientSize(&clientWidth, &clientHeight);
    const int allocated = AllocateFrameBuffer(static_cast<int16_t>(clientWidth), static_cast<int16_t>(clientHeight));
    if (allocated != 0) return allocated;

    gFramework.graphicsOpening = 0;

    if (gFramework.fontTable == nullptr) {
        gFramework.fontTable = static_cast<Font**>(std::calloc(kFontSlots, sizeof(Font*)));
        if (gFramework.fontTable == nullptr) return 6;
        for (int slot = 0; slot < kFontSlots; ++slot) {
            if (gFramework.fontTable[slot] != nullptr) continue;
            const int loaded = LoadFont(fontFolder, slot);
            if (loaded != 0) return loaded;
        }
    }
    return 0;
}

void QBIO::CloseGraphics() {
    PlatformShowWindow(PlatformShowHide);
    if (gFramework.window != nullptr) {
        PlatformDestroyMainWindow();
        gFramework.window = nullptr;
    }
    if (gFramework.frameBuffer != nullptr) {
        std::free(gFramework.frameBuffer);
        gFramework.frameBuffer = nullptr;
    }
    if (gFramework.fontTable != nullptr) {
        for (int slot = 0; slot < kFontSlots; ++slot) {
            if (gFramework.fontTable[slot] != nullptr) FreeFont(slot);
        }
        std::free(gFramework.fontTable);
        gFramework.fontTable = nullptr;
    }
}

bool QBIO::IsGraphicsOpen() { return gFramework.graphicsOpening == 0 && gFramework.frameBuffer != nullptr; }

int16_t QBIO::GetScreenWidth() { return gFramework.screenWidth; }

int16_t QBIO::GetScreenHeight() { return gFramework.screenHeight; }

void QBIO::SetWindowTitle(const char* title) {
    if (gFramework.window != nullptr) PlatformSetWindowTitle(title);
}

// Copies the changed rectangle once, then marks nothing changed. When nothing changed the backend
// is still called, with an empty rectangle, so that a backend that paces presentation to the
// display waits once per frame even while the wizard is idle.
void QBIO::PresentFrame() {
    DirtyRect& dirty = gFramework.dirtyRect;
    const bool nothingChanged = dirty.x0 == -1 || dirty.x1 == -1 || dirty.y0 == -1 || dirty.y1 == -1;
    if (nothingChanged || gFramework.frameBuffer == nullptr) {
        if (gFramework.window != nullptr) {
            PlatformPresent(gFramework.frameBuffer, gFramework.pitch, gFramework.screenWidth, gFramework.screenHeight,
                            0, 0, 0, 0);
        }
        return;
    }
    PlatformPresent(gFramework.frameBuffer, gFramework.pitch, gFramework.screenWidth, gFramework.screenHeight,
                    dirty.x0, dirty.y0, dirty.x1 - dirty.x0 + 1, dirty.y1 - dirty.y0 + 1);
    dirty = DirtyRect{-1, -1, -1, -1};
}

int AllocateFrameBuffer(int16_t width, int16_t height) {
    if (gFramework.frameBuffer != nullptr) {
        std::free(gFramework.frameBuffer);
        gFramework.frameBuffer = nullptr;
    }
    // A negative size (a WM_SIZE word beyond 32767) cannot be had either.
    if (width < 0 || height < 0) return 2;
    int32_t pitch = 2 * width;
    if (pitch % 4 != 0) pitch += 4 - pitch % 4;
    const size_t bytes = static_cast<size_t>(height) * static_cast<size_t>(pitch);
    // At least one byte, so that an empty client area still has a buffer and stays "open".
    void* buffer = std::malloc(bytes > 0 ? bytes : 1);
    if (buffer == nullptr) return 2;
    std::memset(buffer, 0, bytes);
    gFramework.frameBuffer = static_cast<uint16_t*>(buffer);
    gFramework.pitch = pitch;
    gFramework.dirtyRect = DirtyRect{0, static_cast<int16_t>(width - 1), 0, static_cast<int16_t>(height - 1)};
    gFramework.screenWidth = width;
    gFramework.screenHeight = height;
    return 0;
}

intptr_t MainWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case WindowMessageSize:
            HandleSize(wParam, lParam);
            return 0;
        case WindowMessagePaint:
            HandlePaint();
            return 0;
        case WindowMessageClose:
            gFramework.quitRequested = 1;
            return 0;
        case WindowMessageGetMinMaxInfo:
            HandleGetMinMaxInfo(reinterpret_cast<MinMaxInfo*>(lParam));
            return 0;
        case WindowMessageKeyDown:
            gFramework.pendingKeyCode = static_cast<int32_t>(wParam);
            return 0;
        case WindowMessageChar:
            gFramework.pendingChar = static_cast<uint8_t>(wParam & 0xFF);
            return 0;
        case WindowMessageMouseMove:
            if (gFramework.registeredMouse != nullptr) gFramework.registeredMouse->RefreshCursor();
            gFramework.mouseX = LowWord(lParam);
            gFramework.mouseY = HighWord(lParam);
            return 0;
        case WindowMessageLeftButtonDown: gFramework.leftButton = 1; return 0;
        case WindowMessageLeftButtonUp: gFramework.leftButton = 0; return 0;
        case WindowMessageRightButtonDown: gFramework.rightButton = 1; return 0;
        case WindowMessageRightButtonUp: gFramework.rightButton = 0; return 0;
        case WindowMessageMiddleButtonDown: gFramework.middleButton = 1; return 0;
        case WindowMessageMiddleButtonUp: gFramework.middleButton = 0; return 0;
        case WindowMessageMouseWheel:
            gFramework.wheelDelta += HighWord(static_cast<intptr_t>(wParam));
            return 0;
        default:
            return PlatformDefaultWindowProc(message, wParam, lParam);
    }
}

PumpStep PumpStepAfter(uint32_t message) {
    switch (message) {
        case WindowMessageKeyDown: return PumpStopAfterChar;
        case WindowMessageChar:
        case WindowMessageLeftButtonDown:
        case WindowMessageLeftButtonUp:
        case WindowMessageRightButtonDown:
        case WindowMessageRightButtonUp:
        case WindowMessageMiddleButtonDown:
        case WindowMessageMiddleButtonUp: return PumpStop;
        default: return PumpContinue;
    }
}
