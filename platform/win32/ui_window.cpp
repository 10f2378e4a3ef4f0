// ui_window.cpp: the Win32 main window: the Unicode window class "main" with icon 100 and the
// window procedure that hands every message to MainWindowProc, creation, showing, client size,
// repaint requests, painting brackets, titles, border metrics and the work area.
//
// The window is a Unicode window so that Windows-1252 titles show correctly whatever the
// system's code page: titles are converted to UTF-16, and a typed character (WM_CHAR, UTF-16 in
// a Unicode window) reaches the framework as its Windows-1252 byte, or 0 when it has none.
// Leaves out: a class cursor (the MOUSE sets the cursor itself) and a background brush (the
// frame buffer covers the whole client area).
#include <string>

#include "framework/display.h"
#include "framework/framework_state.h"
#include "platform/platform_display.h"
#include "platform/text_convert.h"
#include "platform/win32/ui_backend.h"

UiBackend gUi;

namespace {

const wchar_t kClassName[] = L"main";
const int kIconResource = 100;

HINSTANCE ProgramInstance() {
    return gFramework.instance != nullptr ? static_cast<HINSTANCE>(gFramework.instance) : GetModuleHandleW(nullptr);
}

std::wstring ToWide(const char* text) {
    const std::u16string utf16 = Windows1252ToUtf16(text);
    return std::wstring(utf16.begin(), utf16.end());
}

LRESULT CALLBACK UiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND previous = gUi.dispatching;
    gUi.dispatching = window;
    if (message == WM_CHAR) wParam = Utf16UnitToWindows1252(static_cast<uint16_t>(wParam));
    const LRESULT result = MainWindowProc(message, wParam, lParam);
    gUi.dispatching = previous;
    return result;
}

// Registers the class once; a failure shows up as a failed window creation.
void RegisterMainClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = UiWindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(kIconResource));  // null is fine
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassW(&windowClass) != 0;
}

}  // namespace

int PlatformGetSystemMetric(int index) { return GetSystemMetrics(index); }

bool PlatformGetWorkArea(int* left, int* top, int* right, int* bottom) {
    RECT area;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) return false;
    *left = area.left;
    *top = area.top;
    *right = area.right;
    *bottom = area.bottom;
    return true;
}

PlatformWindow PlatformCreateMainWindow(const char* title, uint32_t style, int x, int y, int width, int height) {
    RegisterMainClass();
    const std::wstring wideTitle = ToWide(title);
    gUi.window = CreateWindowExW(0, kClassName, wideTitle.c_str(), style, x, y, width, height, nullptr, nullptr,
                                 ProgramInstance(), nullptr);
    return reinterpret_cast<PlatformWindow>(gUi.window);
}

void PlatformShowWindow(int showCommand) {
    // PlatformShow* are the SW_ values themselves (SW_HIDE, SW_MAXIMIZE, SW_SHOW).
    if (gUi.window != nullptr) ShowWindow(gUi.window, showCommand);
}

void PlatformDestroyMainWindow() {
    if (gUi.window == nullptr) return;
    DestroyWindow(gUi.window);
    gUi.window = nullptr;
}

bool PlatformGetClientSize(int* width, int* height) {
    RECT client;
    if (gUi.window == nullptr || !GetClientRect(gUi.window, &client)) return false;
    *width = client.right;
    *height = client.bottom;
    return true;
}

void PlatformInvalidateClient() {
    RECT client;
    if (gUi.window != nullptr && GetClientRect(gUi.window, &client)) InvalidateRect(gUi.window, &client, FALSE);
}

void PlatformBeginPaint() {
    const HWND window = gUi.dispatching != nullptr ? gUi.dispatching : gUi.window;
    if (window == nullptr || gUi.paintDepth == 4) return;
    UiBackend::OpenPaint& open = gUi.paints[gUi.paintDepth];
    open.window = window;
    if (BeginPaint(window, &open.paint) != nullptr) ++gUi.paintDepth;
}

void PlatformEndPaint() {
    if (gUi.paintDepth == 0) return;
    --gUi.paintDepth;
    EndPaint(gUi.paints[gUi.paintDepth].window, &gUi.paints[gUi.paintDepth].paint);
}

void PlatformSetWindowTitle(const char* title) {
    if (gUi.window != nullptr) SetWindowTextW(gUi.window, ToWide(title).c_str());
}
