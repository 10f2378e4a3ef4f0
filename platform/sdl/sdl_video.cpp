// sdl_video.cpp: the SDL backend's start-up, border metrics and work area.
//
// The window manager draws the decorations outside the client area that SDL sizes, so the
// backend reports borders and caption of 0: the outer size the display computes is the client
// size. The work area is the usable area of the first display.
#include <cstdlib>
#include <cstring>

#include "platform/platform_display.h"
#include "platform/sdl/sdl_backend.h"

SdlBackend gSdl;

namespace {

// SDL falls back to drivers that show nothing when no display can be opened; unless one was
// asked for by name (SDL_VIDEODRIVER), that counts as having no display.
bool ShowsNothing(const char* driver) {
    if (driver == nullptr) return true;
    const bool offscreen = std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    return offscreen && (requested == nullptr || std::strstr(requested, driver) == nullptr);
}

}  // namespace

bool SdlVideoReady() {
    static int state = 0;  // 0 not tried, 1 ready, -1 no display
    if (state == 0) {
        state = -1;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            if (ShowsNothing(SDL_GetCurrentVideoDriver())) {
                SDL_QuitSubSystem(SDL_INIT_VIDEO);
            } else {
                state = 1;
                std::atexit(SDL_Quit);
            }
        }
    }
    return state == 1;
}

int PlatformGetSystemMetric(int index) { return 0; }

bool PlatformGetWorkArea(int* left, int* top, int* right, int* bottom) {
    if (!SdlVideoReady()) return false;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return false;
    *left = usable.x;
    *top = usable.y;
    *right = usable.x + usable.w;
    *bottom = usable.y + usable.h;
    return true;
}
