// ui_cursor.cpp: the six cursor functions of platform/platform_display.h for Windows: the
// program's own cursors from its resources (platform/win32/resources.rc) and the system's,
// through the user32 cursor functions. Leaves out nothing: these are the real thing.
#include <windows.h>

#include "framework/framework_state.h"
#include "platform/platform_display.h"

static HCURSOR ToHandle(PlatformCursor cursor) { return reinterpret_cast<HCURSOR>(cursor); }
static PlatformCursor FromHandle(HCURSOR cursor) { return reinterpret_cast<PlatformCursor>(cursor); }

PlatformCursor PlatformLoadCursorResource(int id) {
    // The instance is the program's own module, as the entry received it; without one (as in
    // the tests) nothing can be found and the MOUSE falls back to the system cursors.
    HINSTANCE instance = static_cast<HINSTANCE>(gFramework.instance);
    if (instance == nullptr) return nullptr;
    return FromHandle(LoadCursorA(instance, MAKEINTRESOURCEA(id)));
}

PlatformCursor PlatformLoadSystemCursor(int id) { return FromHandle(LoadCursorA(nullptr, MAKEINTRESOURCEA(id))); }

PlatformCursor PlatformGetCursor() { return FromHandle(GetCursor()); }

void PlatformSetCursor(PlatformCursor cursor) { SetCursor(ToHandle(cursor)); }

void PlatformShowCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

void PlatformDestroyCursor(PlatformCursor cursor) { DestroyCursor(ToHandle(cursor)); }
