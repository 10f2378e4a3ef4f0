// sdl_window.cpp: the SDL main window: creation (fixed size unless the display asks for a
// resizable style), showing, client size, repaint requests and titles.
// Leaves out: the window icon (the program carries it only as a Windows resource).
#include <string>

#include "framework/display.h"
#include "platform/platform_display.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/text_convert.h"

namespace {

const uint32_t kThickFrameStyle = 0x40000;  // WS_THICKFRAME: part of the resizable style

// Applies the size limits the window procedure gives (WM_GETMINMAXINFO) to a resizable window.
void ApplyTrackLimits() {
    MinMaxInfo limits{};
    MainWindowProc(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&limits));
    if (limits.ptMinTrackSize.x > 0 && limits.ptMinTrackSize.y > 0) {
        SDL_SetWindowMinimumSize(gSdl.window, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y);
    }
    if (limits.ptMaxTrackSize.x > 0 && limits.ptMaxTrackSize.y > 0) {
        SDL_SetWindowMaximumSize(gSdl.window, limits.ptMaxTrackSize.x, limits.ptMaxTrackSize.y);
    }
}

}  // namespace

PlatformWindow PlatformCreateMainWindow(const char* title, uint32_t style, int x, int y, int width, int height) {
    if (gSdl.window != nullptr || width <= 0 || height <= 0 || !SdlVideoReady()) return nullptr;
    const bool resizable = (style & kThickFrameStyle) != 0;
    const std::string utf8 = Windows1252ToUtf8(title);
    gSdl.window = SDL_CreateWindow(utf8.c_str(), x, y, width, height,
                                   SDL_WINDOW_HIDDEN | (resizable ? SDL_WINDOW_RESIZABLE : 0));
    if (gSdl.window == nullptr) return nullptr;
    if (resizable) ApplyTrackLimits();
    gSdl.visible = false;
    gSdl.paintPending = false;
    gSdl.frameDeadline = 0;
    gSdl.reportedKind = WindowSizeRestored;
    SDL_GetWindowSize(gSdl.window, &gSdl.reportedWidth, &gSdl.reportedHeight);
    SdlMeasureFramePeriod();
    SDL_StartTextInput();
    return reinterpret_cast<PlatformWindow>(gSdl.window);
}

void PlatformShowWindow(int showCommand) {
    if (gSdl.window == nullptr) return;
    if (showCommand == PlatformShowHide) {
        SDL_HideWindow(gSdl.window);
        gSdl.visible = false;
        return;
    }
    SDL_ShowWindow(gSdl.window);
    if (showCommand == PlatformShowMaximized) SDL_MaximizeWindow(gSdl.window);
    gSdl.visible = true;
    // A newly shown window is painted once, as on Windows, whether or not an expose arrives.
    gSdl.paintPending = true;
}

void PlatformDestroyMainWindow() {
    if (gSdl.window == nullptr) return;
    if (gSdl.source != nullptr) SDL_FreeSurface(gSdl.source);
    SDL_DestroyWindow(gSdl.window);
    gSdl = SdlBackend{};
}

bool PlatformGetClientSize(int* width, int* height) {
    if (gSdl.window == nullptr) return false;
    SDL_GetWindowSize(gSdl.window, width, height);
    return true;
}

void PlatformInvalidateClient() {
    if (gSdl.window != nullptr) gSdl.paintPending = true;
}

void PlatformBeginPaint() { gSdl.paintPending = false; }
void PlatformEndPaint() {}

void PlatformSetWindowTitle(const char* title) {
    if (gSdl.window == nullptr) return;
    SDL_SetWindowTitle(gSdl.window, Windows1252ToUtf8(title).c_str());
}
