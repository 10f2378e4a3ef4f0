// ui_present.cpp: presents the changed rectangle of the frame buffer with one StretchDIBits call
// at 1:1. The buffer already has the 16-bit RGB555 layout and the 4-byte row alignment of a
// device-independent bitmap, so it is described, not converted.
// Leaves out: pacing; the Windows program presents as fast as its loop runs.
#include "framework/window_layout.h"
#include "platform/platform_display.h"
#include "platform/win32/ui_backend.h"

void PlatformPresent(const uint16_t* frameBuffer, int pitch, int bufferWidth, int bufferHeight, int x, int y,
                     int width, int height) {
    if (gUi.window == nullptr || frameBuffer == nullptr || width <= 0 || height <= 0) return;
    HDC dc = GetDC(gUi.window);
    if (dc == nullptr) return;
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
    ReleaseDC(gUi.window, dc);
}
