// sdl_backend.h: state and helpers shared by the SDL window backend's files (not a public API).
//
// The SDL backend implements platform/platform_display.h on SDL2: sdl_video.cpp (start-up,
// metrics, work area), sdl_window.cpp (the main window), sdl_present.cpp (presentation paced
// to the display), sdl_pump.cpp (events to window messages), sdl_shell.cpp (message boxes,
// opening documents). Cursors are in sdl_cursor.cpp, input translation in sdl_input.cpp.
#pragma once

#include <SDL.h>

#include <cstdint>

struct SdlBackend {
    SDL_Window* window;
    bool visible;
    bool paintPending;       // a WM_PAINT is due at the end of the next pump
    // The size and state the last WM_SIZE reported, so that SDL's repeated notices of an
    // unchanged window do not replace the frame buffer.
    int reportedWidth, reportedHeight;
    uintptr_t reportedKind;
    uint64_t frameDeadline;  // performance-counter time the next frame may be shown; 0 = none yet
    uint64_t framePeriod;    // performance-counter ticks per display refresh
    // Presentation source: an SDL view of the frame buffer, remade when the buffer changes.
    SDL_Surface* source;
    const uint16_t* sourcePixels;
    int sourceWidth, sourceHeight, sourcePitch;
};

extern SdlBackend gSdl;

// Starts SDL's video subsystem on first use (and arranges SDL_Quit at exit). False when there
// is no display to open; then every window service fails or does nothing.
bool SdlVideoReady();

// Measures the refresh period of the display the window is on (60 Hz when SDL cannot tell).
void SdlMeasureFramePeriod();
