// sdl_present.cpp: shows the changed rectangle of the frame buffer 1:1 in the SDL window and
// paces the main loop to the display.
//
// The window surface is updated by rectangles (SDL_UpdateWindowSurfaceRects), so only the
// changed rectangle is converted and sent. A window surface has no vertical sync, so the pacing
// is a frame deadline at the display's refresh rate: PresentFrame calls PlatformPresent once per
// pass of the main loop (with an empty rectangle when nothing changed), and this is the one place
// the loop waits, so an idle wizard sleeps between frames instead of keeping a processor busy.
// Only a frame that shows nothing new waits: a frame that drew (a page,
// a pressed Button, the progress of an update) goes straight on, so an update is not slowed.
#include <algorithm>

#include "platform/platform_display.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/frame_pacing.h"

namespace {

const int kFallbackRefreshRate = 60;

// An SDL surface over the frame buffer as it is now (RGB555, rows `pitch` bytes apart).
SDL_Surface* SourceOver(const uint16_t* pixels, int pitch, int width, int height) {
    if (gSdl.source != nullptr && gSdl.sourcePixels == pixels && gSdl.sourcePitch == pitch &&
        gSdl.sourceWidth == width && gSdl.sourceHeight == height) {
        return gSdl.source;
    }
    if (gSdl.source != nullptr) SDL_FreeSurface(gSdl.source);
    gSdl.source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(pixels), width, height, 16, pitch,
                                                     SDL_PIXELFORMAT_RGB555);
    gSdl.sourcePixels = pixels;
    gSdl.sourcePitch = pitch;
    gSdl.sourceWidth = width;
    gSdl.sourceHeight = height;
    return gSdl.source;
}

// Copies the rectangle, clipped to the buffer; SDL clips it to the window surface.
void CopyRectangle(const uint16_t* pixels, int pitch, int bufferWidth, int bufferHeight, int x, int y, int width,
                   int height) {
    const int left = std::max(x, 0), top = std::max(y, 0);
    const int right = std::min(x + width, bufferWidth), bottom = std::min(y + height, bufferHeight);
    if (pixels == nullptr || right <= left || bottom <= top) return;
    SDL_Surface* target = SDL_GetWindowSurface(gSdl.window);
    SDL_Surface* source = SourceOver(pixels, pitch, bufferWidth, bufferHeight);
    if (target == nullptr || source == nullptr) return;
    SDL_Rect from{left, top, right - left, bottom - top};
    SDL_Rect to = from;
    if (SDL_BlitSurface(source, &from, target, &to) != 0 || to.w <= 0 || to.h <= 0) return;
    SDL_UpdateWindowSurfaceRects(gSdl.window, &to, 1);
}

// Waits until this frame's refresh of the display is due. (SDL_WaitEventTimeout would also wake
// on input, but its wake-up message goes through a second display connection and can reach the
// X server after the window is gone, which ends the program with an X error.)
void WaitForFrameDeadline() {
    const FramePace pace = PaceFrame(SDL_GetPerformanceCounter(), gSdl.frameDeadline, gSdl.framePeriod);
    const uint64_t milliseconds = pace.waitTicks * 1000 / SDL_GetPerformanceFrequency();
    if (milliseconds > 0) SDL_Delay(static_cast<uint32_t>(milliseconds));
    gSdl.frameDeadline = pace.nextDeadline;
}

}  // namespace

void SdlMeasureFramePeriod() {
    int refreshRate = kFallbackRefreshRate;
    SDL_DisplayMode mode;
    const int display = gSdl.window != nullptr ? SDL_GetWindowDisplayIndex(gSdl.window) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0) {
        refreshRate = mode.refresh_rate;
    }
    gSdl.framePeriod = SDL_GetPerformanceFrequency() / static_cast<uint64_t>(refreshRate);
}

void PlatformPresent(const uint16_t* frameBuffer, int pitch, int bufferWidth, int bufferHeight, int x, int y,
                     int width, int height) {
    if (gSdl.window == nullptr) return;
    if (width > 0 && height > 0) {
        CopyRectangle(frameBuffer, pitch, bufferWidth, bufferHeight, x, y, width, height);
    } else {
        WaitForFrameDeadline();
    }
}
