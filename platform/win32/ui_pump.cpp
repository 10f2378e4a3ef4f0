// ui_pump.cpp: the Win32 message pump and the default window procedure for what MainWindowProc
// does not handle. One pass hands over the waiting messages without waiting for new ones, and
// stops after a mouse button or a key (PumpStepAfter, framework/display.h): the messages behind
// it stay in the thread's queue for the next frame.
#include "framework/display.h"
#include "platform/platform_display.h"
#include "platform/win32/ui_backend.h"

void PlatformPumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;  // the program ends through its own loop
        TranslateMessage(&message);
        DispatchMessageW(&message);
        const PumpStep step = PumpStepAfter(message.message);
        // TranslateMessage has just posted the key's WM_CHAR, if it makes one: it is the only
        // character message waiting, since the next key is not translated yet.
        if (step == PumpStopAfterChar && PeekMessageW(&message, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        if (step != PumpContinue) return;
    }
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const HWND window = gUi.dispatching != nullptr ? gUi.dispatching : gUi.window;
    if (window == nullptr) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}
