// ui_present.cpp: presents the changed rectangle of the frame buffer with one StretchDIBits call
// at 1:1. The buffer already has the 16-bit RGB555 layout and the 4-byte row alignment of a
// device-independent bitmap, so it is described, not converted.
// Paces the main loop to the display: after presenting it waits for the next refresh, or until
// input arrives, whichever comes first, so an idle wizard leaves the processor alone and a click
// or a key is still handled at once. Only a frame that shows nothing new waits: a frame that drew
// (a page, a pressed Button, the progress of an update) is shown and the loop goes straight on,
// so an update runs as fast as its files can be written.
#include "framework/window_layout.h"
#include "platform/frame_pacing.h"
#include "platform/platform_display.h"
#include "platform/win32/ui_backend.h"

namespace {

const int kFallbackRefreshRate = 60;

uint64_t PerformanceCounter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<uint64_t>(now.QuadPart);
}

uint64_t PerformanceFrequency() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(frequency.QuadPart);
}

// The ticks of one refresh of the display the window is on (VREFRESH gives 0 or 1 for "the
// hardware's default", which then counts as 60 Hz).
uint64_t MeasureFramePeriod(HDC dc) {
    int refreshRate = GetDeviceCaps(dc, VREFRESH);
    if (refreshRate <= 1) refreshRate = kFallbackRefreshRate;
    return PerformanceFrequency() / static_cast<uint64_t>(refreshRate);
}

// Waits until this frame's refresh is due, or until input arrives (also input that was already
// waiting, which a pass of the pump left queued): the deadline then still stands for the next pass.
void WaitForInputOrFrameDeadline() {
    const FramePace pace = PaceFrame(PerformanceCounter(), gUi.frameDeadline, gUi.framePeriod);
    const uint64_t milliseconds = pace.waitTicks * 1000 / PerformanceFrequency();
    if (milliseconds > 0 && MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(milliseconds), QS_ALLINPUT,
                                                        MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT) {
        return;
    }
    gUi.frameDeadline = pace.nextDeadline;
}

// Copies the rectangle to the client area.
void CopyRectangle(HDC dc, const uint16_t* frameBuffer, int bufferWidth, int bufferHeight, int x, int y, int width,
                   int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bufferWidth;
    info.bmiHeader.biHeight = -bufferHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 16;
    info.bmiHeader.biCompression = BI_RGB;
    SetMapMode(dc, MM_TEXT);
    SetStretchBltMode(dc, COLORONCOLOR);
    // The source origin of a top-down image is still counted from its bottom row.
    StretchDIBits(dc, x, y, width, height, x, BottomUpSourceY(bufferHeight, y, height), width, height, frameBuffer,
                  &info, DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

// Called by PresentFrame once per pass of the main loop, with an empty rectangle when nothing
// changed: it is the loop's one wait.
void PlatformPresent(const uint16_t* frameBuffer, int pitch, int bufferWidth, int bufferHeight, int x, int y,
                     int width, int height) {
    (void)pitch;  // the buffer's rows already have the bitmap's 4-byte alignment
    if (gUi.window == nullptr) return;
    HDC dc = GetDC(gUi.window);
    if (dc == nullptr) return;
    if (gUi.framePeriod == 0) gUi.framePeriod = MeasureFramePeriod(dc);
    const bool drew = frameBuffer != nullptr && width > 0 && height > 0;
    if (drew) CopyRectangle(dc, frameBuffer, bufferWidth, bufferHeight, x, y, width, height);
    ReleaseDC(gUi.window, dc);
    if (!drew) WaitForInputOrFrameDeadline();
}
