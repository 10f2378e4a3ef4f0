// ui_pump.cpp: the Win32 message pump (every waiting message, never waiting for a new one) and
// the default window procedure for what MainWindowProc does not handle.
#include "platform/platform_display.h"
#include "platform/win32/ui_backend.h"

void PlatformPumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        // GetMessageW returns 0 for WM_QUIT, which is removed and dropped.
        if (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

intptr_t PlatformDefaultWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const HWND window = gUi.dispatching != nullptr ? gUi.dispatching : gUi.window;
    if (window == nullptr) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}
