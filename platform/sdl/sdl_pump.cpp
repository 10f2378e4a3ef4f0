// sdl_pump.cpp: the SDL event pump: window events become WM_SIZE, WM_PAINT and WM_CLOSE, input
// events go through TranslateSdlInputEvent (sdl_input.h), and each message reaches
// MainWindowProc at once. Never waits for an event. A pass stops after a mouse button or a key
// (PumpStepAfter, framework/display.h); the events behind it stay queued for the next frame.
#include <algorithm>

#include "framework/display.h"
#include "platform/platform_display.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_input.h"

namespace {

// WM_SIZE with the window's current client size, when the size or the state changed: a
// restore after a minimise is reported even at the same size, as Windows does.
void SendSizeIfChanged(uintptr_t kind) {
    int width = 0, height = 0;
    SDL_GetWindowSize(gSdl.window, &width, &height);
    if (kind == gSdl.reportedKind && width == gSdl.reportedWidth && height == gSdl.reportedHeight) return;
    gSdl.reportedKind = kind;
    gSdl.reportedWidth = width;
    gSdl.reportedHeight = height;
    MainWindowProc(WindowMessageSize, kind, PackPointParam(width, height));
}

void HandleWindowEvent(const SDL_WindowEvent& event) {
    if (gSdl.window == nullptr || event.windowID != SDL_GetWindowID(gSdl.window)) return;
    const bool maximised = (SDL_GetWindowFlags(gSdl.window) & SDL_WINDOW_MAXIMIZED) != 0;
    switch (event.event) {
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            SendSizeIfChanged(maximised ? WindowSizeMaximized : WindowSizeRestored);
            break;
        case SDL_WINDOWEVENT_MINIMIZED: SendSizeIfChanged(WindowSizeMinimized); break;
        case SDL_WINDOWEVENT_EXPOSED: gSdl.paintPending = true; break;
        case SDL_WINDOWEVENT_CLOSE: MainWindowProc(WindowMessageClose, 0, 0); break;
        default: break;
    }
}

// Hands the messages of one SDL event to MainWindowProc; the strongest PumpStep among them.
PumpStep DeliverEvent(const SDL_Event& event) {
    if (event.type == SDL_WINDOWEVENT) {
        HandleWindowEvent(event.window);
        return PumpContinue;
    }
    if (event.type == SDL_QUIT) {
        // The session asks the program to end (also after a signal): the close button's path.
        MainWindowProc(WindowMessageClose, 0, 0);
        return PumpContinue;
    }
    TranslatedMessage messages[SdlMaxTranslatedMessages];
    const int count = TranslateSdlInputEvent(event, messages);
    PumpStep step = PumpContinue;
    for (int i = 0; i < count; ++i) {
        MainWindowProc(messages[i].message, messages[i].wParam, messages[i].lParam);
        step = std::max(step, PumpStepAfter(messages[i].message));
    }
    return step;
}

// The text SDL makes of a key press is the event right behind the key's own.
bool NextEventIsText() {
    SDL_Event next;
    return SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 && next.type == SDL_TEXTINPUT;
}

}  // namespace

void PlatformPumpMessages() {
    if (gSdl.window == nullptr) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        PumpStep step = DeliverEvent(event);
        if (gSdl.window == nullptr) return;
        if (step == PumpStopAfterChar && NextEventIsText() &&
            SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT) == 1) {
            DeliverEvent(event);
            if (gSdl.window == nullptr) return;
        }
        if (step != PumpContinue) return;
    }
    // As on Windows, the paint comes once the queue is empty.
    if (gSdl.visible && gSdl.paintPending) MainWindowProc(WindowMessagePaint, 0, 0);
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    // The default handling of a paint validates the window; nothing else needs any here.
    if (message == WindowMessagePaint) gSdl.paintPending = false;
    return 0;
}
