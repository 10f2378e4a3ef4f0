// sdl_cursor.cpp: the six cursor functions of platform/platform_display.h for SDL2. The
// program's own cursors are colour cursors made from the same pixel art as the Windows cursor
// files (data/artwork/cursor_pixels.h); the system cursors are SDL's. A PlatformCursor is the
// SDL_Cursor itself. Leaves out: hiding the cursor by making null current (SetCursor(NULL) on
// Windows); a null cursor changes nothing here.
#include "platform/platform_display.h"
#include "platform/sdl/sdl_backend.h"

#include "data/artwork/cursor_pixels.h"

namespace {

// ShowCursor's display count: the cursor shows while it is 0 or more.
int gDisplayCount = 0;

SDL_Cursor* ToSdl(PlatformCursor cursor) { return reinterpret_cast<SDL_Cursor*>(cursor); }
PlatformCursor FromSdl(SDL_Cursor* cursor) { return reinterpret_cast<PlatformCursor>(cursor); }

const CursorPixels* ArtworkFor(int id) {
    for (const CursorPixels& cursor : kCursorPixels) {
        if (cursor.resourceId == id) return &cursor;
    }
    return nullptr;
}

// On X11, SDL's accelerated window surface replaces the window's X window when it is first
// used, and SDL then goes on putting cursors on the old one: the program's cursor would not
// show until the pointer left and re-entered the window. The plain window surface keeps its
// X window. Asked for at the lowest priority, so the environment or the window code can still
// choose otherwise; the MOUSE loads its cursors before any window exists.
void KeepTheWindowForCursors() {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
}

}  // namespace

PlatformCursor PlatformLoadCursorResource(int id) {
    const CursorPixels* art = ArtworkFor(id);
    KeepTheWindowForCursors();
    // Cursors need SDL's video; the MOUSE is made before the window, so this may start it.
    if (art == nullptr || !SdlVideoReady()) return nullptr;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(art->pixels), art->width,
                                                              art->height, 32, art->width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) return nullptr;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, art->hotX, art->hotY);
    SDL_FreeSurface(surface);
    return FromSdl(cursor);
}

PlatformCursor PlatformLoadSystemCursor(int id) {
    KeepTheWindowForCursors();
    if (!SdlVideoReady()) return nullptr;
    const SDL_SystemCursor shape = id == 32514 ? SDL_SYSTEM_CURSOR_WAIT : SDL_SYSTEM_CURSOR_ARROW;
    return FromSdl(SDL_CreateSystemCursor(shape));
}

PlatformCursor PlatformGetCursor() {
    if (!SdlVideoReady()) return nullptr;
    return FromSdl(SDL_GetCursor());
}

void PlatformSetCursor(PlatformCursor cursor) {
    if (cursor == nullptr || !SdlVideoReady()) return;
    SDL_SetCursor(ToSdl(cursor));
}

void PlatformShowCursor(bool show) {
    gDisplayCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) SDL_ShowCursor(gDisplayCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

void PlatformDestroyCursor(PlatformCursor cursor) {
    // SDL_FreeCursor leaves SDL's default cursor alone and looks a cursor up before freeing it,
    // so releasing one that SDL's shutdown already freed does no harm.
    if (cursor != nullptr) SDL_FreeCursor(ToSdl(cursor));
}
